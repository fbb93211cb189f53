// Builds the character's records; ids are small integers handed out in order.
#include "tests/support/fbx_test_character.h"

#include <cmath>

#include "fbx/fbx_scene.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel::test_support {

namespace {

class CharacterWriter {
  public:
    explicit CharacterWriter(const FbxCharacterLayout& layout) : spec_(layout) {}

    FbxNode build() {
        FbxNode root;
        root.children.push_back(fbxNode("FBXHeaderExtension", {},
                                        {fbxNode("FBXHeaderVersion", {fbxInteger(1003)}),
                                         fbxNode("FBXVersion", {fbxInteger(7400)})}));
        root.children.push_back(globalSettings());
        FbxNode objects = fbxNode("Objects");
        FbxNode connections = fbxNode("Connections");
        std::vector<std::int64_t> jointIds;
        for (std::size_t j = 0; j < spec_.joints.size(); ++j) {
            const FbxJointLayout& joint = spec_.joints[j];
            const std::int64_t id = nextId();
            jointIds.push_back(id);
            objects.children.push_back(jointModel(joint, id));
            connect(connections, id,
                    joint.parent < 0 ? 0 : jointIds[static_cast<std::size_t>(joint.parent)]);
        }
        addMesh(objects, connections, jointIds);
        for (const FbxStackLayout& stack : spec_.stacks)
            addStack(objects, connections, stack, jointIds);
        root.children.push_back(objects);
        root.children.push_back(connections);
        return root;
    }

  private:
    std::int64_t nextId() { return ++lastId_ * 1000 + 7; }

    std::string name(const std::string& object, const std::string& kind) const {
        return spec_.binaryNames ? object + std::string("\0\1", 2) + kind : kind + "::" + object;
    }

    static FbxNode property(const std::string& name, const std::string& type,
                            std::vector<FbxProperty> values) {
        std::vector<FbxProperty> all = {fbxText(name), fbxText(type), fbxText(""), fbxText("A")};
        all.insert(all.end(), values.begin(), values.end());
        return fbxNode("P", all);
    }

    static FbxNode vector(const std::string& name, const double v[3]) {
        return property(name, "Vector3D", {fbxReal(v[0]), fbxReal(v[1]), fbxReal(v[2])});
    }

    static void connect(FbxNode& connections, std::int64_t child, std::int64_t parent,
                        const std::string& property = "") {
        std::vector<FbxProperty> p = {fbxText(property.empty() ? "OO" : "OP"), fbxInteger(child),
                                      fbxInteger(parent)};
        if (!property.empty()) p.push_back(fbxText(property));
        connections.children.push_back(fbxNode("C", p));
    }

    FbxNode globalSettings() const {
        auto integer = [](const std::string& name, int value) {
            return property(name, "int", {fbxInteger(value)});
        };
        return fbxNode(
            "GlobalSettings", {},
            {fbxNode("Version", {fbxInteger(1000)}),
             fbxNode(
                 "Properties70", {},
                 {integer("UpAxis", spec_.upAxis), integer("UpAxisSign", spec_.upSign),
                  integer("FrontAxis", spec_.frontAxis), integer("FrontAxisSign", spec_.frontSign),
                  integer("CoordAxis", spec_.coordAxis), integer("CoordAxisSign", 1),
                  property("UnitScaleFactor", "double", {fbxReal(spec_.unitScaleFactor)}),
                  integer("TimeMode", 6)})});
    }

    FbxNode jointModel(const FbxJointLayout& joint, std::int64_t id) const {
        const double undo[3] = {-joint.preRotation[0], -joint.preRotation[1],
                                -joint.preRotation[2]};
        std::vector<FbxNode> properties = {
            vector("Lcl Translation", joint.translation),
            vector("PreRotation", joint.preRotation),
            vector("Lcl Rotation", undo),
            vector("RotationPivot", joint.rotationPivot),
            property("RotationOrder", "enum", {fbxInteger(joint.rotationOrder)}),
            property("InheritType", "enum", {fbxInteger(1)})};
        return fbxNode(
            "Model", {fbxInteger(id), fbxText(name(joint.name, "Model")), fbxText("LimbNode")},
            {fbxNode("Version", {fbxInteger(232)}), fbxNode("Properties70", {}, properties)});
    }

