// Builds the test characters: bind pose from node transforms, inverse bind matrices from the
// bind globals, skinned meshes around the joints, and their animations.
#include "tests/support/gltf_test_character.h"

#include <algorithm>
#include <cmath>

#include "convert/affine_transform.h"
#include "math/pi.h"

namespace vorel::test_support {

namespace {

Quaternion4d turn(double degrees, double x, double y, double z) {
    const double half = 0.5 * degrees * Pi / 180.0;
    return {x * std::sin(half), y * std::sin(half), z * std::sin(half), std::cos(half)};
}

std::vector<double> components(const Quaternion4d& q) {
    return {q.x, q.y, q.z, q.w};
}

std::vector<float> floats(const std::vector<Quaternion4d>& keys) {
    std::vector<float> values;
    for (const Quaternion4d& q : keys) {
        values.insert(values.end(), {static_cast<float>(q.x), static_cast<float>(q.y),
                                     static_cast<float>(q.z), static_cast<float>(q.w)});
    }
    return values;
}

TrsTransform trsOf(const tinygltf::Node& node) {
    TrsTransform trs;
    if (node.translation.size() == 3)
        trs.translation = {node.translation[0], node.translation[1], node.translation[2]};
    if (node.rotation.size() == 4)
        trs.rotation = {node.rotation[0], node.rotation[1], node.rotation[2], node.rotation[3]};
    if (node.scale.size() == 3) trs.scale = {node.scale[0], node.scale[1], node.scale[2]};
    return trs;
}

// The node's global at bind, walking up through the given chain of ancestors (root first).
AffineTransform globalOf(const tinygltf::Model& model, const std::vector<int>& chain) {
    AffineTransform global;
    for (int node : chain) {
        global = AffineTransform::compose(
            AffineTransform::fromTrs(trsOf(model.nodes[static_cast<std::size_t>(node)])), global);
    }
    return global;
}

std::vector<float> columnMajor(const AffineTransform& t) {
    std::vector<float> values(16, 0.0f);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r)
            values[static_cast<std::size_t>(4 * c + r)] = static_cast<float>(t.linear[r][c]);
    }
    values[12] = static_cast<float>(t.translation.x);
    values[13] = static_cast<float>(t.translation.y);
    values[14] = static_cast<float>(t.translation.z);
    values[15] = 1.0f;
    return values;
}

// A box around a joint's +Z axis (in the joint's own frame), 8 corners and 12 triangles,
// each corner given `weights` over the skin's joints (bottom corners `bottomWeights`).
void addJointBox(const AffineTransform& global, const std::vector<float>& topWeights,
                 const std::vector<float>& bottomWeights, PrimitiveData& body) {
    const std::uint32_t first = static_cast<std::uint32_t>(body.positions.size() / 3);
    for (int corner = 0; corner < 8; ++corner) {
        const Point3d local{corner & 1 ? 0.15 : -0.15, corner & 2 ? 0.15 : -0.15,
                            corner & 4 ? 0.9 : 0.1};
        const Point3d world = global.transformPoint(local);
        body.positions.insert(body.positions.end(),
                              {static_cast<float>(world.x), static_cast<float>(world.y),
                               static_cast<float>(world.z)});
        const std::vector<float>& weights = corner & 4 ? topWeights : bottomWeights;
        for (std::uint32_t j = 0; j < 4; ++j) {
            body.joints.push_back(j);
            body.weights.push_back(j < weights.size() ? weights[j] : 0.0f);
        }
    }
    // Faces of the box, counter-clockwise from outside, as corner numbers (bit 0 x, 1 y, 2 z).
    const std::uint32_t faces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6},
                                        {0, 1, 4}, {1, 5, 4}, {2, 6, 3}, {3, 6, 7},
                                        {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& face : faces) {
        for (std::uint32_t corner : face) body.indices.push_back(first + corner);
    }
}

