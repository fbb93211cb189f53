// Broken FBX scenes in well-formed containers: each is refused with one line naming the file
// and what is wrong, never half-imported.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "fbx/import_fbx.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel::test_support {
namespace {

constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

// The `nth` object record named `name` under Objects.
FbxNode& object(FbxNode& root, const std::string& name, int nth = 0) {
    for (FbxNode& top : root.children) {
        if (top.name != "Objects") continue;
        for (FbxNode& record : top.children) {
            if (record.name == name && nth-- == 0) return record;
        }
    }
    throw std::runtime_error("no " + name);
}

FbxNode& child(FbxNode& record, const std::string& name) {
    for (FbxNode& node : record.children) {
        if (node.name == name) return node;
    }
    throw std::runtime_error("no " + name);
}

FbxNode& connections(FbxNode& root) {
    for (FbxNode& top : root.children) {
        if (top.name == "Connections") return top;
    }
    throw std::runtime_error("no Connections");
}

::testing::AssertionResult refusedAfter(const std::function<void(FbxNode&)>& breakIt,
                                        const std::string& expected, bool ascii = false) {
    FbxNode root = buildFbxCharacter(armCharacterLayout());
    breakIt(root);
    ImportOptions options;
    ImportedSet result;
    LoadError error;
    const std::string bytes = ascii ? writeFbxAscii(root) : writeFbxBinary(root);
    if (importFbxBytes(bytes, "bad.fbx", options, result, error))
        return ::testing::AssertionFailure() << "accepted";
    const std::string line = error.describe();
    if (line.rfind("bad.fbx: ", 0) != 0 || line.find(expected) == std::string::npos)
        return ::testing::AssertionFailure() << "message: " << line;
    return ::testing::AssertionSuccess();
}

TEST(FbxHostileScene, ModelTreesThatLoopAndIdsUsedTwiceAreRefused) {
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            // Hips (the first joint) under Head (the third).
            const std::int64_t hips = object(root, "Model", 0).properties[0].integer;
            const std::int64_t head = object(root, "Model", 2).properties[0].integer;
            for (FbxNode& c : connections(root).children) {
                if (c.properties[1].integer == hips && c.properties[2].integer == 0)
                    c.properties[2] = fbxInteger(head);
            }
        },
        "is its own ancestor"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            object(root, "Model", 1).properties[0] = object(root, "Model", 0).properties[0];
        },
        "is used twice"));
}

TEST(FbxHostileScene, PolygonsAndNormalsPastTheirListsAreRefused) {
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Geometry"), "PolygonVertexIndex").properties[0].integers[1] = 999;
        },
        "names point 999, past the"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            std::vector<std::int64_t>& corners =
                child(object(root, "Geometry"), "PolygonVertexIndex").properties[0].integers;
            corners.back() = -corners.back() - 1;
        },
        "has no end mark"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            FbxNode& normals = child(object(root, "Geometry"), "LayerElementNormal");
            child(normals, "Normals").properties[0].reals.resize(6);
        },
        "Normals is shorter than its mapping needs"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Geometry"), "Vertices").properties[0].reals.pop_back();
        },
        "not a list of x, y, z"));
}

TEST(FbxHostileScene, NumbersThatAreNotFiniteAreRefusedWhereverTheyStand) {
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            FbxNode& translation = child(object(root, "Model", 1), "Properties70").children[0];
            translation.properties[5] = fbxReal(NotANumber);
        },
        "a transform value is not finite"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "AnimationCurve"), "KeyValueFloat").properties[0].reals[1] =
                std::numeric_limits<double>::infinity();
        },
        "a key value is not finite"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Deformer", 1), "Weights").properties[0].reals[0] = NotANumber;
        },
        "a weight is not finite"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Geometry"), "Vertices").properties[0].reals[4] = NotANumber;
        },
        "a vertex is not finite"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Deformer", 1), "TransformLink").properties[0].reals[13] =
                -std::numeric_limits<double>::infinity();
        },
        "not 16 finite numbers"));
}

TEST(FbxHostileScene, SkinsKeysAndStacksThatLieAreRefused) {
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Deformer", 1), "Indexes").properties[0].integers[0] = 1 << 30;
        },
        "is past the"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Deformer", 1), "Weights").properties[0].reals.pop_back();
        },
        "indexes and"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(object(root, "Deformer", 1), "TransformLink").properties[0].reals.assign(16, 0.0);
        },
        "singular"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            std::vector<std::int64_t>& times =
                child(object(root, "AnimationCurve"), "KeyTime").properties[0].integers;
            times[1] = times[0];
        },
        "does not come later"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            // A stack a year long with two keys.
            FbxNode& stop = child(object(root, "AnimationStack"), "Properties70").children[1];
            stop.properties[4] = fbxInteger(std::int64_t{46186158000} * 3600 * 24 * 365);
        },
        "more frames than an animation file holds keys for"));
}

TEST(FbxHostileScene, FilesWithoutTheirPartsAreRefused) {
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            for (FbxNode& top : root.children) {
                if (top.name == "Objects") top.name = "Objets";
            }
        },
        "the file has no Objects"));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) {
            child(root, "FBXHeaderExtension").children[1].properties[0] = fbxInteger(6100);
        },
        "FBX 6.1 scenes are not read", true));
    EXPECT_TRUE(refusedAfter(
        [](FbxNode& root) { object(root, "Geometry").properties[2] = fbxText("Shape"); },
        "no polygon mesh"));
}

// Links to objects the file does not hold are passed over: the character imports whole, with
// one warning line however many there are.
TEST(FbxHostileScene, LinksToMissingObjectsAreSkippedWithOneWarningLine) {
    for (int missing : {1, 3}) {
        FbxNode root = buildFbxCharacter(armCharacterLayout());
        const std::int64_t hips = object(root, "Model", 0).properties[0].integer;
        for (int k = 0; k < missing; ++k) {
            FbxNode link;
            link.name = "C";
            link.properties = {fbxText("OO"), fbxInteger(987654321 + k), fbxInteger(hips)};
            connections(root).children.push_back(link);
        }
        for (bool ascii : {false, true}) {
            ImportOptions options;
            ImportedSet result;
            LoadError error;
            const std::string bytes = ascii ? writeFbxAscii(root) : writeFbxBinary(root);
            ASSERT_TRUE(importFbxBytes(bytes, "links.fbx", options, result, error))
                << error.describe();
            EXPECT_EQ(result.boneCount, 3u);
            const std::string expected =
                missing == 1 ? "1 connection names an object the file does not hold: ignored"
                             : "3 connections name objects the file does not hold: ignored";
            int lines = 0;
            for (const std::string& warning : result.warnings) {
                if (warning.find("does not hold") == std::string::npos) continue;
                ++lines;
                EXPECT_EQ(warning, expected);
                EXPECT_EQ(warning.find('\n'), std::string::npos);
            }
            EXPECT_EQ(lines, 1) << missing << (ascii ? " ascii" : " binary");
        }
    }
}

}  // namespace
}  // namespace vorel::test_support