    void addMesh(FbxNode& objects, FbxNode& connections,
                 const std::vector<std::int64_t>& jointIds) {
        std::vector<int> deforming;
        for (std::size_t j = 0; j < spec_.joints.size(); ++j) {
            if (spec_.joints[j].deforms) deforming.push_back(static_cast<int>(j));
        }
        std::vector<double> vertices;
        std::vector<std::vector<std::int64_t>> indexes(deforming.size());
        std::vector<std::vector<double>> weights(deforming.size());
        std::vector<std::int64_t> polygons;
        std::vector<double> normals;
        auto addRing = [&](int joint, int ring) {
            const std::int64_t first = static_cast<std::int64_t>(vertices.size() / 3);
            for (int corner = 0; corner < 4; ++corner) {
                double p[3];
                fbxRingVertex(spec_, joint, ring, corner, p);
                for (int k = 0; k < 3; ++k) vertices.push_back(p[k] - spec_.meshTranslation[k]);
            }
            return first;
        };
        auto addQuad = [&](std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
            polygons.insert(polygons.end(), {a, b, c, -d - 1});
            for (int k = 0; k < 4; ++k) normals.insert(normals.end(), {0.0, 0.0, 1.0});
        };
        std::int64_t previous = -1;
        for (std::size_t d = 0; d < deforming.size(); ++d) {
            for (int ring = 0; ring < spec_.ringsPerJoint; ++ring) {
                const std::int64_t first = addRing(deforming[d], ring);
                for (int corner = 0; corner < 4; ++corner) {
                    indexes[d].push_back(first + corner);
                    weights[d].push_back(1.0);
                }
                if (previous >= 0) {
                    for (int k = 0; k < 4; ++k)
                        addQuad(previous + k, previous + (k + 1) % 4, first + (k + 1) % 4,
                                first + k);
                }
                previous = first;
            }
        }
        // A cap over the last ring, as one pentagon with the ring's centre point too.
        if (previous >= 0) {
            polygons.insert(polygons.end(),
                            {previous, previous + 1, previous + 2, -(previous + 3) - 1});
            for (int k = 0; k < 4; ++k) normals.insert(normals.end(), {0.0, 1.0, 0.0});
        }
        if (spec_.sharedRing && !deforming.empty()) {
            const std::int64_t first = addRing(deforming[0], spec_.ringsPerJoint);
            const double rest =
                0.4 / static_cast<double>(std::max<std::size_t>(deforming.size() - 1, 1));
            for (std::size_t d = 0; d < deforming.size(); ++d) {
                for (int corner = 0; corner < 4; ++corner) {
                    indexes[d].push_back(first + corner);
                    weights[d].push_back(d == 0 ? 0.6 : rest);
                }
            }
            polygons.insert(polygons.end(), {first, first + 1, first + 2, -(first + 3) - 1});
            for (int k = 0; k < 4; ++k) normals.insert(normals.end(), {0.0, -1.0, 0.0});
        }
        const std::int64_t geometryId = nextId();
        objects.children.push_back(
            fbxNode("Geometry",
                    {fbxInteger(geometryId), fbxText(name("Body", "Geometry")), fbxText("Mesh")},
                    {fbxNode("Vertices", {fbxReals(vertices)}),
                     fbxNode("PolygonVertexIndex", {fbxIntegers(polygons)}),
                     fbxNode("LayerElementNormal", {fbxInteger(0)},
                             {fbxNode("MappingInformationType", {fbxText("ByPolygonVertex")}),
                              fbxNode("ReferenceInformationType", {fbxText("Direct")}),
                              fbxNode("Normals", {fbxReals(normals)})})}));
        const std::int64_t meshId = nextId();
        objects.children.push_back(fbxNode(
            "Model", {fbxInteger(meshId), fbxText(name("Body", "Model")), fbxText("Mesh")},
            {fbxNode("Properties70", {}, {vector("Lcl Translation", spec_.meshTranslation)})}));
        connect(connections, meshId, 0);
        connect(connections, geometryId, meshId);
        const std::int64_t skinId = nextId();
        objects.children.push_back(fbxNode(
            "Deformer", {fbxInteger(skinId), fbxText(name("Skin", "Deformer")), fbxText("Skin")}));
        connect(connections, skinId, geometryId);
        for (std::size_t d = 0; d < deforming.size(); ++d) {
            const int joint = deforming[d];
            double origin[3];
            fbxJointOrigin(spec_, joint, origin);
            double clusterTransform[3];
            for (int k = 0; k < 3; ++k) {
                clusterTransform[k] =
                    spec_.meshTranslation[k] - (spec_.transformInJointSpace ? origin[k] : 0.0);
            }
            const std::int64_t clusterId = nextId();
            objects.children.push_back(fbxNode(
                "Deformer",
                {fbxInteger(clusterId),
                 fbxText(name("Cluster " + spec_.joints[static_cast<std::size_t>(joint)].name,
                              "SubDeformer")),
                 fbxText("Cluster")},
                {fbxNode("Indexes", {fbxIntegers(indexes[d])}),
                 fbxNode("Weights", {fbxReals(weights[d])}),
                 fbxNode("Transform", {fbxReals(translationMatrix(clusterTransform))}),
                 fbxNode("TransformLink", {fbxReals(translationMatrix(origin))})}));
            connect(connections, clusterId, skinId);
            connect(connections, jointIds[static_cast<std::size_t>(joint)], clusterId);
        }
    }

