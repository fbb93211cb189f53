// One model per joint, one curve node per animated channel kind, one curve per channel.
#include "tests/support/fbx_from_capture.h"

#include <cmath>

#include "fbx/fbx_scene.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel::test_support {

namespace {

FbxNode property(const std::string& name, const std::string& type,
                 std::vector<FbxProperty> values) {
    std::vector<FbxProperty> all = {fbxText(name), fbxText(type), fbxText(""), fbxText("A")};
    all.insert(all.end(), values.begin(), values.end());
    return fbxNode("P", all);
}

FbxNode connection(std::int64_t child, std::int64_t parent, const std::string& target = "") {
    std::vector<FbxProperty> p = {fbxText(target.empty() ? "OO" : "OP"), fbxInteger(child),
                                  fbxInteger(parent)};
    if (!target.empty()) p.push_back(fbxText(target));
    return fbxNode("C", p);
}

// The FBX order whose axes turn as the joint's rotation channels do: BVH applies the last
// listed channel first.
int rotationOrder(const BvhJoint& joint) {
    int turns[3];
    int n = 0;
    for (std::size_t c = joint.channels.size(); c-- > 0;) {
        const BvhChannel channel = joint.channels[c];
        if (channel >= BvhChannel::Xrotation && n < 3)
            turns[n++] = static_cast<int>(channel) - static_cast<int>(BvhChannel::Xrotation);
    }
    if (n < 3) return 0;
    static const int Orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0},
                                     {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};
    for (int order = 0; order < 6; ++order) {
        if (Orders[order][0] == turns[0] && Orders[order][1] == turns[1] &&
            Orders[order][2] == turns[2])
            return order;
    }
    return 0;
}

}  // namespace

FbxNode fbxFromCapture(const BvhMotion& motion, const std::string& prefix) {
    FbxNode root;
    root.children.push_back(
        fbxNode("FBXHeaderExtension", {}, {fbxNode("FBXVersion", {fbxInteger(7400)})}));
    root.children.push_back(fbxNode(
        "GlobalSettings", {},
        {fbxNode("Properties70", {},
                 {property("TimeMode", "enum", {fbxInteger(14)}),
                  property("CustomFrameRate", "double", {fbxReal(1.0 / motion.frameTime)})})}));
    FbxNode objects = fbxNode("Objects");
    FbxNode connections = fbxNode("Connections");
    std::int64_t nextId = 100;
    const std::int64_t stack = ++nextId;
    const std::int64_t layer = ++nextId;
    const std::int64_t stop =
        std::llround((motion.frameCount - 1) * motion.frameTime * FbxTicksPerSecond);
    objects.children.push_back(
        fbxNode("AnimationStack", {fbxInteger(stack), fbxText("Take"), fbxText("")},
                {fbxNode("Properties70", {},
                         {property("LocalStart", "KTime", {fbxInteger(0)}),
                          property("LocalStop", "KTime", {fbxInteger(stop)})})}));
    objects.children.push_back(
        fbxNode("AnimationLayer", {fbxInteger(layer), fbxText("Base"), fbxText("")}));
    connections.children.push_back(connection(layer, stack));
    std::vector<std::int64_t> times;
    for (int f = 0; f < motion.frameCount; ++f)
        times.push_back(std::llround(f * motion.frameTime * FbxTicksPerSecond));
    std::vector<std::int64_t> jointIds;
    for (const BvhJoint& joint : motion.joints) {
        const std::int64_t id = ++nextId;
        jointIds.push_back(id);
        const double offset[3] = {joint.offset.x, joint.offset.y, joint.offset.z};
        objects.children.push_back(fbxNode(
            "Model",
            {fbxInteger(id), fbxText(prefix + joint.name + std::string("\0\1Model", 7)),
             fbxText("LimbNode")},
            {fbxNode("Properties70", {},
                     {property("Lcl Translation", "Lcl Translation",
                               {fbxReal(offset[0]), fbxReal(offset[1]), fbxReal(offset[2])}),
                      property("RotationOrder", "enum", {fbxInteger(rotationOrder(joint))})})}));
        connections.children.push_back(connection(
            id, joint.parent < 0 ? 0 : jointIds[static_cast<std::size_t>(joint.parent)]));
        std::int64_t nodes[2] = {0, 0};
        for (std::size_t c = 0; c < joint.channels.size(); ++c) {
            const int channel = static_cast<int>(joint.channels[c]);
            const int kind = channel < 3 ? 0 : 1;
            const int axis = channel % 3;
            if (nodes[kind] == 0) {
                nodes[kind] = ++nextId;
                objects.children.push_back(fbxNode(
                    "AnimationCurveNode",
                    {fbxInteger(nodes[kind]), fbxText(kind == 0 ? "T" : "R"), fbxText("")}));
                connections.children.push_back(connection(nodes[kind], layer));
                connections.children.push_back(
                    connection(nodes[kind], id, kind == 0 ? "Lcl Translation" : "Lcl Rotation"));
            }
            std::vector<double> values;
            for (int f = 0; f < motion.frameCount; ++f) {
                const double value =
                    motion.values[static_cast<std::size_t>(f) *
                                      static_cast<std::size_t>(motion.valuesPerFrame) +
                                  static_cast<std::size_t>(joint.firstValue) + c];
                values.push_back(kind == 0 ? offset[axis] + value : value);
            }
            const std::int64_t curve = ++nextId;
            objects.children.push_back(
                fbxNode("AnimationCurve", {fbxInteger(curve), fbxText(""), fbxText("")},
                        {fbxNode("KeyTime", {fbxIntegers(times)}),
                         fbxNode("KeyValueFloat", {fbxReals(values)}),
                         fbxNode("KeyAttrFlags", {fbxIntegers({0x04})}),
                         fbxNode("KeyAttrDataFloat", {fbxReals({0.0, 0.0, 0.0, 0.0})}),
                         fbxNode("KeyAttrRefCount",
                                 {fbxIntegers({static_cast<std::int64_t>(times.size())})})}));
            const char* components[3] = {"d|X", "d|Y", "d|Z"};
            connections.children.push_back(connection(curve, nodes[kind], components[axis]));
        }
    }
    root.children.push_back(objects);
    root.children.push_back(connections);
    return root;
}

}  // namespace vorel::test_support
