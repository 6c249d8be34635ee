#include "Engine/PidController.h"

float PidController::Update(float dt)
{
    const float error = target - current;
    const float proportional = kp * error;
    integral += ki * error * dt;
    const float derivative = dt > 0 ? kd * (error - lastError) / dt : 0.0f;
    lastError = error;
    return integral + proportional + derivative;
}

PidController& PidController::operator+=(float amount)
{
    current += amount;
    return *this;
}
