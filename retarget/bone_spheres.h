// BoneSpheres: a model's vertices grouped by the one bone that moves them, each group with the
// sphere that holds it at rest, for asking whether a posed figure stays in the viewer's fixed
// picture without skinning every vertex: a bone whose posed sphere is clearly inside settles
// all its vertices at once, and only the others are skinned, exactly as the viewer skins them.
// Not for drawing: it never writes a skinned buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/model_data.h"
#include "math/matrix4.h"
#include "math/vector3.h"
#include "skeleton/rigid_transform.h"

namespace vorel {

class BoneSpheres {
  public:
    // The model must outlive this.
    explicit BoneSpheres(const ModelData& model);

    // Carries every sphere by the bones' world matrices (listBones order) for the calls of
    // insideView that follow; the matrices must stay as they are until then.
    void pose(const std::vector<Matrix4>& worlds);
    // Whether every vertex, skinned by the posed bones and then moved back horizontally by
    // `travel`, is inside the picture at every turn: the answer insideViewAtEveryTurn gives
    // for each vertex of the fully skinned figure.
    bool insideView(const Vector3& travel) const;
    // The lowest height of a skinned vertex, or `level` when none is below it; spheres that
    // stay above the level are not skinned.
    double lowestBelow(double level) const;

  private:
    // Vertices first to last - 1 of vertices_, and the rest-pose sphere that holds them.
    struct Sphere {
        Vector3 centre;
        double radius = 0.0;
        std::size_t first = 0;
        std::size_t last = 0;
    };
    // The vertices one bone moves alone (bone -1: those no bone moves): one sphere round them
    // all, then smaller ones round neighbouring few, so that a bone across the picture's edge
    // skins only the vertices near it.
    struct Group {
        int bone = -1;
        Sphere whole;
        std::size_t firstPart = 0;
        std::size_t lastPart = 0;
    };
    // What pose() works out of a group's bone matrix for bounding its posed spheres.
    struct PosedBounds {
        // At most how much the matrix lengthens a length.
        double stretch = 1.0;
        // The largest magnitude of its linear part and of its translation.
        double largestEntry = 1.0;
        double largestShift = 0.0;
    };
    // A vertex that several bones move, each in turn from where the one before left it.
    struct Chain {
        std::int32_t vertex = 0;
        std::size_t first = 0;
        std::size_t last = 0;
    };

    void addGroup(int bone, std::vector<std::int32_t> vertices);
    void splitIntoParts(std::vector<std::int32_t>::iterator first,
                        std::vector<std::int32_t>::iterator last);
    Sphere sphereAround(std::size_t first, std::size_t last) const;
    const Vector3& position(std::int32_t vertex) const;
    const Matrix4& worldOf(const Group& group) const;
    static bool posedSphereInside(const Vector3& centre, double radius,
                                  const RigidTransform& skinning, const PosedBounds& bounds,
                                  const Vector3& travel);
    bool groupInside(const Group& group, const PosedBounds& bounds, const Vector3& travel) const;
    bool chainInside(const Chain& chain, const Vector3& travel) const;

    const ModelData& model_;
    std::vector<Group> groups_;
    std::vector<Sphere> parts_;
    // The groups' vertices, group after group, each group's part after part.
    std::vector<std::int32_t> vertices_;
    std::vector<Chain> chains_;
    // The chains' bones in the order they move the vertex, chain after chain.
    std::vector<int> chainBones_;
    // Set by pose(): the bones' world matrices and each group's bounds.
    const std::vector<Matrix4>* worlds_ = nullptr;
    std::vector<PosedBounds> bounds_;
};

}  // namespace vorel
