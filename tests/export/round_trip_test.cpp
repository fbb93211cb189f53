// The default dancer exported with vorel-export and imported back with vorel-import: the
// welded import is no larger than the original, and poses every face corner bit for bit as
// the same model with one position and one normal per corner (the import before welding)
// does, at several frames of every dance; its keys are fewer than the file's and keep every
// corner within the chain budget of the original.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>

#include "anim/figure.h"
#include "convert/assemble_model.h"
#include "convert/key_tolerances.h"
#include "skeleton/bone_walk.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

bool sameBits(const Vector3& a, const Vector3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The number before " keys;" in vorel-export's summary, or 0 when it is missing.
std::size_t keysInSummary(const std::string& summary) {
    const std::size_t end = summary.find(" keys;");
    if (end == std::string::npos) return 0;
    std::size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(summary[start - 1]))) --start;
    return start == end ? 0 : std::stoul(summary.substr(start, end - start));
}

// The set vorel-import makes of vorel-export's file of the dancer, without the fit; `fileKeys`
// is the key count the export says it wrote.
std::string roundTripManifest(std::size_t* fileKeys = nullptr) {
    const std::string folder = test_support::makeScratchFolder();
    const std::string glb = folder + "/dancer.glb";
    const test_support::RunResult exported =
        test_support::runProgram(VOREL_EXPORT_BINARY, {VOREL_DANCER_MANIFEST, glb});
    EXPECT_EQ(exported.status, 0) << exported.err;
    if (fileKeys != nullptr) *fileKeys = keysInSummary(exported.out);
    const test_support::RunResult imported =
        test_support::runProgram(VOREL_IMPORT_BINARY, {"--fit", "none", glb, folder + "/set"});
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

TEST(RoundTrip, TheReimportedDancerIsNoLargerThanTheOriginal) {
    const std::unique_ptr<AssetLibrary> original = load(VOREL_DANCER_MANIFEST);
    const std::unique_ptr<AssetLibrary> imported = load(roundTripManifest());
    ASSERT_TRUE(original && imported);
    const ModelData& before = *original->models.front();
    const ModelData& after = *imported->models.front();
    EXPECT_LE(after.positions.size(), before.positions.size());
    EXPECT_LE(after.normals.size(), before.normals.size());
}

TEST(RoundTrip, EveryCornerPosesBitForBitAsWithoutWelding) {
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
                    differing +=
                        !sameBits(a.normals[static_cast<std::size_t>(faces[f].normalIndices[k])],
                                  b.normals[corner]);
                }
            }
        }
        EXPECT_EQ(differing, 0u) << dance;
    }
}

// Keys as the file's samplers count them: one per time of a translation, scale or rotation,
// over the seven dances (the set lists each again under its own name).
std::size_t samplerKeys(const AssetLibrary& library) {
    std::size_t keys = 0;
    for (std::size_t dance = 0; dance < 7; ++dance) {
        for (const TrackData& track : library.animations[dance]->tracks)
            keys += track.channels[0].size() + track.channels[3].size() + track.channels[6].size();
    }
    return keys;
}

// Each quad of the original is exported as triangles (0, 1, 2) and (0, 2, 3), which the
// import makes faces 2f and 2f + 1: corner k of those faces is this corner of quad f.
constexpr int QuadCorner[2][3] = {{0, 1, 2}, {0, 2, 3}};

TEST(RoundTrip, FewerKeysThanTheFileKeepEveryCornerWithinTheChainBudget) {
    std::size_t fileKeys = 0;
    const std::unique_ptr<AssetLibrary> original = load(VOREL_DANCER_MANIFEST);
    const std::unique_ptr<AssetLibrary> imported = load(roundTripManifest(&fileKeys));
    ASSERT_TRUE(original && imported);
    EXPECT_GT(fileKeys, 0u);
    EXPECT_LT(samplerKeys(*imported), fileKeys);
    const ModelData& before = *original->models.front();
    const ModelData& after = *imported->models.front();
    ASSERT_EQ(after.faces.size(), 2 * before.faces.size());
    const double budget = ImportChainErrorPerHeight * modelHeight(before);
    for (std::size_t dance = 0; dance < 7; ++dance) {
        Figure originalFigure(original.get());
        Figure importedFigure(imported.get());
        ActiveAnimation record(original->animationNames[dance], 0.0f);
        originalFigure.startAnimation(record);
        ActiveAnimation same(imported->animationNames[dance], 0.0f);
        importedFigure.startAnimation(same);
        double largest = 0.0;
        for (int frame = 1; frame <= 320; ++frame) {
            originalFigure.update(0.01f);
            importedFigure.update(0.01f);
            if (frame % 10 != 1) continue;
            const std::vector<Vector3>& a = originalFigure.instances.front()->positions;
            const std::vector<Vector3>& b = importedFigure.instances.front()->positions;
            for (std::size_t f = 0; f < after.faces.size(); ++f) {
                for (int k = 0; k < 3; ++k) {
                    const Face& quad = before.faces[f / 2];
                    const Vector3& p =
                        a[static_cast<std::size_t>(quad.positionIndices[QuadCorner[f % 2][k]])];
                    const Vector3& q =
                        b[static_cast<std::size_t>(after.faces[f].positionIndices[k])];
                    largest = std::max(
                        largest, static_cast<double>(std::hypot(p.x - q.x, p.y - q.y, p.z - q.z)));
                }
            }
        }
        EXPECT_LE(largest, budget) << original->animationNames[dance];
    }
}

}  // namespace
}  // namespace vorel
