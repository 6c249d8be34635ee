#pragma once

// Registers the image and font resource kinds with the store and starts the
// image decoders. Main thread, once, before any store starts its loader.
void RegisterGraphicsKinds();
