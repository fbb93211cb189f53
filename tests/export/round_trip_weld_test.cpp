// The default dancer exported with vorel-export and imported back with vorel-import: the
// welded import is no larger than the original, and poses every face corner bit for bit as
// the same model with one position and one normal per corner (the import before welding)
// does, at several frames of every dance.
#include <gtest/gtest.h>

#include <cstring>

#include "anim/figure.h"
#include "skeleton/bone_walk.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

bool sameBits(const Vector3& a, const Vector3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The set vorel-import makes of vorel-export's file of the dancer, without the fit.
std::string roundTripManifest() {
    const std::string folder = test_support::makeScratchFolder();
    const std::string glb = folder + "/dancer.glb";
    const test_support::RunResult exported =
        test_support::runProgram(VOREL_EXPORT_BINARY, {VOREL_DANCER_MANIFEST, glb});
    EXPECT_EQ(exported.status, 0) << exported.err;
    const test_support::RunResult imported = test_support::runProgram(
        VOREL_IMPORT_BINARY, {"--fit", "none", glb, folder + "/set"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    return folder + "/set/vorel.txt";
}

std::unique_ptr<AssetLibrary> load(const std::string& manifest) {
    std::string problem;
    std::unique_ptr<AssetLibrary> library = loadLibraryBesideManifest(manifest, problem);
    EXPECT_NE(library, nullptr) << problem;
    return library;
}

// Gives face f's corner k position and normal 4f + k of their own, moved by the bone that
// moved the corner's position: the model as it would be without welding.
void giveEveryCornerItsOwnData(ModelData& model) {
    std::vector<BoneData*> boneOf(model.positions.size(), nullptr);
    PendingBones<BoneData> pending;
    walkBones(model.rootBone.get(), pending, [&boneOf](BoneData& bone) {
        for (std::int32_t vertex : bone.vertices) boneOf[static_cast<std::size_t>(vertex)] = &bone;
        bone.vertices.clear();
    });
    std::vector<Vector3> positions, normals;
    for (Face& face : model.faces) {
        for (int k = 0; k < 4; ++k) {
            const auto corner = static_cast<std::int32_t>(positions.size());
            const auto position = static_cast<std::size_t>(face.positionIndices[k]);
            positions.push_back(model.positions[position]);
            normals.push_back(model.normals[static_cast<std::size_t>(face.normalIndices[k])]);
            if (boneOf[position] != nullptr) boneOf[position]->vertices.push_back(corner);
            face.positionIndices[k] = corner;
            face.normalIndices[k] = corner;
        }
    }
    model.positions = std::move(positions);
    model.normals = std::move(normals);
    model.normalLists.clear();
    for (std::int32_t corner = 0; corner < static_cast<std::int32_t>(model.positions.size());
         ++corner)
        model.normalLists.push_back({corner});
}

TEST(RoundTripWeld, TheReimportedDancerIsNoLargerThanTheOriginal) {
    const std::unique_ptr<AssetLibrary> original = load(VOREL_DANCER_MANIFEST);
    const std::unique_ptr<AssetLibrary> imported = load(roundTripManifest());
    ASSERT_TRUE(original && imported);
    const ModelData& before = *original->models.front();
    const ModelData& after = *imported->models.front();
    EXPECT_LE(after.positions.size(), before.positions.size());
    EXPECT_LE(after.normals.size(), before.normals.size());
}

TEST(RoundTripWeld, EveryCornerPosesBitForBitAsWithoutWelding) {
    const std::string manifest = roundTripManifest();
    const std::unique_ptr<AssetLibrary> welded = load(manifest);
    const std::unique_ptr<AssetLibrary> unwelded = load(manifest);
    ASSERT_TRUE(welded && unwelded);
    giveEveryCornerItsOwnData(*unwelded->models.front());
    const std::vector<Face>& faces = welded->models.front()->faces;
    for (const std::string& dance : welded->animationNames) {
        Figure weldedFigure(welded.get());
        Figure unweldedFigure(unwelded.get());
        ActiveAnimation record(dance, 0.0f);
        weldedFigure.startAnimation(record);
        ActiveAnimation same(dance, 0.0f);
        unweldedFigure.startAnimation(same);
        std::size_t differing = 0;
        for (int frame = 1; frame <= 160; ++frame) {
            weldedFigure.update(0.01f);
            unweldedFigure.update(0.01f);
            if (frame % 40 != 1) continue;
            const ModelInstance& a = *weldedFigure.instances.front();
            const ModelInstance& b = *unweldedFigure.instances.front();
            for (std::size_t f = 0; f < faces.size(); ++f) {
                for (int k = 0; k < 4; ++k) {
                    const std::size_t corner = 4 * f + static_cast<std::size_t>(k);
                    differing += !sameBits(
                        a.positions[static_cast<std::size_t>(faces[f].positionIndices[k])],
                        b.positions[corner]);
                    differing += !sameBits(
                        a.normals[static_cast<std::size_t>(faces[f].normalIndices[k])],
                        b.normals[corner]);
                }
            }
        }
        EXPECT_EQ(differing, 0u) << dance;
    }
}

}  // namespace
}  // namespace vorel
