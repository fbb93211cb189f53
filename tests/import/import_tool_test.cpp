// vorel-import as a person runs it: exit statuses, the summary, the set it writes, and that a
// failure leaves no set and no temporary folder behind.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/import/run_import.h"
#include "tests/support/gltf_test_character.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel::test_support {
namespace {

namespace fs = std::filesystem;

// A scratch folder holding arm.glb.
std::string folderWithArm() {
    const std::string folder = makeScratchFolder();
    writeBytes(folder + "/arm.glb", makeArmCharacter().builder.glb());
    return folder;
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ImportTool, HelpPrintsUsageAndExitsZero) {
    for (const char* help : {"--help", "-h"}) {
        const RunResult run = runImport({help});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Usage: vorel-import [OPTIONS] INPUT OUTDIR\n", 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

TEST(ImportTool, UsageErrorsExitTwoWithTheUsageOnStderr) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"arm.glb"},
        {"arm.glb", "out", "extra"},
        {"--bogus", "arm.glb", "out"},
        {"--fit", "wide", "arm.glb", "out"},
        {"--height", "-1", "arm.glb", "out"},
        {"--height", "tall", "arm.glb", "out"},
        {"--speed", "0", "arm.glb", "out"},
        {"--speed", "nan", "arm.glb", "out"},
        {"--keys", "a,b,c,d,e,f,g,h", "arm.glb", "out"},
        {"arm.glb", "out", "--height"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const RunResult run = runImport(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vorel-import: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: vorel-import"), std::string::npos);
    }
}

TEST(ImportTool, ASuccessfulImportSummarisesAndWritesASetTheViewerLoads) {
    const std::string folder = folderWithArm();
    const RunResult run = runImport({folder + "/arm.glb", folder + "/set"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> expectedLines = {
        "model 'arm': 3 bones, 32 positions, 26 normals, 40 faces",
        "skinned vertices: 24, of which 4 follow a joint with less than half their weight",
        "animations: 2",
        "key 1: 'Cancan' plays 'Wave'",
        "key 2: 'Joyous Walk' plays 'Nod'",
    };
    const std::vector<std::string> lines = splitLines(run.out);
    for (const std::string& line : expectedLines) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line << "\nin\n"
                                                                            << run.out;
    }
    EXPECT_NE(run.out.find("fit: scale "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  'Wave': length 1, "), std::string::npos) << run.out;
    // Nod moves Upper alone; the other bones stay at rest within their tolerances.
    EXPECT_NE(run.out.find("  'Nod': length 0.25, 2 key times, 1 track\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{"arm.glb", "set"}));

    std::string problem;
    const std::unique_ptr<AssetLibrary> library =
        loadLibraryBesideManifest(folder + "/set/vorel.txt", problem);
    ASSERT_NE(library, nullptr) << problem;
    EXPECT_EQ(library->modelNames, (std::vector<std::string>{"arm"}));
    EXPECT_EQ(library->animationNames,
              (std::vector<std::string>{"Cancan", "Joyous Walk", "Wave", "Nod"}));
    for (const auto& animation : library->animations) EXPECT_NE(animation, nullptr);
    ASSERT_NE(library->models[0], nullptr);
    EXPECT_EQ(library->models[0]->positions.size(), 32u);
}

TEST(ImportTool, KeysAndSpeedChooseWhatPlaysAndHowFast) {
    const std::string folder = folderWithArm();
    const RunResult run = runImport({"--keys", "Nod,Wave", "--speed", "2", "--fit", "none",
                                     folder + "/arm.glb", folder + "/set"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("key 1: 'Cancan' plays 'Nod'\nkey 2: 'Joyous Walk' plays 'Wave'\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  'Wave': length 0.5, "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("fit: none"), std::string::npos) << run.out;

    const RunResult missing =
        runImport({"--keys", "Wave,Jump", folder + "/arm.glb", folder + "/other"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              folder + "/arm.glb: /animations: no animation named 'Jump' for --keys\n");
    EXPECT_FALSE(fs::exists(folder + "/other"));
}

TEST(ImportTool, BadInputExitsOneWithOneLineAndLeavesNothingBehind) {
    const std::string folder = folderWithArm();
    const std::string glb = makeArmCharacter().builder.glb();
    writeBytes(folder + "/short.glb", glb.substr(0, glb.size() / 2));
    writeBytes(folder + "/empty.gltf", "");
    for (const std::string& input :
         {folder + "/short.glb", folder + "/empty.gltf", folder + "/absent.glb"}) {
        const RunResult run = runImport({input, folder + "/set"});
        EXPECT_EQ(run.status, 1) << input;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(input + ": ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{"arm.glb", "empty.gltf", "short.glb"}));
}

TEST(ImportTool, AnOutdirThatIsNotASetIsNeverReplacedButAnEarlierSetIsWhenAsked) {
    const std::string folder = folderWithArm();
    fs::create_directory(folder + "/photos");
    writeBytes(folder + "/photos/keep.jpg", "precious");
    for (const bool replace : {false, true}) {
        std::vector<std::string> arguments = {folder + "/arm.glb", folder + "/photos"};
        if (replace) arguments.insert(arguments.begin(), "--replace");
        const RunResult refused = runImport(arguments);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err,
                  folder + "/photos: is not empty and holds no Vorel set; nothing replaced\n");
        EXPECT_EQ(entriesOf(folder + "/photos"), (std::vector<std::string>{"keep.jpg"}));
    }
    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{"arm.glb", "photos"}));

    ASSERT_EQ(runImport({folder + "/arm.glb", folder + "/set"}).status, 0);
    const RunResult unasked = runImport({"--keys", "Nod", folder + "/arm.glb", folder + "/set"});
    EXPECT_EQ(unasked.status, 1);
    EXPECT_EQ(unasked.err,
              folder + "/set: already holds a Vorel set; give --replace to replace it\n");
    ASSERT_EQ(
        runImport({"--replace", "--keys", "Nod", folder + "/arm.glb", folder + "/set"}).status, 0);
    std::string problem;
    const std::unique_ptr<AssetLibrary> library =
        loadLibraryBesideManifest(folder + "/set/vorel.txt", problem);
    ASSERT_NE(library, nullptr) << problem;
    EXPECT_EQ(library->animationNames, (std::vector<std::string>{"Cancan", "Wave", "Nod"}));
    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{"arm.glb", "photos", "set"}));
}

TEST(ImportTool, ASetHoldingTheUsersOwnFilesIsNeverReplacedEvenWhenAsked) {
    const std::string folder = folderWithArm();
    ASSERT_EQ(runImport({folder + "/arm.glb", folder + "/set"}).status, 0);
    const std::vector<std::string> setFiles = entriesOf(folder + "/set");
    writeBytes(folder + "/set/notes.txt", "my notes");
    const RunResult withNotes = runImport({"--replace", folder + "/arm.glb", folder + "/set"});
    EXPECT_EQ(withNotes.status, 1);
    EXPECT_EQ(withNotes.err, folder +
                                 "/set: holds 'notes.txt', which is not a file of its set; "
                                 "nothing replaced\n");
    EXPECT_EQ(readText(folder + "/set/notes.txt"), "my notes");
    fs::remove(folder + "/set/notes.txt");
    fs::create_directory(folder + "/set/renders");
    const RunResult withFolder = runImport({"--replace", folder + "/arm.glb", folder + "/set"});
    EXPECT_EQ(withFolder.status, 1);
    EXPECT_NE(withFolder.err.find("holds 'renders', which is not a file of its set"),
              std::string::npos)
        << withFolder.err;
    EXPECT_TRUE(fs::is_directory(folder + "/set/renders"));
    fs::remove(folder + "/set/renders");
    EXPECT_EQ(entriesOf(folder + "/set"), setFiles);
    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{"arm.glb", "set"}));
}

TEST(ImportTool, AnEmptyOutdirIsFilledAndAFileInTheWayIsRefusedOnce) {
    const std::string folder = folderWithArm();
    fs::create_directory(folder + "/empty");
    const RunResult filled = runImport({folder + "/arm.glb", folder + "/empty"});
    ASSERT_EQ(filled.status, 0) << filled.err;
    EXPECT_TRUE(fs::exists(folder + "/empty/vorel.txt"));
    writeBytes(folder + "/file", "text");
    const RunResult file = runImport({folder + "/arm.glb", folder + "/file"});
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, folder + "/file: exists and is not a folder; nothing replaced\n");
    EXPECT_EQ(readText(folder + "/file"), "text");
}

TEST(ImportTool, TheVertexMapNamesWherePrimitivesWent) {
    const std::string folder = folderWithArm();
    const RunResult run = runImport(
        {"--rigid", "--vertex-map", folder + "/map.txt", folder + "/arm.glb", folder + "/set"});
    ASSERT_EQ(run.status, 0) << run.err;
    // Imported rigidly, the arm's positions are all distinct and already bone by bone (the
    // hand hangs from Lower, whose box comes last), so welding leaves them where they were.
    EXPECT_EQ(readText(folder + "/map.txt"),
              "0 0 24 skinned 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\n"
              "6 0 4 attached 24 25 26 27\n7 0 4 static 28 29 30 31\n");
    // The map never goes over the character it describes.
    const std::string glb = readText(folder + "/arm.glb");
    const RunResult overInput = runImport(
        {"--vertex-map", folder + "/../" + fs::path(folder).filename().string() + "/arm.glb",
         folder + "/arm.glb", folder + "/set2"});
    EXPECT_EQ(overInput.status, 1);
    EXPECT_NE(overInput.err.find(": is the input; the vertex map is not written over it"),
              std::string::npos)
        << overInput.err;
    EXPECT_EQ(readText(folder + "/arm.glb"), glb);
    EXPECT_FALSE(fs::exists(folder + "/set2"));
}

std::vector<Vector3> objPositions(const std::string& path) {
    std::vector<Vector3> positions;
    for (const std::string& line : splitLines(readText(path))) {
        if (line.rfind("v ", 0) != 0) continue;
        std::istringstream fields(line.substr(2));
        Vector3 p;
        fields >> p.x >> p.y >> p.z;
        positions.push_back(p);
    }
    return positions;
}

TEST(ImportTool, TheFitMovesEveryPoseAsItMovesTheBindPose) {
    const std::string folder = folderWithArm();
    const RunResult fitted = runImport({folder + "/arm.glb", folder + "/fitted"});
    ASSERT_EQ(fitted.status, 0) << fitted.err;
    ASSERT_EQ(runImport({"--fit", "none", folder + "/arm.glb", folder + "/file"}).status, 0);
    float scale = 0.0f;
    Vector3 offset;
    const std::size_t at = fitted.out.find("fit: scale ");
    ASSERT_NE(at, std::string::npos) << fitted.out;
    std::istringstream fit(fitted.out.substr(at + 11));
    char comma = 0;
    std::string word;
    fit >> scale >> comma >> word >> offset.x >> offset.y >> offset.z;
    ASSERT_EQ(comma, ',');
    ASSERT_EQ(word, "offset");
    // Frame 38 is between keys of "Wave", with the armature, the hips and the elbow moving.
    for (const char* set : {"fitted", "file"}) {
        const RunResult pose =
            runProgram(VOREL_INSPECT_BINARY, {"pose", folder + "/" + set + "/vorel.txt", "38",
                                              "Wave@1", "--obj", folder + "/" + set + ".obj"});
        ASSERT_EQ(pose.status, 0) << pose.err;
    }
    const std::vector<Vector3> inView = objPositions(folder + "/fitted.obj");
    const std::vector<Vector3> asFiled = objPositions(folder + "/file.obj");
    ASSERT_EQ(inView.size(), 32u);
    ASSERT_EQ(asFiled.size(), inView.size());
    // The printed scale has six digits; the default height is 221.
    const float tolerance = 221.0f * 1e-5f;
    for (std::size_t v = 0; v < inView.size(); ++v) {
        EXPECT_NEAR(inView[v].x, scale * asFiled[v].x + offset.x, tolerance) << v;
        EXPECT_NEAR(inView[v].y, scale * asFiled[v].y + offset.y, tolerance) << v;
        EXPECT_NEAR(inView[v].z, scale * asFiled[v].z + offset.z, tolerance) << v;
    }
}

}  // namespace
}  // namespace vorel::test_support
