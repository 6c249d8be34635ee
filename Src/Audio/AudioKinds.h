#pragma once

// Registers the sample and music resource kinds with the store. Main thread,
// once, before any store starts its loader.
void RegisterAudioKinds();