void setTrs(tinygltf::Node& node, const std::vector<double>& translation,
            const Quaternion4d& rotation, double scale = 1.0) {
    node.translation = translation;
    node.rotation = components(rotation);
    if (scale != 1.0) node.scale = {scale, scale, scale};
}

void addWave(ArmCharacter& arm) {
    GltfBuilder& b = arm.builder;
    const int wave = b.addAnimation("Wave");
    const std::vector<float> times = {0.0f, 0.5f, 1.0f};
    const Quaternion4d upright = turn(-90, 1, 0, 0);
    // The armature turns about the world's vertical axis: channels above the joints fold in.
    b.addChannel(wave, arm.armature, "rotation", times,
                 floats({upright, hamiltonProduct(turn(40, 0, 1, 0), upright),
                         hamiltonProduct(turn(80, 0, 1, 0), upright)}));
    // in-tangent, value, out-tangent per key
    b.addChannel(wave, arm.hips, "translation", times,
                 {0,    0,    0,    0, 0, 2, 0.4f,  0, 0,    -0.2f, 0.6f, 0, 0.3f, 0.1f,
                  2.2f, 0.2f, 0.3f, 0, 0, 0, -0.4f, 0, 0.2f, 2,     0,    0, 0},
                 "CUBICSPLINE");
    b.addChannel(wave, arm.hips, "scale", times, {1, 1, 1, 1.25f, 1.25f, 1.25f, 1, 1, 1});
    b.addChannel(wave, arm.upper, "rotation", times,
                 floats({turn(0, 1, 0, 0), turn(120, 1, 0, 0), turn(-30, 1, 0, 0)}));
    b.addChannel(wave, arm.elbow, "rotation", times,
                 floats({turn(20, 1, 0, 0), hamiltonProduct(turn(50, 0, 0, 1), turn(20, 1, 0, 0)),
                         turn(20, 1, 0, 0)}));
    b.addChannel(wave, arm.lower, "rotation", {0.0f, 0.5f},
                 floats({turn(0, 0, 1, 0), turn(60, 0, 1, 0)}), "STEP");
}

void addNod(ArmCharacter& arm) {
    const int nod = arm.builder.addAnimation("Nod");
    arm.builder.addChannel(nod, arm.upper, "translation", {0.0f, 0.25f}, {0, 0, 1, 0.2f, 0, 1});
}

constexpr int ColumnJoints = 5;
constexpr int ColumnRings = 20;
constexpr int RingCorners = 8;
// Where each joint of the chain (Base, J1 ... J4) sits in the skin's joint list.
constexpr std::uint32_t SkinSlotOfJoint[ColumnJoints] = {1, 3, 0, 4, 2};

// The four joints of the chain nearest the height, each weighted by closeness, scaled to sum
// to `sum`, lightest first.
void addColumnInfluences(double height, float sum, PrimitiveData& body) {
    std::vector<std::pair<float, std::uint32_t>> nearest;
    const int dropped = height < 2.0 ? ColumnJoints - 1 : 0;
    for (int joint = 0; joint < ColumnJoints; ++joint) {
        if (joint == dropped) continue;
        const double distance = std::fabs(height - joint);
        nearest.emplace_back(static_cast<float>(1.0 / ((0.3 + distance) * (0.3 + distance))),
                             SkinSlotOfJoint[joint]);
    }
    std::sort(nearest.begin(), nearest.end());
    float total = 0.0f;
    for (const auto& influence : nearest) total += influence.first;
    for (const auto& influence : nearest) {
        body.joints.push_back(influence.second);
        body.weights.push_back(influence.first / total * sum);
    }
}

