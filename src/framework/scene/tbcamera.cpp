#include "framework/scene/tbcamera.hpp"

#include "binding/opengl/gl.hpp"
#include "support/math/matrix.hpp"
#include "support/math/quaternion.hpp"

#include <cmath>
#include <numbers>

namespace tandrel {

namespace {
float radians(float degrees) { return degrees / 180.0f * std::numbers::pi_v<float>; }
} // namespace

float Smoothing::step(float amount, float smoothness) {
    target += amount;
    const float share = (target - current) / smoothness;
    current += share;
    return share;
}

void TrackballCamera::pitch(float angle) { pitchAngle += angle; }
void TrackballCamera::turn(float angle) { turnAngle += angle; }
void TrackballCamera::zoom(float amount) { distance -= amount; }

void TrackballCamera::moveRight(float amount) {
    const float t = radians(turnAngle);
    center += Vector3f(amount * std::cos(t), 0, amount * std::sin(t));
}

void TrackballCamera::moveForward(float amount) {
    const float t = radians(turnAngle + 90);
    center += Vector3f(amount * std::cos(t), 0, amount * std::sin(t));
}

void TrackballCamera::pitchSmooth(float amount, float smoothness) { pitch(pitchSmoothing.step(amount, smoothness)); }
void TrackballCamera::turnSmooth(float amount, float smoothness) { turn(turnSmoothing.step(amount, smoothness)); }

void TrackballCamera::moveRightSmooth(float amount, float smoothness) {
    moveRight(moveRightSmoothing.step(amount, smoothness));
}

void TrackballCamera::moveForwardSmooth(float amount, float smoothness) {
    moveForward(moveForwardSmoothing.step(amount, smoothness));
}

void TrackballCamera::zoomSmooth(float amount, float smoothness) {
    zoomSmoothness = smoothness;
    zoomIn = amount < 0;
    zoomSmoothing.target += std::abs(amount);
}

void TrackballCamera::bind(double) {
    Smoothing& z = zoomSmoothing;
    if (z.current < z.target) {
        z.current += (z.target - z.current) / zoomSmoothness;
        const float d = (z.target - z.current) / zoomSmoothness;
        zoom(zoomIn ? d : -d);
    }
    gl.glPushMatrix();
    const Quaternion rotation = Quaternion::rotation({1, 0, 0}, radians(pitchAngle)) *
                                Quaternion::rotation({0, 1, 0}, radians(turnAngle)) *
                                Quaternion::rotation({0, 0, 1}, radians(rollAngle));
    const Matrix view = Matrix::translation({0, 0, -distance}) * rotation.toMatrix() * Matrix::translation(center);
    gl.glLoadMatrixf(view.data());
}

void TrackballCamera::unbind() { gl.glPopMatrix(); }

void TrackballCamera::free() {}

// Each frame takes a share of what is left, which never quite reaches zero:
// a thousandth of a unit is no longer seen.
bool TrackballCamera::animating() const { return zoomSmoothing.target - zoomSmoothing.current > 1e-3f; }

} // namespace tandrel
