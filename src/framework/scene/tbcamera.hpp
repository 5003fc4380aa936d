#pragma once

#include "framework/core/modifier.hpp"
#include "support/math/vector.hpp"

namespace tandrel {

// Eases a requested amount in over frames: each request adds to the target
// and applies a share of what is still outstanding.
struct Smoothing {
    float current = 0;
    float target = 0;
    // The step to apply now: (target - current) / smoothness after adding amount.
    float step(float amount, float smoothness);
};

// A camera orbiting `center` at `distance`, turned by three angles in
// degrees. As a modifier it loads its view into the model-view matrix around
// the drawables of a layer.
class TrackballCamera : public Modifier {
public:
    virtual void pitch(float angle);
    virtual void turn(float angle);
    // Positive amounts move closer.
    virtual void zoom(float amount);
    // Along the ground, relative to the current turn.
    virtual void moveRight(float amount);
    virtual void moveForward(float amount);
    virtual void pitchSmooth(float amount, float smoothness);
    virtual void turnSmooth(float amount, float smoothness);
    virtual void moveRightSmooth(float amount, float smoothness);
    virtual void moveForwardSmooth(float amount, float smoothness);
    // Negative amounts zoom in; bind eases the zoom in over the next frames.
    virtual void zoomSmooth(float amount, float smoothness);
    // Pushes the model-view matrix and loads the view.
    void bind(double dt) override;
    void unbind() override;
    void free() override;
    // While a smoothed zoom still eases in visibly.
    bool animating() const override;

    Vector3f center{0, 0, 0};
    float distance = 10;
    float pitchAngle = 0;
    float turnAngle = 0;
    float rollAngle = 0;
    Smoothing pitchSmoothing;
    Smoothing turnSmoothing;
    Smoothing moveRightSmoothing;
    Smoothing moveForwardSmoothing;
    Smoothing zoomSmoothing;
    bool zoomIn = false;
    float zoomSmoothness = 2;
};

} // namespace tandrel
