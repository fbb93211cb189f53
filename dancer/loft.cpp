// Samples a loft into a surface grid: smooth blending between stations along the axis,
// quarter-ellipse caps at both ends so the part closes without a crease.
#include "dancer/loft.h"

#include <algorithm>
#include <cmath>

#include "math/pi.h"

namespace vorel {

namespace {

struct Frame {
    Vector3 axis;
    float length = 0.0f;
    Vector3 width;
    Vector3 depth;
};

Vector3 combine(const Vector3& origin, const Vector3& a, float ka, const Vector3& b, float kb) {
    return Vector3(origin.x + a.x * ka + b.x * kb, origin.y + a.y * ka + b.y * kb,
                   origin.z + a.z * ka + b.z * kb);
}

Frame makeFrame(const Loft& loft) {
    Frame frame;
    frame.axis =
        Vector3(loft.end.x - loft.start.x, loft.end.y - loft.start.y, loft.end.z - loft.start.z);
    frame.length = std::sqrt(Vector3::dot(frame.axis, frame.axis));
    frame.axis.normalize();
    const float along = Vector3::dot(loft.widthAxis, frame.axis);
    frame.width = combine(loft.widthAxis, frame.axis, -along, Vector3(), 0.0f);
    frame.width.normalize();
    frame.depth = Vector3::cross(frame.axis, frame.width);
    return frame;
}

// Catmull-Rom blend of the stations around `along`, so the outline has no kinks.
float catmullRom(float p0, float p1, float p2, float p3, float t) {
    return 0.5f * (2.0f * p1 + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t * t +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * t * t * t);
}

LoftStation blendStations(const std::vector<LoftStation>& stations, float along) {
    const int last = static_cast<int>(stations.size()) - 1;
    int next = 1;
    while (next < last && stations[static_cast<std::size_t>(next)].along < along) ++next;
    auto station = [&](int i) -> const LoftStation& {
        return stations[static_cast<std::size_t>(std::clamp(i, 0, last))];
    };
    const LoftStation& a = station(next - 1);
    const LoftStation& b = station(next);
    const float span = b.along - a.along;
    const float t = span > 0.0f ? std::clamp((along - a.along) / span, 0.0f, 1.0f) : 0.0f;
    auto blend = [&](float LoftStation::*field) {
        return catmullRom(station(next - 2).*field, a.*field, b.*field, station(next + 1).*field,
                          t);
    };
    return LoftStation{along, std::max(0.05f, blend(&LoftStation::halfWidth)),
                       std::max(0.05f, blend(&LoftStation::halfDepth)), blend(&LoftStation::shift)};
}

struct Ring {
    float offset = 0.0f;  // distance along the axis from the start point
    LoftStation section;
};

// Cap rings go from the end section towards the pole along a quarter ellipse.
void addCapRings(std::vector<Ring>& rings, const LoftStation& end, float endOffset, float capLength,
                 int count, bool atStart) {
    for (int i = 1; i < count; ++i) {
        const int step = atStart ? count - i : i;
        const float angle = 0.5f * PiFloat * static_cast<float>(step) / static_cast<float>(count);
        const float shrink = std::cos(angle);
        LoftStation section = end;
        section.halfWidth *= shrink;
        section.halfDepth *= shrink;
        const float offset = endOffset + (atStart ? -1.0f : 1.0f) * capLength * std::sin(angle);
        rings.push_back(Ring{offset, section});
    }
}

float capLengthOf(const Loft& loft, const LoftStation& end) {
    return loft.capRoundness * std::min(end.halfWidth, end.halfDepth);
}

}  // namespace

SurfaceGrid makeEllipsoidGrid(const Vector3& centre, float halfX, float halfY, float halfZ) {
    const int rows = 13;
    const int columns = 18;
    SurfaceGrid grid;
    grid.rows = rows;
    grid.columns = columns;
    for (int i = 1; i <= rows; ++i) {
        const float latitude = PiFloat * static_cast<float>(i) / static_cast<float>(rows + 1);
        const float ring = std::sin(latitude);
        const float y = centre.y - halfY * std::cos(latitude);
        for (int j = 0; j < columns; ++j) {
            const float angle =
                2.0f * PiFloat * static_cast<float>(j) / static_cast<float>(columns);
            grid.points.emplace_back(centre.x + halfX * ring * std::cos(angle), y,
                                     centre.z + halfZ * ring * std::sin(angle));
        }
    }
    grid.firstPole = Vector3(centre.x, centre.y - halfY, centre.z);
    grid.lastPole = Vector3(centre.x, centre.y + halfY, centre.z);
    return grid;
}

SurfaceGrid makeLoftGrid(const Loft& loft) {
    const Frame frame = makeFrame(loft);
    const LoftStation& first = loft.stations.front();
    const LoftStation& last = loft.stations.back();
    const int capRings = std::max(3, loft.sections / 3);
    const float firstCap = capLengthOf(loft, first);
    const float lastCap = capLengthOf(loft, last);

    std::vector<Ring> rings;
    const float firstOffset = first.along * frame.length;
    addCapRings(rings, first, firstOffset, firstCap, capRings, true);
    for (int i = 0; i <= loft.sections; ++i) {
        const float along = first.along + (last.along - first.along) * static_cast<float>(i) /
                                              static_cast<float>(loft.sections);
        rings.push_back(Ring{along * frame.length, blendStations(loft.stations, along)});
    }
    addCapRings(rings, last, last.along * frame.length, lastCap, capRings, false);

    SurfaceGrid grid;
    grid.rows = static_cast<int>(rings.size());
    grid.columns = loft.around;
    for (const Ring& ring : rings) {
        const Vector3 centre =
            combine(loft.start, frame.axis, ring.offset, frame.depth, ring.section.shift);
        for (int j = 0; j < loft.around; ++j) {
            const float angle =
                2.0f * PiFloat * static_cast<float>(j) / static_cast<float>(loft.around);
            grid.points.push_back(combine(centre, frame.width,
                                          ring.section.halfWidth * std::cos(angle), frame.depth,
                                          ring.section.halfDepth * std::sin(angle)));
        }
    }
    grid.firstPole =
        combine(loft.start, frame.axis, firstOffset - firstCap, frame.depth, first.shift);
    grid.lastPole = combine(loft.start, frame.axis, last.along * frame.length + lastCap,
                            frame.depth, last.shift);
    return grid;
}

}  // namespace vorel
