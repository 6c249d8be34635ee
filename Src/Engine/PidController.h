#pragma once

// A PID regulator that drives current towards target. It never changes
// current itself: the owner applies the output of each step.
class PidController
{
public:
    PidController(float kp, float ki, float kd) : kp(kp), ki(ki), kd(kd) {}
    // A copy has the same gains and starts from rest.
    PidController(const PidController& other) : PidController(other.kp, other.ki, other.kd) {}
    PidController& operator=(const PidController&) = delete;

    // One step of dt seconds; the derivative term needs a positive step.
    float Update(float dt);

    float& Value() { return current; }
    PidController& operator+=(float amount);

    float current = 0;
    float target = 0;

private:
    float kp;
    float ki;
    float kd;
    float lastError = 0;
    float integral = 0;
};