// Rings of RingCorners vertices up the Y axis, each turned a little from the one below and
// of a varying radius, normals pointing out, faces counter-clockwise from outside.
PrimitiveData columnTube(bool unnormalisedWeights) {
    PrimitiveData body;
    for (int ring = 0; ring < ColumnRings; ++ring) {
        const double height = 0.1 + 0.2 * ring;
        const double radius = 0.3 + 0.05 * (ring % 3);
        for (int corner = 0; corner < RingCorners; ++corner) {
            const double angle = 2.0 * Pi * corner / RingCorners + 0.1 * ring;
            const float c = static_cast<float>(std::cos(angle));
            const float s = static_cast<float>(std::sin(angle));
            body.positions.insert(body.positions.end(),
                                  {static_cast<float>(radius) * c, static_cast<float>(height),
                                   static_cast<float>(radius) * s});
            body.normals.insert(body.normals.end(), {c, 0.0f, s});
            const int vertex = ring * RingCorners + corner;
            addColumnInfluences(height, unnormalisedWeights ? 0.6f + 0.2f * (vertex % 5) : 1.0f,
                                body);
        }
    }
    for (std::uint32_t ring = 0; ring + 1 < ColumnRings; ++ring) {
        for (std::uint32_t corner = 0; corner < RingCorners; ++corner) {
            const std::uint32_t a = ring * RingCorners + corner;
            const std::uint32_t b = ring * RingCorners + (corner + 1) % RingCorners;
            body.indices.insert(body.indices.end(),
                                {a, a + RingCorners, b, b, a + RingCorners, b + RingCorners});
        }
    }
    return body;
}

void addSway(GltfBuilder& b, const std::vector<int>& chain, const Quaternion4d& bentRest) {
    const int sway = b.addAnimation("Sway");
    const std::vector<float> times = {0.0f, 0.5f, 1.0f};
    b.addChannel(sway, chain[0], "translation", times, {0, 0, 0, 0.3f, 0, 0.2f, 0, 0.1f, 0});
    b.addChannel(sway, chain[0], "scale", times, {1, 1, 1, 1.2f, 1.2f, 1.2f, 1, 1, 1});
    b.addChannel(sway, chain[1], "rotation", times,
                 floats({turn(0, 1, 0, 0), turn(40, 1, 0, 0), turn(-25, 1, 0, 0)}));
    b.addChannel(sway, chain[2], "rotation", times,
                 floats({bentRest, hamiltonProduct(turn(50, 0, 0, 1), bentRest),
                         hamiltonProduct(turn(30, 0, 1, 0), bentRest)}));
    b.addChannel(sway, chain[3], "rotation", times,
                 floats({turn(0, 0, 1, 0), turn(70, 0, 1, 0), turn(-35, 0, 0, 1)}));
    b.addChannel(sway, chain[4], "rotation", times,
                 floats({turn(0, 1, 0, 0), turn(-60, 1, 0, 0), turn(90, 0, 0, 1)}));
}

}  // namespace

