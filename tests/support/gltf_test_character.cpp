// Builds the arm character: bind pose from node transforms, inverse bind matrices from the
// bind globals, skinned boxes around each joint, and its two animations.
#include "tests/support/gltf_test_character.h"

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

}  // namespace vorel::test_support
