#pragma once

// Turning a hue by an angle, with fixed single-precision sequences instead
// of libm's trigonometry, so that every machine gets the same bits.
// docs/oklab.md writes them down.

namespace velo {

namespace turn {
inline constexpr float kPi = 3.14159265358979f;
inline constexpr float kHalfPi = 1.57079632679490f;
// Taylor coefficients of sin t / t and cos t in t², highest first.
inline constexpr float kSine[5] = {-1.0f / 39916800.0f, 1.0f / 362880.0f, -1.0f / 5040.0f,
                                   1.0f / 120.0f, -1.0f / 6.0f};
inline constexpr float kCosine[6] = {1.0f / 479001600.0f, -1.0f / 3628800.0f, 1.0f / 40320.0f,
                                     -1.0f / 720.0f,      1.0f / 24.0f,       -0.5f};
// Taylor coefficients of atan t / t in t², highest first (|t| below 0.2).
inline constexpr float kArcTangent[6] = {-1.0f / 11.0f, 1.0f / 9.0f,  -1.0f / 7.0f,
                                         1.0f / 5.0f,   -1.0f / 3.0f, 1.0f};
} // namespace turn

// The angle from the positive x axis to (x, y), in -pi..pi; 0 at the origin.
float angleOf(float y, float x);

struct SineCosine {
    float sine = 0, cosine = 1;
};

// sin and cos of an angle in -pi..pi.
SineCosine sineCosineOf(float angle);

} // namespace velo
