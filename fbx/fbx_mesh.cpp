// Geometry by geometry: each point's binding, then the polygons and their normals.
#include "fbx/fbx_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "convert/affine_transform.h"
#include "convert/joint_blend.h"
#include "fbx/fbx_skin_influences.h"
#include "fbx/fbx_transform.h"

namespace vorel {

namespace {

// How one control point reaches its rest position, and the bone that carries it.
struct PointBinding {
    int transform = 0;
    int bone = -1;
    float weight = 1.0f;
};

struct Heaviest {
    int cluster = -1;
    double weight = 0.0;
};

// The one joint a point follows in a rigid import, and the weight it follows otherwise: its
// heaviest influence (the first of equal ones); none for a point no cluster reaches with a
// positive weight.
Heaviest heaviestJoint(const FbxSkinInfluences& influences, std::size_t point) {
    Heaviest heaviest;
    for (std::size_t i = influences.first[point]; i < influences.first[point + 1]; ++i) {
        if (influences.weight[i] > heaviest.weight)
            heaviest = {influences.cluster[i], influences.weight[i]};
    }
    return heaviest;
}

// Equal within rounding: every entry within 1e-4 of the larger matrix's size (exporters
// compute bind matrices in single precision; the readings told apart differ by whole joints).
bool sameMatrix(const AffineTransform& a, const AffineTransform& b) {
    double size = 1.0, gap = 0.0;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            size = std::max({size, std::fabs(a.linear[r][c]), std::fabs(b.linear[r][c])});
            gap = std::max(gap, std::fabs(a.linear[r][c] - b.linear[r][c]));
        }
    }
    const Point3d d = difference(a.translation, b.translation);
    size = std::max({size, length(a.translation), length(b.translation)});
    return std::max({gap, std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}) <= 1e-4 * size;
}

// The mesh's global matrix when the skin was bound, from its cluster. The FBX SDK writes it as
// the cluster's Transform; Blender writes Transform in the joint's space (TransformLink^-1
// times the mesh's matrix), which, taken as the SDK defines it, would pile the mesh up around
// the origin. The reading that gives the mesh's own place in the file wins; when neither does
// (a mesh moved after binding), Transform as the SDK defines it.
AffineTransform meshBindMatrix(const FbxCluster& cluster, const AffineTransform& meshGlobal) {
    if (!cluster.hasTransformLink || sameMatrix(cluster.transform, meshGlobal))
        return cluster.transform;
    const AffineTransform inJointSpace =
        AffineTransform::compose(cluster.transform, cluster.transformLink);
    return sameMatrix(inJointSpace, meshGlobal) ? inJointSpace : cluster.transform;
}

// p' = second * first * p.
AffineTransform then(const AffineTransform& first, const AffineTransform& second) {
    return AffineTransform::compose(first, second);
}

class MeshBuilder {
  public:
    MeshBuilder(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh, LoadError& error)
        : scene_(scene),
          rig_(rig),
          axes_(axes),
          skeleton_(skeleton),
          rigid_(rigid),
          mesh_(mesh),
          error_(error) {
        mesh_.boneVertices.assign(skeleton.boneNode.size(), {});
        mirrored_ = axes.toVorel().determinant() < 0.0;
    }

    bool add(const FbxGeometry& geometry) {
        where_ =
            "Geometry of '" + scene_.models[static_cast<std::size_t>(geometry.model)].name + "'";
        const std::size_t points = geometry.vertices.size() / 3;
        const std::size_t first = mesh_.positions.size();
        if (first + points > static_cast<std::size_t>(INT32_MAX))
            return fail(error_, where_, "too many vertices");
        std::vector<PointBinding> bindings;
        std::string kind;
        if (!bindPoints(geometry, points, bindings, kind)) return false;
        mesh_.ranges.push_back({geometry.model, 0, static_cast<std::int64_t>(first),
                                static_cast<std::int64_t>(points), kind});
        for (std::size_t p = 0; p < points; ++p) {
            const PointBinding& binding = bindings[p];
            const Point3d point{geometry.vertices[3 * p], geometry.vertices[3 * p + 1],
                                geometry.vertices[3 * p + 2]};
            mesh_.positions.push_back(toVector3(
                transforms_[static_cast<std::size_t>(binding.transform)].transformPoint(point)));
            mesh_.followedWeights.push_back(binding.weight);
            if (binding.bone >= 0)
                mesh_.boneVertices[static_cast<std::size_t>(binding.bone)].push_back(
                    static_cast<std::int32_t>(first + p));
        }
        return addPolygons(geometry, first, bindings);
    }

