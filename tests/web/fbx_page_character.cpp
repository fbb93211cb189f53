// vorel-fbx-page-character FOLDER: writes the page's FBX test files into FOLDER, binary FBX with
// deflated arrays as the FBX SDK writes them. character.fbx is a small rig with `mixamorig:`
// names (so the built-in bone map puts its motion on the dancer), a turned and pivoted spine,
// a mesh placed off the origin, and two animation stacks; motion.fbx is the same without its
// mesh, as motion libraries hand out an animation. The page imports them and its results are
// compared with the native tools' bit for bit.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "assets/file_bytes.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"
#include "tools/common/exit_status.h"
#include "tools/common/single_operand.h"

namespace {

constexpr const char* Usage =
    "Usage: vorel-fbx-page-character FOLDER\n"
    "Writes the page's FBX test files, character.fbx and motion.fbx, into FOLDER.\n";

using vorel::test_support::FbxCharacterLayout;
using vorel::test_support::FbxCurveLayout;
using vorel::test_support::FbxJointLayout;
using vorel::test_support::FbxStackLayout;

FbxJointLayout joint(const std::string& name, int parent, double x, double y) {
    FbxJointLayout layout;
    layout.name = "mixamorig:" + name;
    layout.parent = parent;
    layout.translation[0] = x;
    layout.translation[1] = y;
    return layout;
}

FbxCurveLayout swing(int joint, int axis, std::vector<double> seconds, std::vector<double> degrees,
                     int flags) {
    FbxCurveLayout curve;
    curve.joint = joint;
    curve.axis = axis;
    curve.seconds = std::move(seconds);
    curve.values = std::move(degrees);
    curve.flags = flags;
    return curve;
}

// Hips one unit up, a spine and head above them, two legs of three joints below; "Walk" swings
// the thighs and bends the spine, "Nod" (starting half a second into the file's time) tilts the
// head with cubic keys.
FbxCharacterLayout pageCharacterLayout() {
    FbxCharacterLayout layout;
    FbxJointLayout spine = joint("Spine", 0, 0.0, 0.3);
    spine.preRotation[0] = 20.0;
    spine.rotationPivot[1] = 0.25;
    spine.rotationOrder = 4;
    layout.joints = {joint("Hips", -1, 0.0, 1.0),         spine,
                     joint("Head", 1, 0.0, 0.4),          joint("LeftUpLeg", 0, 0.1, -0.05),
                     joint("LeftLeg", 3, 0.0, -0.45),     joint("LeftFoot", 4, 0.0, -0.45),
                     joint("RightUpLeg", 0, -0.1, -0.05), joint("RightLeg", 6, 0.0, -0.45),
                     joint("RightFoot", 7, 0.0, -0.45)};
    layout.meshTranslation[0] = 0.5;
    layout.ringsPerJoint = 2;
    FbxStackLayout walk;
    walk.name = "Walk";
    walk.curves = {swing(3, 0, {0.0, 0.5, 1.0}, {0.0, 30.0, 0.0}, 0x04),
                   swing(6, 0, {0.0, 0.5, 1.0}, {0.0, -30.0, 0.0}, 0x04),
                   swing(1, 2, {0.0, 1.0}, {0.0, 15.0}, 0x04)};
    FbxStackLayout nod;
    nod.name = "Nod";
    nod.localStart = 0.5;
    nod.localStop = 2.0;
    nod.curves = {swing(2, 0, {0.0, 0.75, 1.5}, {0.0, -35.0, 10.0}, 0x08)};
    layout.stacks = {walk, nod};
    return layout;
}

// The mesh's parts: its geometry, its model and the skin's deformers.
bool isMeshPart(const vorel::FbxNode& node) {
    return node.name == "Geometry" || node.name == "Deformer" ||
           (node.name == "Model" && node.properties.size() > 2 &&
            node.properties[2].text == "Mesh");
}

// ROOT without the mesh's parts and every connection naming one.
vorel::FbxNode withoutMesh(vorel::FbxNode root) {
    std::vector<vorel::FbxNode>& objects = root.child("Objects")->children;
    std::set<std::int64_t> removed;
    for (const vorel::FbxNode& node : objects) {
        if (isMeshPart(node)) removed.insert(node.properties[0].integer);
    }
    objects.erase(std::remove_if(objects.begin(), objects.end(), isMeshPart), objects.end());
    std::vector<vorel::FbxNode>& connections = root.child("Connections")->children;
    connections.erase(std::remove_if(connections.begin(), connections.end(),
                                     [&removed](const vorel::FbxNode& link) {
                                         return removed.count(link.properties[1].integer) > 0 ||
                                                removed.count(link.properties[2].integer) > 0;
                                     }),
                      connections.end());
    return root;
}

bool writeFbx(const std::string& path, const vorel::FbxNode& root) {
    vorel::test_support::FbxWriteOptions options;
    options.deflateArrays = true;
    std::string reason;
    if (vorel::writeFileBytes(path, vorel::test_support::writeFbxBinary(root, options), &reason))
        return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), reason.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int exitStatus = vorel::ExitSuccess;
    const std::optional<std::string> folder = vorel::singleOperand(
        argc, argv, "vorel-fbx-page-character", Usage, "expected one FOLDER", exitStatus);
    if (!folder) return exitStatus;
    const vorel::FbxNode character = vorel::test_support::buildFbxCharacter(pageCharacterLayout());
    const bool written = writeFbx(*folder + "/character.fbx", character) &&
                         writeFbx(*folder + "/motion.fbx", withoutMesh(character));
    return written ? vorel::ExitSuccess : vorel::ExitBadInput;
}
