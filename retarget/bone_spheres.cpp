// A bone's posed sphere is its rest sphere carried by the bone's world matrix, its radius
// grown by a bound on how far that matrix can stretch a length (for the rigid matrices of
// posing, barely at all) and by a margin for the float rounding of the skinning itself, so
// that a sphere found inside means every vertex the viewer would compute is inside too.
#include "retarget/bone_spheres.h"

#include <algorithm>
#include <cmath>

#include "app/fixed_view.h"
#include "skeleton/bone_list.h"
#include "skeleton/rigid_transform.h"

namespace vorel {

namespace {

// Far above the float rounding of a skinned vertex (a few units in the last place of the
// largest term that makes it), far below anything that matters to the picture.
constexpr double RoundingAllowance = 1e-5;
// The most vertices a part of a bone's sphere holds.
constexpr std::ptrdiff_t VerticesPerPart = 32;

Vector3 movedBack(const Vector3& p, const Vector3& travel) {
    return Vector3(p.x - travel.x, p.y, p.z - travel.z);
}

double largestMagnitude(const Vector3& v) {
    return std::max({std::fabs(double{v.x}), std::fabs(double{v.y}), std::fabs(double{v.z})});
}

float coordinate(const Vector3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// The box around some vertices, each given by its index.
struct Bounds {
    Vector3 low;
    Vector3 high;
};

template <typename VertexIterator, typename Position>
Bounds boundsOf(VertexIterator first, VertexIterator last, Position position) {
    Bounds box{position(*first), position(*first)};
    for (VertexIterator i = first; i != last; ++i) {
        const Vector3& p = position(*i);
        box.low =
            Vector3(std::min(box.low.x, p.x), std::min(box.low.y, p.y), std::min(box.low.z, p.z));
        box.high = Vector3(std::max(box.high.x, p.x), std::max(box.high.y, p.y),
                           std::max(box.high.z, p.z));
    }
    return box;
}

// The bones that move each vertex, in the order the skinning pass moves it.
std::vector<std::vector<int>> moversOfVertices(const ModelData& model) {
    const BoneList bones = listBones(model);
    std::vector<std::vector<int>> movers(model.positions.size());
    for (std::size_t b = 0; b < bones.bones.size(); ++b) {
        for (const std::int32_t vertex : bones.bones[b]->vertices) {
            if (vertex >= 0 && static_cast<std::size_t>(vertex) < movers.size())
                movers[static_cast<std::size_t>(vertex)].push_back(static_cast<int>(b));
        }
    }
    return movers;
}

// The linear part's largest stretch of a length, bounded above (Gershgorin's bound on the
// largest eigenvalue of A^T A): exactly 1 for a rotation, a little over for rounding.
double stretchBound(const Matrix4& world) {
    double columns[3][3];
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) columns[c][r] = world.element(4 * c + r);
    }
    double largest = 0.0;
    for (int i = 0; i < 3; ++i) {
        double rowSum = 0.0;
        for (int j = 0; j < 3; ++j) {
            rowSum += std::fabs(columns[i][0] * columns[j][0] + columns[i][1] * columns[j][1] +
                                columns[i][2] * columns[j][2]);
        }
        largest = std::max(largest, rowSum);
    }
    return std::sqrt(largest);
}

double largestLinearEntry(const Matrix4& world) {
    double largest = 0.0;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            largest = std::max(largest, std::fabs(double{world.element(4 * c + r)}));
    }
    return largest;
}

}  // namespace

BoneSpheres::BoneSpheres(const ModelData& model) : model_(model) {
    const std::vector<std::vector<int>> movers = moversOfVertices(model);
    const int boneCount = static_cast<int>(listBones(model).bones.size());
    std::vector<std::vector<std::int32_t>> alone(static_cast<std::size_t>(boneCount) + 1);
    for (std::size_t v = 0; v < movers.size(); ++v) {
        const auto vertex = static_cast<std::int32_t>(v);
        if (movers[v].size() > 1) {
            chains_.push_back({vertex, chainBones_.size(), chainBones_.size() + movers[v].size()});
            chainBones_.insert(chainBones_.end(), movers[v].begin(), movers[v].end());
        } else {
            alone[movers[v].empty() ? 0 : static_cast<std::size_t>(movers[v].front()) + 1]
                .push_back(vertex);
        }
    }
    for (int bone = -1; bone < boneCount; ++bone)
        addGroup(bone, std::move(alone[static_cast<std::size_t>(bone + 1)]));
    bounds_.resize(groups_.size());
}

void BoneSpheres::addGroup(int bone, std::vector<std::int32_t> vertices) {
    if (vertices.empty()) return;
    Group group;
    group.bone = bone;
    group.firstPart = parts_.size();
    const std::size_t first = vertices_.size();
    splitIntoParts(vertices.begin(), vertices.end());
    group.whole = sphereAround(first, vertices_.size());
    group.lastPart = parts_.size();
    groups_.push_back(group);
}

// Halves the vertices at the middle of their longest extent until few are left in each part.
void BoneSpheres::splitIntoParts(std::vector<std::int32_t>::iterator first,
                                 std::vector<std::int32_t>::iterator last) {
    if (last - first <= VerticesPerPart) {
        const std::size_t start = vertices_.size();
        vertices_.insert(vertices_.end(), first, last);
        parts_.push_back(sphereAround(start, vertices_.size()));
        return;
    }
    const Bounds box =
        boundsOf(first, last, [this](std::int32_t v) -> const Vector3& { return position(v); });
    const Vector3 extent(box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z);
    const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0
                     : extent.y >= extent.z                       ? 1
                                                                  : 2;
    const auto middle = first + (last - first) / 2;
    std::nth_element(first, middle, last, [this, axis](std::int32_t a, std::int32_t b) {
        return coordinate(position(a), axis) < coordinate(position(b), axis);
    });
    splitIntoParts(first, middle);
    splitIntoParts(middle, last);
}

