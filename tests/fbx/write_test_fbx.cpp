// write_test_fbx FOLDER: writes the tests' own FBX characters into FOLDER (made if need be)
// for the comparison with three.js: one character that carries what the packaged files do not
// (clusters holding the mesh's place as the FBX SDK writes them, a turning joint with a
// pre-rotation, every rotation order, vertices with five influences, "prefix:Name" joints, a
// root that deforms nothing, a second stack starting at 5 s), written three ways: binary with
// deflated arrays (y up, centimetres), binary raw (z up, metres) and ASCII (y up, metres).
// Only what three.js evaluates as the FBX SDK defines it is animated: linear keys, turns about
// one axis in "Bend" (three.js blends key rotations as quaternions, which equals turning the
// angle evenly only about one axis), and three-axis turns in "Late", compared at its keys.
// Rotation pivots of animated joints, constant and cubic keys are left to the import's own
// tests: three.js drops the first and plays the others as linear.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/file_bytes.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"

namespace {

using namespace vorel::test_support;

FbxCurveLayout curve(int joint, int axis, std::vector<double> values) {
    FbxCurveLayout c;
    c.joint = joint;
    c.axis = axis;
    c.seconds = {0.0, 0.5, 1.0};
    c.values = std::move(values);
    return c;
}

FbxCharacterLayout richCharacter(int upAxis, double unitScaleFactor) {
    FbxCharacterLayout layout = fiveInfluenceLayout();
    for (std::size_t j = 0; j < layout.joints.size(); ++j)
        layout.joints[j].rotationOrder = static_cast<int>(j % 6);
    layout.joints[2].preRotation[2] = 90.0;
    layout.meshTranslation[0] = 0.3;
    layout.upAxis = upAxis;
    layout.frontAxis = upAxis == 2 ? 1 : 2;
    layout.frontSign = upAxis == 2 ? -1 : 1;
    if (upAxis == 2) {
        for (FbxJointLayout& joint : layout.joints)
            std::swap(joint.translation[1], joint.translation[2]);
    }
    layout.unitScaleFactor = unitScaleFactor;
    FbxStackLayout& bend = layout.stacks[0];
    bend.curves = {curve(2, 2, {-90.0, -45.0, 0.0}), curve(3, 0, {0.0, 40.0, 10.0}),
                   curve(5, 1, {0.0, 0.0, 80.0})};
    FbxStackLayout late;
    late.name = "Late";
    late.localStart = 5.0;
    late.localStop = 7.0;
    late.curves = {curve(1, 1, {0.0, 45.0, 90.0}), curve(4, 0, {0.0, 30.0, 60.0}),
                   curve(4, 1, {0.0, -20.0, 45.0}), curve(4, 2, {10.0, 50.0, 20.0}),
                   curve(5, 2, {0.0, -30.0, -60.0})};
    for (FbxCurveLayout& c : late.curves) c.seconds = {0.0, 1.0, 2.0};
    layout.stacks.push_back(late);
    return layout;
}

bool write(const std::string& path, const FbxCharacterLayout& layout, int form) {
    FbxCharacterLayout written = layout;
    written.binaryNames = form != 2;
    const vorel::FbxNode tree = buildFbxCharacter(written);
    return vorel::writeFileBytes(
        path, form == 2 ? writeFbxAscii(tree) : writeFbxBinary(tree, {7400, form == 0}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_test_fbx FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (!write(folder + "/rich_deflated.fbx", richCharacter(1, 1.0), 0) ||
        !write(folder + "/rich_raw_zup.fbx", richCharacter(2, 100.0), 1) ||
        !write(folder + "/rich_ascii.fbx", richCharacter(1, 100.0), 2)) {
        std::fprintf(stderr, "write_test_fbx: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