  private:
    // The transform of every point of the geometry, as an index into transforms_.
    bool bindPoints(const FbxGeometry& geometry, std::size_t points,
                    std::vector<PointBinding>& bindings, std::string& kind) {
        transforms_.clear();
        const int model = geometry.model;
        const AffineTransform geometric =
            fbxGeometricTransform(scene_.models[static_cast<std::size_t>(model)].transform);
        const AffineTransform& toVorel = axes_.toVorel();
        const int joint = rig_.isJoint[static_cast<std::size_t>(model)]
                              ? model
                              : rig_.jointAbove[static_cast<std::size_t>(model)];
        PointBinding whole;
        if (joint >= 0) {
            const int bone = skeleton_.boneOfNode[static_cast<std::size_t>(joint)];
            const AffineTransform relative =
                joint == model ? AffineTransform{}
                               : fbxChainBelow(scene_, rig_.restStep, joint, model);
            // restFrame * C * relative * geometric: restFrame is C * G_joint * C^-1.
            transforms_.push_back(then(then(then(geometric, relative), toVorel),
                                       skeleton_.restFrame[static_cast<std::size_t>(bone)]));
            whole.bone = bone;
            kind = "attached";
        } else {
            transforms_.push_back(
                then(then(geometric, rig_.restGlobal[static_cast<std::size_t>(model)]), toVorel));
            kind = "static";
        }
        bindings.assign(points, whole);
        if (geometry.skin < 0) return true;
        const FbxSkin& skin = scene_.skins[static_cast<std::size_t>(geometry.skin)];
        FbxSkinInfluences influences;
        if (!readSkinInfluences(scene_, skin, points, influences, error_)) return false;
        if (influences.cluster.empty()) return true;
        kind = "skinned";
        clusterTransforms_.assign(scene_.clusters.size(), AffineTransform{});
        std::vector<int> clusterTransform(scene_.clusters.size(), -1);
        for (int c : skin.clusters) {
            const FbxCluster& cluster = scene_.clusters[static_cast<std::size_t>(c)];
            if (cluster.model < 0) continue;
            clusterTransform[static_cast<std::size_t>(c)] = static_cast<int>(transforms_.size());
            const AffineTransform bind =
                meshBindMatrix(cluster, rig_.restGlobal[static_cast<std::size_t>(model)]);
            transforms_.push_back(then(then(geometric, bind), toVorel));
            clusterTransforms_[static_cast<std::size_t>(c)] = transforms_.back();
        }
        mesh_.skinnedVertexCount += static_cast<std::int64_t>(points);
        for (std::size_t p = 0; p < points; ++p) {
            const Heaviest heaviest = heaviestJoint(influences, p);
            PointBinding& binding = bindings[p];
            binding.weight = static_cast<float>(std::max(heaviest.weight, 0.0));
            if (heaviest.weight < 0.5) ++mesh_.weakVertexCount;
            if (heaviest.cluster < 0) continue;
            int cluster = heaviest.cluster;
            if (!rigid_) {
                const VertexInfluences blend = blendedInfluences(influences, p);
                if (blend.count > 1) {
                    binding.transform = static_cast<int>(transforms_.size());
                    transforms_.push_back(blendedTransform(blend, clusterTransforms_));
                    keepInfluences(mesh_.positions.size() + p, blend);
                    binding.bone = -1;
                    continue;
                }
                cluster = blend.influences[0].bone;
            }
            binding.transform = clusterTransform[static_cast<std::size_t>(cluster)];
            binding.bone = boneOfCluster(cluster);
        }
        return true;
    }

