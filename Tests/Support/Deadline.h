#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

// A point in time that a wait must not pass.
class Deadline
{
public:
    using Clock = std::chrono::steady_clock;

    explicit Deadline(std::chrono::milliseconds timeout) : end(Clock::now() + timeout) {}

    bool Passed() const { return Clock::now() >= end; }
    // The time until the deadline, zero once it has passed.
    std::chrono::milliseconds Left() const
    {
        return std::max(std::chrono::milliseconds(0),
                        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()));
    }

private:
    const Clock::time_point end;
};

// Checks the condition every interval until it holds or the deadline has
// passed; true when it held.
template <class Condition>
bool PollUntil(const Deadline& deadline, Condition condition,
               std::chrono::milliseconds interval = std::chrono::milliseconds(10))
{
    while (!condition())
    {
        if (deadline.Passed())
            return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}