    static std::vector<double> translationMatrix(const double t[3]) {
        return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t[0], t[1], t[2], 1};
    }

    static std::int64_t ticks(double seconds) {
        return static_cast<std::int64_t>(std::llround(seconds * FbxTicksPerSecond));
    }

    void addStack(FbxNode& objects, FbxNode& connections, const FbxStackLayout& stack,
                  const std::vector<std::int64_t>& jointIds) {
        const std::int64_t stackId = nextId();
        objects.children.push_back(fbxNode(
            "AnimationStack",
            {fbxInteger(stackId), fbxText(name(stack.name, "AnimStack")), fbxText("")},
            {fbxNode("Properties70", {},
                     {property("LocalStart", "KTime", {fbxInteger(ticks(stack.localStart))}),
                      property("LocalStop", "KTime", {fbxInteger(ticks(stack.localStop))})})}));
        const std::int64_t layerId = nextId();
        objects.children.push_back(
            fbxNode("AnimationLayer",
                    {fbxInteger(layerId), fbxText(name("Base", "AnimLayer")), fbxText("")}));
        connect(connections, layerId, stackId);
        // One curve node per joint and channel, holding the curve of each axis given.
        std::vector<std::pair<std::string, std::int64_t>> nodes;
        for (const FbxCurveLayout& curve : stack.curves) {
            const std::string key = std::to_string(curve.joint) + curve.channel;
            std::int64_t nodeId = 0;
            for (const auto& node : nodes) nodeId = node.first == key ? node.second : nodeId;
            if (nodeId == 0) {
                nodeId = nextId();
                nodes.emplace_back(key, nodeId);
                objects.children.push_back(
                    fbxNode("AnimationCurveNode",
                            {fbxInteger(nodeId), fbxText(name(curve.channel, "AnimCurveNode")),
                             fbxText("")}));
                connect(connections, nodeId, layerId);
                const std::string target = curve.channel == "T"   ? "Lcl Translation"
                                           : curve.channel == "R" ? "Lcl Rotation"
                                                                  : "Lcl Scaling";
                connect(connections, nodeId, jointIds[static_cast<std::size_t>(curve.joint)],
                        target);
            }
            std::vector<std::int64_t> times;
            for (double s : curve.seconds) times.push_back(ticks(stack.localStart + s));
            const std::int64_t curveId = nextId();
            objects.children.push_back(
                fbxNode("AnimationCurve",
                        {fbxInteger(curveId), fbxText(name("", "AnimCurve")), fbxText("")},
                        {fbxNode("Default", {fbxReal(0.0)}), fbxNode("KeyVer", {fbxInteger(4008)}),
                         fbxNode("KeyTime", {fbxIntegers(times)}),
                         fbxNode("KeyValueFloat", {fbxReals(curve.values)}),
                         fbxNode("KeyAttrFlags", {fbxIntegers({curve.flags})}),
                         fbxNode("KeyAttrDataFloat", {fbxReals({0.0, 0.0, 0.0, 0.0})}),
                         fbxNode("KeyAttrRefCount",
                                 {fbxIntegers({static_cast<std::int64_t>(times.size())})})}));
            const char* axes[3] = {"d|X", "d|Y", "d|Z"};
            connect(connections, curveId, nodeId, axes[curve.axis]);
        }
    }

