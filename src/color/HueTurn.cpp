#include "color/HueTurn.h"

#include <cmath>

namespace velo {

namespace {

// (((k0 × u + k1) × u + k2) ...) × u + 1, coefficients highest first.
template <int N> float polynomial(const float (&k)[N], float u) {
    float p = k[0];
    for (int i = 1; i < N; ++i) {
        p = p * u + k[i];
    }
    return p;
}

// atan t for t in 0..1: two halvings of the angle (tan(x/2) = t / (1 +
// sqrt(1 + t²))) bring t below 0.2, where six Taylor terms suffice.
float arcTangent(float t) {
    for (int i = 0; i < 2; ++i) {
        t = t / (1.0f + std::sqrt(1.0f + t * t));
    }
    return (t * polynomial(turn::kArcTangent, t * t)) * 4.0f;
}

} // namespace

float angleOf(float y, float x) {
    float ax = std::fabs(x);
    float ay = std::fabs(y);
    if (ax == 0.0f && ay == 0.0f) {
        return 0.0f;
    }
    float angle = ay > ax ? turn::kHalfPi - arcTangent(ax / ay) : arcTangent(ay / ax);
    if (x < 0.0f) {
        angle = turn::kPi - angle;
    }
    return y < 0.0f ? -angle : angle;
}

SineCosine sineCosineOf(float angle) {
    // Half the angle is within pi/2, where the series converge fast.
    float t = angle * 0.5f;
    float u = t * t;
    float s = t * (polynomial(turn::kSine, u) * u + 1.0f);
    float c = polynomial(turn::kCosine, u) * u + 1.0f;
    return {(s * c) * 2.0f, (c - s) * (c + s)};
}

} // namespace velo
