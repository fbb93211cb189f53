// The default set as files: it loads through the real loaders, its model is sound (every
// vertex under one bone, unit normals, sensible size) and its dances are well formed.
#include "dancer/default_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "assets/dance_names.h"
#include "tests/dancer/default_set_fixture.h"

namespace vorel {
namespace {

const ModelData& dancer() {
    return *defaultSet().library->models.at(0);
}

void countBoneVertices(const BoneData* bone, std::vector<int>& counts, int& bones) {
    for (; bone != nullptr; bone = bone->nextSibling.get()) {
        ++bones;
        for (std::int32_t v : bone->vertices) ++counts.at(static_cast<std::size_t>(v));
        countBoneVertices(bone->firstChild.get(), counts, bones);
    }
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DefaultSet, LoadsThroughTheManifestWithEveryFileIntact) {
    const LoadedDefaultSet& set = defaultSet();
    ASSERT_NE(set.library, nullptr);
    EXPECT_FALSE(set.report.readStopped) << set.report.stoppedEarly.describe();
    for (const LoadError& failure : set.report.failedFiles) ADD_FAILURE() << failure.describe();
    ASSERT_EQ(set.library->models.size(), 1u);
    ASSERT_NE(set.library->models[0], nullptr);
    ASSERT_EQ(set.library->animationNames.size(), std::size(DanceNames));
    for (std::size_t i = 0; i < std::size(DanceNames); ++i) {
        EXPECT_EQ(set.library->animationNames[i], DanceNames[i]);
        EXPECT_NE(set.library->animations[i], nullptr) << DanceNames[i];
    }
}

TEST(DefaultSet, ModelHasAHumanSizedMeshAndSkeleton) {
    const ModelData& model = dancer();
    EXPECT_GE(model.faces.size(), 2000u);
    EXPECT_LE(model.faces.size(), 20000u);
    std::vector<int> counts(model.positions.size(), 0);
    int bones = 0;
    countBoneVertices(model.rootBone.get(), counts, bones);
    EXPECT_GE(bones, 18);
    EXPECT_LE(bones, 30);
    for (std::size_t v = 0; v < counts.size(); ++v) {
        ASSERT_EQ(counts[v], 1) << "vertex " << v << " is listed under " << counts[v] << " bones";
    }
    for (const char* name : {"pelvis", "spine", "chest", "neck", "head", "shoulder_l",
                             "upper_arm_r", "forearm_l", "hand_r", "thigh_l", "shin_r", "foot_l"}) {
        EXPECT_NE(model.findBone(name), nullptr) << name;
    }
    EXPECT_EQ(model.rootBone->name, "pelvis");
}

TEST(DefaultSet, NormalsAreUnitLengthAndPointOutOfTheBody) {
    const ModelData& model = dancer();
    for (const Vector3& n : model.normals) {
        ASSERT_NEAR(std::sqrt(Vector3::dot(n, n)), 1.0f, 1e-4f);
    }
    // Every corner's normal agrees with the face's own turn: smooth shading without any face
    // lit from inside.
    int disagreeing = 0;
    for (const Face& face : model.faces) {
        const Vector3& a = model.positions[static_cast<std::size_t>(face.positionIndices[0])];
        const Vector3& b = model.positions[static_cast<std::size_t>(face.positionIndices[1])];
        const Vector3& c = model.positions[static_cast<std::size_t>(face.positionIndices[2])];
        const Vector3& d = model.positions[static_cast<std::size_t>(face.positionIndices[3])];
        const Vector3 faceNormal = Vector3::cross(Vector3(c.x - a.x, c.y - a.y, c.z - a.z),
                                                  Vector3(d.x - b.x, d.y - b.y, d.z - b.z));
        const Vector3& n = model.normals[static_cast<std::size_t>(face.normalIndices[0])];
        if (Vector3::dot(faceNormal, n) < 0.0f) ++disagreeing;
    }
    EXPECT_EQ(disagreeing, 0);
}

TEST(DefaultSet, DancesAreWellFormedAndDriveOnlyRealBones) {
    const LoadedDefaultSet& set = defaultSet();
    const ModelData& model = dancer();
    std::set<SegmentMode> modes;
    bool tangentsInFile = false;
    bool tangentsLeftToLoader = false;
    for (std::size_t i = 0; i < set.library->animations.size(); ++i) {
        const AnimationData& dance = *set.library->animations[i];
        SCOPED_TRACE(set.library->animationNames[i]);
        EXPECT_GE(dance.header->duration, 3.0f);
        EXPECT_LE(dance.header->duration, 8.0f);
        EXPECT_FALSE(dance.tracks.empty());
        for (const TrackData& track : dance.tracks) {
            EXPECT_NE(model.findBoneByHash(track.nameHash), nullptr) << track.name;
            for (const auto& keys : track.channels) {
                ASSERT_FALSE(keys.empty()) << track.name;
                EXPECT_LE(keys.back().time, dance.header->duration) << track.name;
                for (std::size_t k = 0; k < keys.size(); ++k) {
                    if (k > 0) {
                        EXPECT_GT(keys[k].time, keys[k - 1].time) << track.name;
                    }
                    if (k + 1 < keys.size()) modes.insert(segmentMode(keys[k]));
                    (hasTangentsInFile(keys[k]) ? tangentsInFile : tangentsLeftToLoader) = true;
                }
            }
        }
    }
    EXPECT_EQ(modes, (std::set<SegmentMode>{SegmentMode::Constant, SegmentMode::Linear,
                                            SegmentMode::Curve}));
    EXPECT_TRUE(tangentsInFile);
    EXPECT_TRUE(tangentsLeftToLoader);
}

TEST(DefaultSet, WritingTwiceGivesTheSameBytes) {
    const std::string first = makeScratchFolder("first");
    const std::string second = makeScratchFolder("second");
    std::string error;
    ASSERT_TRUE(writeDefaultSet(first, error)) << error;
    ASSERT_TRUE(writeDefaultSet(second, error)) << error;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(first)) {
        const auto name = entry.path().filename();
        EXPECT_EQ(fileBytes(entry.path()), fileBytes(std::filesystem::path(second) / name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 9);
}

TEST(DefaultSet, UnwritableFolderIsReportedNotIgnored) {
    const std::string blocker = makeScratchFolder("blocker");
    std::filesystem::create_directories(std::filesystem::path(blocker).parent_path());
    std::ofstream(blocker) << "a file where the folder should go";
    std::string error;
    EXPECT_FALSE(writeDefaultSet(blocker + "/inside", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vorel