    const FbxCharacterLayout& spec_;
    std::int64_t lastId_ = 0;
};

}  // namespace

FbxCharacterLayout armCharacterLayout() {
    FbxCharacterLayout layout;
    FbxJointLayout hips;
    hips.name = "Hips";
    hips.translation[1] = 1.0;
    FbxJointLayout spine;
    spine.name = "Spine";
    spine.parent = 0;
    spine.translation[1] = 1.0;
    FbxJointLayout head = spine;
    head.name = "Head";
    head.parent = 1;
    layout.joints = {hips, spine, head};
    FbxStackLayout bend;
    bend.name = "Bend";
    FbxCurveLayout turn;
    turn.joint = 1;
    turn.axis = 2;
    turn.seconds = {0.0, 1.0};
    turn.values = {0.0, 90.0};
    bend.curves = {turn};
    layout.stacks = {bend};
    return layout;
}

FbxCharacterLayout fiveInfluenceLayout() {
    FbxCharacterLayout layout = armCharacterLayout();
    FbxJointLayout root;
    root.name = "mixamorig:Root";
    root.deforms = false;
    layout.joints.insert(layout.joints.begin(), root);
    for (std::size_t j = 1; j < layout.joints.size(); ++j) {
        layout.joints[j].name = "mixamorig:" + layout.joints[j].name;
        layout.joints[j].parent += 1;
    }
    layout.stacks[0].curves[0].joint = 2;
    for (const char* arm : {"mixamorig:LeftArm", "mixamorig:RightArm"}) {
        FbxJointLayout joint;
        joint.name = arm;
        joint.parent = 2;
        joint.translation[0] = arm[10] == 'L' ? 0.5 : -0.5;
        layout.joints.push_back(joint);
    }
    return layout;
}

FbxNode buildFbxCharacter(const FbxCharacterLayout& layout) {
    return CharacterWriter(layout).build();
}

void fbxJointOrigin(const FbxCharacterLayout& layout, int joint, double origin[3]) {
    origin[0] = origin[1] = origin[2] = 0.0;
    for (int at = joint; at >= 0; at = layout.joints[static_cast<std::size_t>(at)].parent) {
        for (int k = 0; k < 3; ++k)
            origin[k] += layout.joints[static_cast<std::size_t>(at)].translation[k];
    }
}

void fbxRingVertex(const FbxCharacterLayout& layout, int joint, int ring, int corner,
                   double out[3]) {
    fbxJointOrigin(layout, joint, out);
    // Up is the file's up axis; the ring lies across the other two.
    const int up = layout.upAxis;
    const int a = (up + 1) % 3;
    const int b = (up + 2) % 3;
    out[up] += layout.upSign * (0.5 + 0.1 * ring);
    out[a] += corner == 0 || corner == 3 ? 0.2 : -0.2;
    out[b] += corner < 2 ? 0.2 : -0.2;
}

}  // namespace vorel::test_support