    int boneOfCluster(int cluster) const {
        const FbxCluster& linked = scene_.clusters[static_cast<std::size_t>(cluster)];
        return skeleton_.boneOfNode[static_cast<std::size_t>(linked.model)];
    }

    // The point's four heaviest clusters, renormalised; joints here are cluster indices.
    VertexInfluences blendedInfluences(const FbxSkinInfluences& influences, std::size_t point) {
        pairs_.clear();
        for (std::size_t i = influences.first[point]; i < influences.first[point + 1]; ++i) {
            pairs_.push_back({static_cast<std::int32_t>(influences.cluster[i]),
                              static_cast<float>(influences.weight[i])});
        }
        VertexInfluences kept;
        if (keepHeaviestInfluences(pairs_, kept)) ++mesh_.trimmedVertexCount;
        return kept;
    }

    // Records a weighted vertex's bones and weights, its clusters turned into their joints' bones.
    void keepInfluences(std::size_t vertex, const VertexInfluences& clusterInfluences) {
        if (mesh_.influences.size() <= vertex) mesh_.influences.resize(vertex + 1);
        VertexInfluences& kept = mesh_.influences[vertex];
        kept = clusterInfluences;
        for (int k = 0; k < kept.count; ++k)
            kept.influences[k].bone = boneOfCluster(kept.influences[k].bone);
        ++mesh_.blendedVertexCount;
    }

    // The normal of corner `corner` of polygon `polygon` at point `point`, in the file.
    bool fileNormal(const FbxGeometry& geometry, std::size_t corner, std::size_t polygon,
                    std::size_t point, Point3d& normal) {
        const std::string& mapping = geometry.normalMapping;
        std::size_t index = 0;
        if (mapping == "ByPolygonVertex") {
            index = corner;
        } else if (mapping == "ByVertice" || mapping == "ByVertex") {
            index = point;
        } else if (mapping == "ByPolygon") {
            index = polygon;
        } else if (mapping != "AllSame") {
            return fail(error_, where_, "normal mapping '" + mapping + "' is not one Vorel reads");
        }
        if (geometry.normalReference == "IndexToDirect") {
            if (index >= geometry.normalIndex.size())
                return fail(error_, where_, "NormalsIndex is shorter than its mapping needs");
            const std::int64_t direct = geometry.normalIndex[index];
            if (direct < 0) return fail(error_, where_, "a normal index is negative");
            index = static_cast<std::size_t>(direct);
        }
        if (index >= geometry.normals.size() / 3)
            return fail(error_, where_, "Normals is shorter than its mapping needs");
        normal = {geometry.normals[3 * index], geometry.normals[3 * index + 1],
                  geometry.normals[3 * index + 2]};
        return true;
    }

    bool addPolygons(const FbxGeometry& geometry, std::size_t first,
                     const std::vector<PointBinding>& bindings) {
        const std::vector<std::int64_t>& corners = geometry.polygonVertexIndex;
        const std::size_t points = bindings.size();
        const bool fileNormals = !geometry.normals.empty();
        normalMatrices_.clear();
        for (const AffineTransform& transform : transforms_)
            normalMatrices_.push_back(normalMatrix(transform));
        const std::size_t normalBase = mesh_.normals.size();
        std::vector<Point3d> pointNormals(fileNormals ? 0 : points);
        std::size_t polygonStart = 0;
        std::size_t polygon = 0;
        for (std::size_t c = 0; c < corners.size(); ++c) {
            const bool last = corners[c] < 0;
            const std::int64_t point = last ? -corners[c] - 1 : corners[c];
            if (static_cast<std::uint64_t>(point) >= points) {
                return fail(error_, where_,
                            "polygon corner " + std::to_string(c) + " names point " +
                                std::to_string(point) + ", past the " + std::to_string(points) +
                                " control points");
            }
            if (fileNormals) {
                Point3d normal;
                if (!fileNormal(geometry, c, polygon, static_cast<std::size_t>(point), normal))
                    return false;
                if (!(std::isfinite(normal.x) && std::isfinite(normal.y) &&
                      std::isfinite(normal.z)))
                    return fail(error_, where_, "a normal is not finite");
                const AffineTransform& turn = normalMatrices_[static_cast<std::size_t>(
                    bindings[static_cast<std::size_t>(point)].transform)];
                mesh_.normals.push_back(unitOrUp(turn.transformDirection(normal)));
            }
            if (!last) continue;
            addFan(corners, polygonStart, c + 1, first, normalBase, pointNormals);
            polygonStart = c + 1;
            ++polygon;
        }
        if (polygonStart != corners.size())
            return fail(error_, where_, "the last polygon has no end mark (a negative index)");
        for (const Point3d& normal : pointNormals) mesh_.normals.push_back(unitOrUp(normal));
        return true;
    }

