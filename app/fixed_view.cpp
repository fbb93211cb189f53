// The fixed view's projection, written out the way gluPerspective builds it, in double.
#include "app/fixed_view.h"

#include <cmath>

#include "math/pi.h"

namespace vorel {

namespace {

constexpr double Lift = double{EyeHeight};
constexpr double Back = double{EyeDistance};
constexpr double Width = double{WindowWidth};
constexpr double Height = double{WindowHeight};
const double TanHalfHeight = std::tan(FieldOfViewDegrees / 2.0 * Pi / 180.0);
const double TanHalfWidth = TanHalfHeight * Width / Height;

// Whether every point at this distance from the Y axis, or nearer, and this far above or
// below the eye, or nearer, is in the picture at every turn. Every test below only grows
// stricter as either grows, so a bound on both settles a whole region at once.
bool withinViewAtEveryTurn(double radius, double heightFromEye) {
    const double nearestDepth = Back - radius;
    if (nearestDepth < NearPlane || Back + radius > FarPlane) return false;
    // Facing the camera is the worst turn for height; for width the worst turn maximises
    // |x| + tan * z over the circle, which is radius * sqrt(1 + tan^2).
    if (heightFromEye > TanHalfHeight * nearestDepth) return false;
    return radius * std::sqrt(1.0 + TanHalfWidth * TanHalfWidth) <= Back * TanHalfWidth;
}

}  // namespace

bool insideViewAtTurn(const Vector3& point, float turnDegrees) {
    const double angle = double{turnDegrees} * Pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double xEye = c * point.x + s * point.z;
    const double yEye = point.y - Lift;
    const double zEye = -s * point.x + c * point.z - Back;
    const double f = 1.0 / TanHalfHeight;
    const double xClip = f * Height / Width * xEye;
    const double yClip = f * yEye;
    const double zClip = (FarPlane + NearPlane) / (NearPlane - FarPlane) * zEye +
                         2.0 * FarPlane * NearPlane / (NearPlane - FarPlane);
    const double wClip = -zEye;
    return std::fabs(xClip) <= wClip && std::fabs(yClip) <= wClip && std::fabs(zClip) <= wClip;
}

bool insideViewAtEveryTurn(const Vector3& point) {
    return withinViewAtEveryTurn(std::hypot(double{point.x}, double{point.z}),
                                 std::fabs(point.y - Lift));
}

bool sphereInsideViewAtEveryTurn(const Vector3& centre, double radius) {
    const bool finite = std::isfinite(centre.x) && std::isfinite(centre.y) &&
                        std::isfinite(centre.z) && std::isfinite(radius);
    // Float coordinates squared cannot overflow a double, so the plain root serves; its
    // rounding is far below any margin a caller adds to the radius.
    const double x = centre.x;
    const double z = centre.z;
    return finite && radius >= 0.0 &&
           withinViewAtEveryTurn(std::sqrt(x * x + z * z) + radius,
                                 std::fabs(centre.y - Lift) + radius);
}

}  // namespace vorel
