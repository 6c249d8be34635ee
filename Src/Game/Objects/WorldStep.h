#pragma once

#include "Engine/ObjectFactoryInterface.h"

// One fixed step of a world. Every object runs its update from the front of
// the list, and each body then meets every body before it, so each pair meets
// once, when the later one has just moved. Then the factory's flush; a body
// that joins meets every body before it at once, so that the stretch of its
// first step, from where it was made, is tested too (a fast shot crosses most
// of its path in a few steps).
void StepWorld(ObjectFactoryInterface::ObjectList& world, ObjectFactoryInterface& factory);
