#pragma once

#include "Engine/RawMemVector.h"

#include <string>

// "(x, y, z)" with the components as the stream prints floats, so that tests
// can compare vectors and show them when they differ.
std::string VectorText(const Math::RawMemVector<3>& vector);
