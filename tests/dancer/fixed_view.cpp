// Projection of the viewer's fixed view, written out the way gluPerspective builds it.
#include "tests/dancer/fixed_view.h"

#include <cmath>

namespace vorel {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Lift = 200.0;
constexpr double Back = 200.0;
constexpr double Near = 1.0;
constexpr double Far = 1000.0;
const double TanHalfHeight = std::tan(75.0 / 2.0 * Pi / 180.0);
const double TanHalfWidth = TanHalfHeight * 640.0 / 480.0;

}  // namespace

bool insideViewAtTurn(const Vector3& point, float turnDegrees) {
    const double angle = double{turnDegrees} * Pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double xEye = c * point.x + s * point.z;
    const double yEye = point.y - Lift;
    const double zEye = -s * point.x + c * point.z - Back;
    const double f = 1.0 / TanHalfHeight;
    const double xClip = f * 480.0 / 640.0 * xEye;
    const double yClip = f * yEye;
    const double zClip = (Far + Near) / (Near - Far) * zEye + 2.0 * Far * Near / (Near - Far);
    const double wClip = -zEye;
    return std::fabs(xClip) <= wClip && std::fabs(yClip) <= wClip && std::fabs(zClip) <= wClip;
}

bool insideViewAtEveryTurn(const Vector3& point) {
    const double radius = std::hypot(double{point.x}, double{point.z});
    const double nearestDepth = Back - radius;
    if (nearestDepth < Near || Back + radius > Far) return false;
    // Facing the camera is the worst turn for height; for width the worst turn maximises
    // |x| + tan * z over the circle, which is radius * sqrt(1 + tan^2).
    if (std::fabs(point.y - Lift) > TanHalfHeight * nearestDepth) return false;
    return radius * std::sqrt(1.0 + TanHalfWidth * TanHalfWidth) <= Back * TanHalfWidth;
}

}  // namespace vorel
