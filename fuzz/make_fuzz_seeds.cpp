// make_fuzz_seeds: writes the starting corpus of each fuzz target with the project's own
// writers, so the fuzzers begin from valid files and need no downloaded data.
// Usage: make_fuzz_seeds OUTPUT_FOLDER (makes OUTPUT_FOLDER/{model,animation,manifest,fbx},
// and OUTPUT_FOLDER/gltf in builds with the glTF importer).
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "assets/file_bytes.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"
#include "tests/support/sample_assets.h"
#ifdef VOREL_FUZZ_GLTF
#include "tests/support/gltf_test_character.h"
#endif

namespace {

bool writeSeed(const std::filesystem::path& folder, const std::string& name,
               const std::string& bytes) {
    std::filesystem::create_directories(folder);
    return vorel::writeFileBytes((folder / name).string(), bytes);
}

bool writeModelSeeds(const std::filesystem::path& folder) {
    auto model = vorel::test_support::makeSampleModel();
    bool written = writeSeed(folder, "sample.ply", vorel::encodeModel(*model));
    written = writeSeed(folder, "weighted.ply",
                        vorel::encodeModel(*vorel::test_support::makeSampleWeightedModel())) &&
              written;
    model->rootBone->firstChild.reset();
    model->faces.resize(1);
    model->namedRecords.clear();
    return writeSeed(folder, "one_bone.ply", vorel::encodeModel(*model)) && written;
}

bool writeAnimationSeeds(const std::filesystem::path& folder) {
    auto animation = vorel::test_support::makeSampleAnimation();
    bool written = writeSeed(folder, "sample.anim", vorel::encodeAnimation(*animation));
    animation->tracks.clear();
    return writeSeed(folder, "no_tracks.anim", vorel::encodeAnimation(*animation)) && written;
}

// The fuzz target runs in a folder holding a.ply and b.anim.
bool writeManifestSeeds(const std::filesystem::path& folder) {
    const std::string plain = vorel::encodeManifest({{"dancer", "a.ply"}, {"missing", "c.ply"}},
                                                    {{"Cancan", "b.anim"}, {"Strut", "a.ply"}});
    const std::string commented =
        "1 model\r\ndancer\r\na.ply\r\n\n2 # dances\nSalute \nb.anim\n"
        "Salute\nb.anim\n";
    return writeSeed(folder, "plain.txt", plain) && writeSeed(folder, "commented.txt", commented) &&
           writeSeed(folder, "empty.txt", "0\n0\n");
}

#ifdef VOREL_FUZZ_GLTF
// The arm character and RobotExpressive, each as GLB and as JSON with its buffer inline
// (the fuzz target reads no external file).
bool writeGltfSeeds(const std::filesystem::path& folder) {
    const vorel::test_support::ArmCharacter arm = vorel::test_support::makeArmCharacter();
    std::string robot;
    if (!vorel::readFileBytes(VOREL_ROBOT_GLB, robot, nullptr)) return false;
    tinygltf::TinyGLTF gltf;
    tinygltf::Model robotModel;
    std::string problem, warnings;
    if (!gltf.LoadBinaryFromMemory(&robotModel, &problem, &warnings,
                                   reinterpret_cast<const unsigned char*>(robot.data()),
                                   static_cast<unsigned int>(robot.size()))) {
        return false;
    }
    std::ostringstream robotJson;
    gltf.WriteGltfSceneToStream(&robotModel, robotJson, false, false);
    return writeSeed(folder, "arm.glb", arm.builder.glb()) &&
           writeSeed(folder, "arm.gltf", arm.builder.json()) &&
           writeSeed(folder, "RobotExpressive.glb", robot) &&
           writeSeed(folder, "RobotExpressive.gltf", robotJson.str());
}
#endif

// The arm character in each form the FBX reader takes: binary with deflated and raw arrays
// (32- and 64-bit offsets) and ASCII.
bool writeFbxSeeds(const std::filesystem::path& folder) {
    using namespace vorel::test_support;
    FbxCharacterLayout layout = armCharacterLayout();
    const vorel::FbxNode binary = buildFbxCharacter(layout);
    layout.binaryNames = false;
    return writeSeed(folder, "arm_deflated.fbx", writeFbxBinary(binary, {7400, true})) &&
           writeSeed(folder, "arm_raw.fbx", writeFbxBinary(binary, {7500, false})) &&
           writeSeed(folder, "arm_ascii.fbx", writeFbxAscii(buildFbxCharacter(layout)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path output = argv[1];
    if (!writeModelSeeds(output / "model") || !writeAnimationSeeds(output / "animation") ||
        !writeManifestSeeds(output / "manifest") || !writeFbxSeeds(output / "fbx")
#ifdef VOREL_FUZZ_GLTF
        || !writeGltfSeeds(output / "gltf")
#endif
    ) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write seeds under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