ArmCharacter makeArmCharacter() {
    ArmCharacter arm;
    GltfBuilder& b = arm.builder;
    arm.body = b.addNode("Body");
    arm.armature = b.addNode("Armature");
    arm.hips = b.addNode("Hips", arm.armature);
    arm.upper = b.addNode("Upper", arm.hips);
    arm.elbow = b.addNode("Elbow", arm.upper);
    arm.lower = b.addNode("Lower", arm.elbow);
    arm.hand = b.addNode("Hand", arm.lower);
    arm.ground = b.addNode("Ground");
    tinygltf::Model& model = b.model();
    // Z up in the armature, turned to glTF's Y up and halved, as exporters often leave it.
    setTrs(model.nodes[static_cast<std::size_t>(arm.armature)], {0, 0, 0}, turn(-90, 1, 0, 0), 0.5);
    setTrs(model.nodes[static_cast<std::size_t>(arm.hips)], {0, 0, 2}, turn(0, 1, 0, 0));
    setTrs(model.nodes[static_cast<std::size_t>(arm.upper)], {0, 0, 1}, turn(0, 1, 0, 0));
    setTrs(model.nodes[static_cast<std::size_t>(arm.elbow)], {0, 0, 1}, turn(20, 1, 0, 0));
    setTrs(model.nodes[static_cast<std::size_t>(arm.lower)], {0, 0, 0.5}, turn(0, 1, 0, 0));
    setTrs(model.nodes[static_cast<std::size_t>(arm.hand)], {0, 0, 1}, turn(0, 1, 0, 0));

    const AffineTransform hips = globalOf(model, {arm.armature, arm.hips});
    const AffineTransform upper = globalOf(model, {arm.armature, arm.hips, arm.upper});
    const AffineTransform lower =
        globalOf(model, {arm.armature, arm.hips, arm.upper, arm.elbow, arm.lower});
    PrimitiveData body;
    addJointBox(hips, {1}, {1}, body);
    // Upper's bottom corners are shared with the hips; Lower's are spread too thin to have
    // a weight of half or more.
    addJointBox(upper, {0, 1}, {0.4f, 0.6f}, body);
    addJointBox(lower, {0, 0, 1}, {0.2f, 0.35f, 0.45f}, body);
    arm.skinnedVertices = 24;
    arm.weakVertices = 4;
    b.addMesh(arm.body, body);
    model.nodes[static_cast<std::size_t>(arm.body)].skin = 0;
    std::vector<float> inverseBind;
    for (const AffineTransform* global : {&hips, &upper, &lower}) {
        AffineTransform inverse;
        global->inverted(inverse);
        const std::vector<float> matrix = columnMajor(inverse);
        inverseBind.insert(inverseBind.end(), matrix.begin(), matrix.end());
    }
    b.addSkin({arm.hips, arm.upper, arm.lower}, inverseBind);

    PrimitiveData hand;
    hand.positions = {-0.2f, -0.2f, 0, 0.2f, -0.2f, 0, -0.2f, 0.2f, 0, 0.2f, 0.2f, 0};
    hand.normals = {0, 0, 2, 0, 0, 2, 0, 0, 2, 0, 0, 2};
    hand.mode = TINYGLTF_MODE_TRIANGLE_STRIP;
    b.addMesh(arm.hand, hand);

    PrimitiveData ground;
    ground.positions = {-1, 0, -1, -1, 0, 1, 1, 0, -1, 1, 0, 1};
    ground.indices = {0, 1, 2, 2, 1, 3};
    b.addMesh(arm.ground, ground);

    addWave(arm);
    addNod(arm);
    return arm;
}

ColumnCharacter makeColumnCharacter(bool unnormalisedWeights) {
    ColumnCharacter column;
    GltfBuilder& b = column.builder;
    column.body = b.addNode("Column");
    std::vector<int> chain;
    for (int joint = 0; joint < ColumnJoints; ++joint) {
        chain.push_back(b.addNode(joint == 0 ? "Base" : "J" + std::to_string(joint),
                                  joint == 0 ? -1 : chain.back()));
    }
    tinygltf::Model& model = b.model();
    const Quaternion4d bentRest = turn(15, 0, 0, 1);
    for (int joint = 1; joint < ColumnJoints; ++joint) {
        setTrs(model.nodes[static_cast<std::size_t>(chain[static_cast<std::size_t>(joint)])],
               {0, 1, 0}, joint == 2 ? bentRest : turn(0, 1, 0, 0));
    }

    const PrimitiveData body = columnTube(unnormalisedWeights);
    column.vertexCount = static_cast<int>(body.positions.size() / 3);
    b.addMesh(column.body, body);
    model.nodes[static_cast<std::size_t>(column.body)].skin = 0;
    std::vector<int> skinJoints(ColumnJoints);
    std::vector<float> inverseBind(16 * ColumnJoints);
    for (std::size_t joint = 0; joint < ColumnJoints; ++joint) {
        const std::size_t slot = SkinSlotOfJoint[joint];
        skinJoints[slot] = chain[joint];
        AffineTransform inverse;
        globalOf(model, std::vector<int>(chain.begin(), chain.begin() + joint + 1))
            .inverted(inverse);
        const std::vector<float> matrix = columnMajor(inverse);
        std::copy(matrix.begin(), matrix.end(), inverseBind.begin() + 16 * slot);
    }
    b.addSkin(skinJoints, inverseBind);
    addSway(b, chain, bentRest);
    return column;
}

}  // namespace vorel::test_support
