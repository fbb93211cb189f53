// FbxScene: what Vorel uses of an FBX file's objects, read from the node tree and linked by
// the file's connections: models with their transform properties, mesh geometry, skins and
// their clusters, animation stacks with their curves, and the global axis and unit settings.
// Indices link the parts; -1 means none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/affine_transform.h"

namespace vorel {

// A model's transform properties as the file gives them; angles in degrees.
struct FbxTransformValues {
    Point3d translation;
    Point3d rotation;
    Point3d scaling{1.0, 1.0, 1.0};
    Point3d preRotation;
    Point3d postRotation;
    Point3d rotationOffset;
    Point3d rotationPivot;
    Point3d scalingOffset;
    Point3d scalingPivot;
    // Applied to the model's geometry only, never inherited.
    Point3d geometricTranslation;
    Point3d geometricRotation;
    Point3d geometricScaling{1.0, 1.0, 1.0};
    // 0 XYZ (X turns first), 1 XZY, 2 YZX, 3 YXZ, 4 ZXY, 5 ZYX.
    int rotationOrder = 0;
    // 0 RrSs, 1 RSrs, 2 Rrs.
    int inheritType = 1;
};

struct FbxModel {
    std::int64_t id = 0;
    std::string name;
    // LimbNode, Root, Null, Mesh, ...
    std::string type;
    int parent = -1;
    FbxTransformValues transform;
};

struct FbxGeometry {
    std::int64_t id = 0;
    int model = -1;
    // x, y, z per control point.
    std::vector<double> vertices;
    // Control points per polygon corner, the last of each polygon stored as -index - 1.
    std::vector<std::int64_t> polygonVertexIndex;
    std::vector<double> normals;
    std::vector<std::int64_t> normalIndex;
    // ByPolygonVertex, ByVertice (or ByVertex), ByPolygon, AllSame; Direct or IndexToDirect.
    std::string normalMapping;
    std::string normalReference;
    int skin = -1;
};

struct FbxCluster {
    int model = -1;
    std::vector<std::int64_t> indexes;
    std::vector<double> weights;
    // The mesh's and the bone's global matrices when the skin was bound.
    AffineTransform transform;
    AffineTransform transformLink;
    // False when the file gives no TransformLink: the bone then binds where the file puts it.
    bool hasTransformLink = false;
};

struct FbxSkin {
    int geometry = -1;
    std::vector<int> clusters;
};

// Key interpolation of a curve segment.
enum class FbxInterpolation : std::uint8_t { Constant, Linear, Cubic };

struct FbxCurve {
    // In FBX ticks (FbxTicksPerSecond), increasing.
    std::vector<std::int64_t> times;
    std::vector<double> values;
    // Per key: how the segment after it runs, and for cubic ones the tangents at both ends in
    // value per second.
    std::vector<FbxInterpolation> interpolation;
    std::vector<double> rightSlope;
    std::vector<double> nextLeftSlope;
};

enum class FbxChannel { Translation, Rotation, Scaling };

struct FbxCurveNode {
    int model = -1;
    FbxChannel channel = FbxChannel::Translation;
    // A component without a curve keeps the model's own value.
    int curves[3] = {-1, -1, -1};
};

struct FbxStack {
    std::string name;
    // In ticks; when the file gives none, the span of its curves' keys.
    std::int64_t localStart = 0;
    std::int64_t localStop = 0;
    std::vector<int> curveNodes;
};

struct FbxGlobalSettings {
    // Axis 0 x, 1 y, 2 z; sign +1 or -1.
    int upAxis = 1;
    int upSign = 1;
    int frontAxis = 2;
    int frontSign = 1;
    int coordAxis = 0;
    int coordSign = 1;
    // Centimetres per file unit.
    double unitScaleFactor = 1.0;
    // Frames per second of the file's time mode (for sampling between keys).
    double frameRate = 30.0;
};

constexpr double FbxTicksPerSecond = 46186158000.0;

struct FbxScene {
    FbxGlobalSettings settings;
    std::vector<FbxModel> models;
    std::vector<FbxGeometry> geometries;
    std::vector<FbxCluster> clusters;
    std::vector<FbxSkin> skins;
    std::vector<FbxCurve> curves;
    std::vector<FbxCurveNode> curveNodes;
    std::vector<FbxStack> stacks;
    // One line per kind of object the import skips (cameras, lights, materials, ...).
    std::vector<std::string> skipped;
};

}  // namespace vorel
