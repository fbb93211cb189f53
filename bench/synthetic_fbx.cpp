// Builds the synthetic FBX character record by record.
#include "bench/synthetic_fbx.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/fbx_test_writer.h"

namespace vorel {

namespace {

using namespace test_support;

constexpr double TicksPerSecond = 46186158000.0;
constexpr double PI = 3.14159265358979323846;

FbxNode property(const std::string& name, std::vector<FbxProperty> values) {
    std::vector<FbxProperty> all = {fbxText(name), fbxText(""), fbxText(""), fbxText("A")};
    all.insert(all.end(), values.begin(), values.end());
    return fbxNode("P", all);
}

FbxNode connection(std::int64_t child, std::int64_t parent, const std::string& target = "") {
    std::vector<FbxProperty> p = {fbxText(target.empty() ? "OO" : "OP"), fbxInteger(child),
                                  fbxInteger(parent)};
    if (!target.empty()) p.push_back(fbxText(target));
    return fbxNode("C", p);
}

FbxNode mesh(int side, int jointCount, std::vector<std::vector<std::int64_t>>& indexes,
             std::vector<std::vector<double>>& weights) {
    std::vector<double> vertices;
    std::vector<double> normals;
    std::vector<std::int64_t> polygons;
    for (int row = 0; row < side; ++row) {
        const double along = static_cast<double>(row) / side * (jointCount - 1);
        const int joint = static_cast<int>(along);
        const int next = std::min(joint + 1, jointCount - 1);
        const double share = (along - joint) * 0.5;
        for (int column = 0; column < side; ++column) {
            const std::int64_t v = static_cast<std::int64_t>(row) * side + column;
            vertices.insert(vertices.end(), {static_cast<double>(column) / side - 0.5,
                                             static_cast<double>(row) / side, 0.0});
            indexes[static_cast<std::size_t>(joint)].push_back(v);
            weights[static_cast<std::size_t>(joint)].push_back(1.0 - share);
            if (share > 0.0) {
                indexes[static_cast<std::size_t>(next)].push_back(v);
                weights[static_cast<std::size_t>(next)].push_back(share);
            }
        }
    }
    for (int row = 0; row + 1 < side; ++row) {
        for (int column = 0; column + 1 < side; ++column) {
            const std::int64_t corner = static_cast<std::int64_t>(row) * side + column;
            const std::int64_t up = corner + side;
            polygons.insert(polygons.end(), {corner, corner + 1, up + 1, -up - 1});
            for (int k = 0; k < 4; ++k) normals.insert(normals.end(), {0.0, 0.0, 1.0});
        }
    }
    return fbxNode("Geometry", {fbxInteger(2), fbxText("Body"), fbxText("Mesh")},
                   {fbxNode("Vertices", {fbxReals(vertices)}),
                    fbxNode("PolygonVertexIndex", {fbxIntegers(polygons)}),
                    fbxNode("LayerElementNormal", {fbxInteger(0)},
                            {fbxNode("MappingInformationType", {fbxText("ByPolygonVertex")}),
                             fbxNode("ReferenceInformationType", {fbxText("Direct")}),
                             fbxNode("Normals", {fbxReals(normals)})})});
}

}  // namespace

std::string makeSyntheticFbx(int side, int jointCount, int keyCount) {
    FbxNode objects = fbxNode("Objects");
    FbxNode connections = fbxNode("Connections");
    std::vector<std::vector<std::int64_t>> indexes(static_cast<std::size_t>(jointCount));
    std::vector<std::vector<double>> weights(static_cast<std::size_t>(jointCount));
    objects.children.push_back(mesh(side, jointCount, indexes, weights));
    objects.children.push_back(fbxNode("Model", {fbxInteger(1), fbxText("Body"), fbxText("Mesh")}));
    objects.children.push_back(
        fbxNode("Deformer", {fbxInteger(3), fbxText("Skin"), fbxText("Skin")}));
    connections.children.push_back(connection(1, 0));
    connections.children.push_back(connection(2, 1));
    connections.children.push_back(connection(3, 2));
    const std::int64_t stack = 4;
    const std::int64_t layer = 5;
    const std::int64_t stop = std::llround((keyCount - 1) / 30.0 * TicksPerSecond);
    objects.children.push_back(fbxNode("AnimationStack",
                                       {fbxInteger(stack), fbxText("Sway"), fbxText("")},
                                       {fbxNode("Properties70", {},
                                                {property("LocalStart", {fbxInteger(0)}),
                                                 property("LocalStop", {fbxInteger(stop)})})}));
    objects.children.push_back(
        fbxNode("AnimationLayer", {fbxInteger(layer), fbxText("Base"), fbxText("")}));
    connections.children.push_back(connection(layer, stack));
    std::vector<std::int64_t> times;
    for (int k = 0; k < keyCount; ++k) times.push_back(std::llround(k / 30.0 * TicksPerSecond));
    const double spacing = 1.0 / (jointCount - 1);
    for (int j = 0; j < jointCount; ++j) {
        const std::int64_t model = 100 + 4 * j;
        const std::int64_t cluster = model + 1;
        const std::int64_t node = model + 2;
        const std::int64_t curve = model + 3;
        objects.children.push_back(fbxNode(
            "Model", {fbxInteger(model), fbxText("Joint" + std::to_string(j)), fbxText("LimbNode")},
            {fbxNode("Properties70", {},
                     {property("Lcl Translation",
                               {fbxReal(0.0), fbxReal(j == 0 ? 0.0 : spacing), fbxReal(0.0)})})}));
        connections.children.push_back(connection(model, j == 0 ? 0 : model - 4));
        const double y = spacing * j;
        objects.children.push_back(fbxNode(
            "Deformer", {fbxInteger(cluster), fbxText("Cluster"), fbxText("Cluster")},
            {fbxNode("Indexes", {fbxIntegers(indexes[static_cast<std::size_t>(j)])}),
             fbxNode("Weights", {fbxReals(weights[static_cast<std::size_t>(j)])}),
             fbxNode("Transform", {fbxReals({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})}),
             fbxNode("TransformLink",
                     {fbxReals({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, y, 0, 1})})}));
        connections.children.push_back(connection(cluster, 3));
        connections.children.push_back(connection(model, cluster));
        objects.children.push_back(
            fbxNode("AnimationCurveNode", {fbxInteger(node), fbxText("R"), fbxText("")}));
        connections.children.push_back(connection(node, layer));
        connections.children.push_back(connection(node, model, "Lcl Rotation"));
        std::vector<double> degrees;
        for (int k = 0; k < keyCount; ++k)
            degrees.push_back(0.05 * std::sin(0.3 * k + 0.1 * static_cast<double>(model)) * 180.0 /
                              PI);
        objects.children.push_back(
            fbxNode("AnimationCurve", {fbxInteger(curve), fbxText(""), fbxText("")},
                    {fbxNode("KeyTime", {fbxIntegers(times)}),
                     fbxNode("KeyValueFloat", {fbxReals(degrees)}),
                     fbxNode("KeyAttrFlags", {fbxIntegers({0x04})}),
                     fbxNode("KeyAttrDataFloat", {fbxReals({0.0, 0.0, 0.0, 0.0})}),
                     fbxNode("KeyAttrRefCount", {fbxIntegers({keyCount})})}));
        connections.children.push_back(connection(curve, node, "d|Z"));
    }
    FbxNode root;
    root.children.push_back(
        fbxNode("FBXHeaderExtension", {}, {fbxNode("FBXVersion", {fbxInteger(7400)})}));
    root.children.push_back(objects);
    root.children.push_back(connections);
    return writeFbxBinary(root, {7400, true});
}

}  // namespace vorel