    static std::size_t pointOf(std::int64_t corner) {
        return static_cast<std::size_t>(corner < 0 ? -corner - 1 : corner);
    }

    // Triangles (start, k, k + 1) over the polygon's corners [start, end); with no normals in
    // the file, each face's normal is summed into its points'.
    void addFan(const std::vector<std::int64_t>& corners, std::size_t start, std::size_t end,
                std::size_t first, std::size_t normalBase, std::vector<Point3d>& pointNormals) {
        for (std::size_t k = start + 1; k + 1 < end; ++k) {
            std::size_t triangle[3] = {start, k, k + 1};
            if (mirrored_) std::swap(triangle[1], triangle[2]);
            Face face;
            for (int corner = 0; corner < 4; ++corner) {
                const std::size_t c = triangle[corner < 3 ? corner : 2];
                const std::size_t point = first + pointOf(corners[c]);
                face.positionIndices[corner] = static_cast<std::int32_t>(point);
                face.normalIndices[corner] = static_cast<std::int32_t>(
                    pointNormals.empty() ? normalBase + c : normalBase + pointOf(corners[c]));
            }
            if (!pointNormals.empty()) {
                const Point3d a =
                    toPoint3d(mesh_.positions[static_cast<std::size_t>(face.positionIndices[0])]);
                const Point3d b =
                    toPoint3d(mesh_.positions[static_cast<std::size_t>(face.positionIndices[1])]);
                const Point3d d =
                    toPoint3d(mesh_.positions[static_cast<std::size_t>(face.positionIndices[2])]);
                const Point3d faceNormal = cross(difference(b, a), difference(d, a));
                for (int corner = 0; corner < 3; ++corner) {
                    Point3d& total =
                        pointNormals[static_cast<std::size_t>(face.positionIndices[corner]) -
                                     first];
                    total = sum(total, faceNormal);
                }
            }
            mesh_.faces.push_back(face);
        }
    }

    const FbxScene& scene_;
    const FbxRig& rig_;
    const FbxAxes& axes_;
    const ImportedSkeleton& skeleton_;
    const bool rigid_;
    ImportedMesh& mesh_;
    LoadError& error_;
    std::vector<AffineTransform> transforms_;
    // Per cluster of the scene, its rest transform (the identity for clusters of other skins).
    std::vector<AffineTransform> clusterTransforms_;
    std::vector<Influence> pairs_;
    std::vector<AffineTransform> normalMatrices_;
    std::string where_;
    bool mirrored_ = false;
};

}  // namespace

bool importFbxMesh(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                   const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh,
                   std::vector<std::string>& warnings, LoadError& error) {
    MeshBuilder builder(scene, rig, axes, skeleton, rigid, mesh, error);
    for (const FbxGeometry& geometry : scene.geometries) {
        if (geometry.model < 0) continue;
        if (!builder.add(geometry)) return false;
    }
    if (!mesh.influences.empty()) mesh.influences.resize(mesh.positions.size());
    warnTrimmedVertices(mesh.trimmedVertexCount, warnings);
    if (mesh.faces.empty()) {
        warnings.push_back("the scene has no polygon mesh");
    }
    return true;
}

}  // namespace vorel