BoneSpheres::Sphere BoneSpheres::sphereAround(std::size_t first, std::size_t last) const {
    const auto at = [this](std::size_t i) -> const Vector3& { return position(vertices_[i]); };
    const auto begin = vertices_.begin() + static_cast<std::ptrdiff_t>(first);
    const Bounds box = boundsOf(begin, begin + static_cast<std::ptrdiff_t>(last - first),
                                [this](std::int32_t v) -> const Vector3& { return position(v); });
    Sphere sphere;
    sphere.first = first;
    sphere.last = last;
    sphere.centre = Vector3(0.5f * (box.low.x + box.high.x), 0.5f * (box.low.y + box.high.y),
                            0.5f * (box.low.z + box.high.z));
    for (std::size_t i = first; i < last; ++i) {
        const Vector3& p = at(i);
        sphere.radius = std::max(
            sphere.radius, std::hypot(double{p.x} - sphere.centre.x, double{p.y} - sphere.centre.y,
                                      double{p.z} - sphere.centre.z));
    }
    return sphere;
}

const Vector3& BoneSpheres::position(std::int32_t vertex) const {
    return model_.positions[static_cast<std::size_t>(vertex)];
}

void BoneSpheres::pose(const std::vector<Matrix4>& worlds) {
    worlds_ = &worlds;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Matrix4& world = worldOf(groups_[g]);
        PosedBounds& bounds = bounds_[g];
        bounds.stretch = stretchBound(world);
        bounds.largestEntry = largestLinearEntry(world);
        bounds.largestShift =
            largestMagnitude(Vector3(world.element(12), world.element(13), world.element(14)));
    }
}

bool BoneSpheres::insideView(const Vector3& travel) const {
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        if (!groupInside(groups_[g], bounds_[g], travel)) return false;
    }
    for (const Chain& chain : chains_) {
        if (!chainInside(chain, travel)) return false;
    }
    return true;
}

double BoneSpheres::lowestBelow(double level) const {
    double lowest = level;
    const Vector3* bind = model_.positions.data();
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Group& group = groups_[g];
        const RigidTransform skinning(worldOf(group));
        const auto above = [&](const Sphere& sphere) {
            return skinning.point(sphere.centre).y - bounds_[g].stretch * sphere.radius >= lowest;
        };
        if (above(group.whole)) continue;
        for (std::size_t part = group.firstPart; part < group.lastPart; ++part) {
            if (above(parts_[part])) continue;
            for (std::size_t i = parts_[part].first; i < parts_[part].last; ++i) {
                const Vector3& rest = bind[vertices_[i]];
                const Vector3 skinned = group.bone < 0 ? rest : skinning.point(rest);
                lowest = std::min(lowest, double{skinned.y});
            }
        }
    }
    for (const Chain& chain : chains_) {
        Vector3 posed = model_.positions[static_cast<std::size_t>(chain.vertex)];
        for (std::size_t i = chain.first; i < chain.last; ++i)
            posed =
                RigidTransform((*worlds_)[static_cast<std::size_t>(chainBones_[i])]).point(posed);
        lowest = std::min(lowest, double{posed.y});
    }
    return lowest;
}

const Matrix4& BoneSpheres::worldOf(const Group& group) const {
    return group.bone < 0 ? Matrix4::Identity : (*worlds_)[static_cast<std::size_t>(group.bone)];
}

bool BoneSpheres::groupInside(const Group& group, const PosedBounds& bounds,
                              const Vector3& travel) const {
    const RigidTransform skinning(worldOf(group));
    if (posedSphereInside(group.whole.centre, group.whole.radius, skinning, bounds, travel))
        return true;
    const Vector3* bind = model_.positions.data();
    for (std::size_t part = group.firstPart; part < group.lastPart; ++part) {
        const Sphere& sphere = parts_[part];
        if (posedSphereInside(sphere.centre, sphere.radius, skinning, bounds, travel)) continue;
        for (std::size_t i = sphere.first; i < sphere.last; ++i) {
            const Vector3& rest = bind[vertices_[i]];
            // Vertices no bone moves keep their bind position exactly, as in the skinning pass.
            const Vector3 skinned = group.bone < 0 ? rest : skinning.point(rest);
            if (!insideViewAtEveryTurn(movedBack(skinned, travel))) return false;
        }
    }
    return true;
}

// Whether a rest sphere, carried by a bone's skinning and moved back by the travel, holds no
// point out of the picture at any turn, with the bone's bounds worked out by pose().
bool BoneSpheres::posedSphereInside(const Vector3& centre, double radius,
                                    const RigidTransform& skinning, const PosedBounds& bounds,
                                    const Vector3& travel) {
    const double rounding =
        RoundingAllowance * (3.0 * bounds.largestEntry * (largestMagnitude(centre) + radius) +
                             bounds.largestShift + largestMagnitude(travel));
    return sphereInsideViewAtEveryTurn(movedBack(skinning.point(centre), travel),
                                       bounds.stretch * radius + rounding);
}

bool BoneSpheres::chainInside(const Chain& chain, const Vector3& travel) const {
    Vector3 posed = model_.positions[static_cast<std::size_t>(chain.vertex)];
    for (std::size_t i = chain.first; i < chain.last; ++i)
        posed = RigidTransform((*worlds_)[static_cast<std::size_t>(chainBones_[i])]).point(posed);
    return insideViewAtEveryTurn(movedBack(posed, travel));
}

}  // namespace vorel
