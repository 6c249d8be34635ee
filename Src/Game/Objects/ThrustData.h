#pragma once

#include "Engine/Vector.h"

#include <memory>
#include <vector>

class DataStore;
class Texture;
class TiXmlElement;

// One exhaust stream of a ship or a shot: where its particles leave the
// carrier and how they move, in the carrier's own frame.
struct ThrustData
{
    // The defaults, with the particles' texture (the store's).
    explicit ThrustData(Texture* texture);
    // Reads a "thrust" element; its texture must exist in the store. Throws
    // the reader's Error with file and line.
    ThrustData(const TiXmlElement* element, DataStore& store);

    Texture* texture;
    Math::Vector position;
    Math::Vector speed;
    Math::Vector accel;
    // The shares of the carrier's velocity taken off the particle's velocity
    // and acceleration.
    float speedFactor = 0.0f;
    float accelFactor = 0.0f;
    // A particle's edge length, and its life in seconds.
    float size = 1.0f;
    float life = 1.0f;
};

// The streams of a ship or a shot, in reading order.
using ThrustList = std::vector<std::unique_ptr<ThrustData>>;
