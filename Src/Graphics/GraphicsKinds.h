#pragma once

// Registers the image, font and model resource kinds with the store and starts the
// image decoders. Main thread, once, before any store starts its loader.
void RegisterGraphicsKinds();
