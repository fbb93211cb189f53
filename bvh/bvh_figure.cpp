// The BVH figure's bones and body. Bones point at the first child at a distance; each part's
// thickness follows its length, within bounds set by the whole figure's size so that neither
// a finger vanishes nor a long spine segment swells.
#include "bvh/bvh_figure.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "convert/unique_names.h"
#include "dancer/loft.h"
#include "dancer/mesh_builder.h"

namespace vorel {

namespace {

// Part half-thickness at the parent joint and at the child, as fractions of the part's length.
constexpr double HeadThickness = 0.14;
constexpr double TailThickness = 0.09;
// Bounds of a part's half-thickness, and the length of a bone with no child at a distance,
// as fractions of the figure's size.
constexpr double ThinnestPart = 0.015;
constexpr double ThickestPart = 0.05;
constexpr double LoneBoneLength = 0.04;
// Children closer than this fraction of the figure's size give no bone direction and no part.
constexpr double CoincidentDistance = 1e-4;

// The largest extent of the bind origins along any axis; 1 for a figure without extent.
double figureSize(const std::vector<Point3d>& origins) {
    Point3d low = origins.front(), high = low;
    for (const Point3d& p : origins) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const double size = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
    return size > 0.0 ? size : 1.0;
}

// The world axis least aligned with a part, as the direction its section's width is laid in.
Point3d acrossAxis(const Point3d& direction) {
    const double x = std::fabs(direction.x), y = std::fabs(direction.y), z = std::fabs(direction.z);
    if (x <= y && x <= z) return {1.0, 0.0, 0.0};
    return y <= z ? Point3d{0.0, 1.0, 0.0} : Point3d{0.0, 0.0, 1.0};
}

float partThickness(double length, double fraction, double size) {
    return static_cast<float>(
        std::clamp(fraction * length, ThinnestPart * size, ThickestPart * size));
}

void addPart(MeshBuilder& mesh, const Point3d& from, const Point3d& to, double size, int bone) {
    const double length = vorel::length(difference(to, from));
    Loft loft;
    loft.start = toVector3(from);
    loft.end = toVector3(to);
    loft.widthAxis = toVector3(acrossAxis(difference(to, from)));
    const float head = partThickness(length, HeadThickness, size);
    const float tail = partThickness(length, TailThickness, size);
    loft.stations = {{0.0f, head, head, 0.0f}, {1.0f, tail, tail, 0.0f}};
    loft.sections = 3;
    loft.around = 8;
    mesh.addSurface(makeLoftGrid(loft), bone);
}

}  // namespace

std::vector<Point3d> bvhBindOrigins(const BvhMotion& motion) {
    std::vector<Point3d> origins(motion.joints.size());
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const BvhJoint& joint = motion.joints[j];
        Point3d local = toPoint3d(joint.offset);
        for (std::size_t c = 0; c < joint.channels.size() && motion.frameCount > 0; ++c) {
            const double value = motion.values[static_cast<std::size_t>(joint.firstValue) + c];
            if (joint.channels[c] == BvhChannel::Xposition) local.x += value;
            if (joint.channels[c] == BvhChannel::Yposition) local.y += value;
            if (joint.channels[c] == BvhChannel::Zposition) local.z += value;
        }
        origins[j] =
            joint.parent < 0 ? local : sum(origins[static_cast<std::size_t>(joint.parent)], local);
    }
    return origins;
}

namespace {

// The first child of each joint lying at a distance from it: where the joint's bone points.
std::vector<int> childrenPointedAt(const BvhMotion& motion, const std::vector<Point3d>& origins,
                                   double size) {
    std::vector<int> pointsAt(motion.joints.size(), -1);
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const int parent = motion.joints[j].parent;
        if (parent < 0 || pointsAt[static_cast<std::size_t>(parent)] >= 0) continue;
        const double distance =
            length(difference(origins[j], origins[static_cast<std::size_t>(parent)]));
        if (distance > CoincidentDistance * size) {
            pointsAt[static_cast<std::size_t>(parent)] = static_cast<int>(j);
        }
    }
    return pointsAt;
}

// One bone per joint that is not an End Site, in file order, resting where `origins` says
// with the file's axes.
void addBones(const BvhMotion& motion, const std::vector<Point3d>& origins, double size,
              BvhFigure& figure) {
    ImportedSkeleton& skeleton = figure.skeleton;
    const std::vector<int> pointsAt = childrenPointedAt(motion, origins, size);
    // The viewer finds bones and tracks by hash, so hashes are kept apart too.
    UniqueNames names(UniqueNames::Hashes::Distinct);
    figure.boneOfJoint.assign(motion.joints.size(), -1);
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const BvhJoint& joint = motion.joints[j];
        if (joint.endSite) continue;
        figure.boneOfJoint[j] = static_cast<int>(skeleton.boneNode.size());
        skeleton.boneNode.push_back(static_cast<int>(j));
        skeleton.boneParent.push_back(
            joint.parent < 0 ? -1 : figure.boneOfJoint[static_cast<std::size_t>(joint.parent)]);
        AffineTransform rest;
        rest.translation = origins[j];
        AffineTransform restInverse;
        restInverse.translation = scaled(origins[j], -1.0);
        skeleton.restFrame.push_back(rest);
        skeleton.restInverse.push_back(restInverse);
        const int child = pointsAt[j];
        const Point3d* childOrigin =
            child >= 0 ? &origins[static_cast<std::size_t>(child)] : nullptr;
        const double boneLength = childOrigin != nullptr
                                      ? length(difference(*childOrigin, origins[j]))
                                      : LoneBoneLength * size;
        skeleton.points.push_back(bonePointsForJoint(rest, childOrigin, boneLength));
        skeleton.names.push_back(names.take(joint.name));
    }
}

// A part from every joint to each of its children at a distance, carried by the joint's bone.
void addBody(const BvhMotion& motion, const std::vector<Point3d>& origins, double size,
             BvhFigure& figure) {
    MeshBuilder mesh(static_cast<int>(figure.skeleton.boneNode.size()));
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const int parent = motion.joints[j].parent;
        if (parent < 0) continue;
        const Point3d& from = origins[static_cast<std::size_t>(parent)];
        if (length(difference(origins[j], from)) <= CoincidentDistance * size) continue;
        addPart(mesh, from, origins[j], size, figure.boneOfJoint[static_cast<std::size_t>(parent)]);
    }
    figure.mesh.positions = std::move(mesh.positions);
    figure.mesh.normals = std::move(mesh.normals);
    figure.mesh.faces = std::move(mesh.faces);
    figure.mesh.boneVertices = std::move(mesh.boneVertices);
}

}  // namespace

BvhFigure buildBvhFigure(const BvhMotion& motion, const std::vector<Point3d>& origins) {
    BvhFigure figure;
    const double size = figureSize(origins);
    addBones(motion, origins, size, figure);
    addBody(motion, origins, size, figure);
    return figure;
}

}  // namespace vorel
