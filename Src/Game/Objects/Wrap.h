#pragma once

// Brings the value into low..high by whole periods, one period a loop turn,
// so ordinary values come out exactly as by repeated adding; both bounds stay.
// A value too large for that (or not finite) is first reduced with fmod, so
// the loop always ends. When given, the follower is moved by the same turns
// (a transform that wraps with its position).
void Wrap(float& value, float low, float high, float period, float* follower = nullptr);

// The arena's side: positions wrap at plus and minus half of it.
constexpr float ArenaSize = 400.0f;
constexpr float ArenaHalf = ArenaSize / 2;

// A coordinate or difference brought into -200..200.
void WrapArena(float& value, float* follower = nullptr);
