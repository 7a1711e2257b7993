#pragma once

#include <numbers>

// The one Pi of the game, and the conversions between the degrees OpenGL takes and the radians of <cmath>.
constexpr float Pi = std::numbers::pi_v<float>;

constexpr float radians(float degrees) {
    return degrees * Pi / 180.0f;
}
constexpr float degrees(float radians) {
    return radians * 180.0f / Pi;
}
