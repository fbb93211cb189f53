// The real vorel-retarget binary: usage, every kind of bad input as one line and exit 1, and
// a good run whose set the viewer's loader takes, with the input set left as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/retarget/odd_rest_capture.h"
#include "tests/retarget/test_capture.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;
using test_support::makeScratchFolder;
using test_support::readText;
using test_support::RunResult;
using test_support::splitLines;
using test_support::writeBytes;

RunResult retarget(const std::vector<std::string>& arguments) {
    return test_support::runProgram(VOREL_RETARGET_BINARY, arguments);
}

// One line, `FILE: ...`, on standard error and nothing on standard output.
void expectOneLineFailure(const RunResult& run, const std::string& start) {
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> lines = splitLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines.front().rfind(start, 0), 0u) << lines.front();
    EXPECT_EQ(run.out, "");
}

std::string captureFile(const std::string& folder) {
    TestCapture capture(12);
    for (int f = 0; f < 12; ++f)
        capture.rotate("LeftArm", f, -6.0f * static_cast<float>(f), 0.0f, 0.0f);
    const std::string path = folder + "/capture.bvh";
    writeBytes(path, capture.bvhText());
    return path;
}

// The default set written by the tool's own default, as a target folder of our own.
std::string targetSet(const std::string& folder) {
    const std::string out = folder + "/first";
    const RunResult run = retarget({captureFile(folder), out});
    EXPECT_EQ(run.status, 0) << run.err;
    return out + "/vorel.txt";
}

std::map<std::string, std::string> folderContents(const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder))
        contents[entry.path().filename().string()] = readText(entry.path().string());
    return contents;
}

TEST(RetargetTool, HelpAndUsageErrors) {
    const RunResult help = retarget({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: vorel-retarget"), std::string::npos);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{},
                                                  {"a.bvh"},
                                                  {"a.bvh", "b", "c", "d"},
                                                  {"--bogus", "a.bvh", "out"},
                                                  {"robot.glb", "out"},
                                                  {"--animation", "Dance", "a.bvh", "out"},
                                                  {"a.bvh", "out", "--as"},
                                                  {"--as", "two\nlines", "a.bvh", "out"}}) {
        const RunResult run = retarget(wrong);
        EXPECT_EQ(run.status, 2) << (wrong.empty() ? "no arguments" : wrong.front());
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    }
}

TEST(RetargetTool, ACaptureGoesOnTheDefaultDancerUnderItsKeyName) {
    const std::string folder = makeScratchFolder();
    const std::string out = folder + "/out";
    const RunResult run = retarget({"--as", "Cancan", captureFile(folder), out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_GE(lines.size(), 4u) << run.out;
    EXPECT_NE(
        lines[0].find("capture.bvh': 32 joints (end points counted), 12 frames at 30 per second"),
        std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("the built-in CMU map, 19 bones driven"), std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find("the skirt clears the thighs"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("animation 'Cancan':"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("keys before reduction"), std::string::npos) << lines[2];
    std::string problem;
    const auto library = loadLibraryBesideManifest(out + "/vorel.txt", problem);
    ASSERT_NE(library, nullptr) << problem;
    ASSERT_NE(library->findAnimation("Cancan"), nullptr);
    EXPECT_EQ(library->animations.size(), 7u);
    EXPECT_NEAR(library->findAnimation("Cancan")->header->duration, 11.0f / 30.0f, 1e-6f);
}

TEST(RetargetTool, TheTargetSetIsCopiedAndNeverChanged) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = targetSet(folder);
    const auto before = folderContents(folder + "/first");
    const std::string out = folder + "/second";
    const RunResult run =
        retarget({"--in-place", "--as", "Capture", captureFile(folder), manifest, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folderContents(folder + "/first"), before);
    std::string problem;
    const auto library = loadLibraryBesideManifest(out + "/vorel.txt", problem);
    ASSERT_NE(library, nullptr) << problem;
    // The seven dances, the first run's "capture" and this run's "Capture".
    EXPECT_EQ(library->animations.size(), 9u);
    EXPECT_NE(library->findAnimation("Capture"), nullptr);
    EXPECT_NE(library->findAnimation("capture"), nullptr);
    // Writing over the target's own folder is refused, and leaves it alone.
    expectOneLineFailure(retarget({captureFile(folder), manifest, folder + "/first"}),
                         folder + "/first: ");
    EXPECT_EQ(folderContents(folder + "/first"), before);
}

TEST(RetargetTool, BadInputsFailWithOneLineNamingTheFile) {
    const std::string folder = makeScratchFolder();
    const std::string capture = captureFile(folder);
    const std::string out = folder + "/out";
    expectOneLineFailure(retarget({folder + "/missing.bvh", out}), folder + "/missing.bvh: ");
    expectOneLineFailure(retarget({folder + "/capture.txt", out}),
                         folder + "/capture.txt: not a .bvh");

    const std::string text = readText(capture);
    writeBytes(folder + "/truncated.bvh", text.substr(0, text.size() / 2));
    expectOneLineFailure(retarget({folder + "/truncated.bvh", out}),
                         folder + "/truncated.bvh: line ");

    std::string renamed = text;
    for (const char* name : {"Hips", "Spine", "Neck", "Head", "Shoulder", "Arm", "Hand", "Leg",
                             "Foot", "Toe", "Lower", "Finger"}) {
        for (std::size_t at = renamed.find(name); at != std::string::npos;
             at = renamed.find(name, at + 2))
            renamed.insert(at, "x");
    }
    writeBytes(folder + "/strangers.bvh", renamed);
    const RunResult strangers = retarget({folder + "/strangers.bvh", out});
    expectOneLineFailure(strangers, folder + "/strangers.bvh: the source has none of the bones");

    writeBytes(folder + "/map.txt", "Hips pelvis\nLeftArm upper_arm_l\nLeftElbow forearm_l\n");
    expectOneLineFailure(retarget({"--map", folder + "/map.txt", capture, out}),
                         folder + "/map.txt: line 3: the source has no bone named 'LeftElbow'");
    writeBytes(folder + "/map.txt", "Hips pelvis\nLeftArm arm_upper_left\n");
    expectOneLineFailure(
        retarget({"--map", folder + "/map.txt", capture, out}),
        folder + "/map.txt: line 2: the target has no bone named 'arm_upper_left'");
    expectOneLineFailure(retarget({"--map", folder + "/nomap.txt", capture, out}),
                         folder + "/nomap.txt: ");
    expectOneLineFailure(retarget({capture, folder + "/none/vorel.txt", out}),
                         folder + "/none/vorel.txt: ");
    expectOneLineFailure(retarget({"--animation", "Dance", folder + "/missing.glb", out}),
                         folder + "/missing.glb: ");

    // A few kilobytes that declare 2,001 joints moving over 2,001 frames: more transforms
    // than the file justifies holding.
    std::string many = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Yposition\n";
    for (int end = 0; end < 2000; ++end) many += "End Site\n{\nOFFSET 0 -1 0\n}\n";
    many += "}\nMOTION\nFrames: 2001\nFrame Time: 0.01\n";
    for (int frame = 0; frame < 2001; ++frame) many += "1\n";
    writeBytes(folder + "/many.bvh", many);
    expectOneLineFailure(
        retarget({folder + "/many.bvh", out}),
        folder +
            "/many.bvh: 2001 frames of 2001 joints are more than the 4000000 joint transforms");
    EXPECT_FALSE(fs::exists(out));
}

TEST(RetargetTool, ACaptureWithNoFrameGetsTheVerdictEveryToolGives) {
    const std::string folder = makeScratchFolder();
    const std::string text = readText(captureFile(folder));
    writeBytes(folder + "/empty.bvh",
               text.substr(0, text.find("Frames:")) + "Frames: 0\nFrame Time: 0.04\n");
    expectOneLineFailure(retarget({folder + "/empty.bvh", folder + "/out"}),
                         folder + "/empty.bvh: the capture has no frames");
    EXPECT_FALSE(fs::exists(folder + "/out"));
}

// The hips' height held in the root's OFFSET and legs that lie sideways at rest: the leg
// length comes from how the capture stands in its frames, so the dancer stays in the picture.
TEST(RetargetTool, ARigWhoseRestDoesNotStandIsScaledByHowItStands) {
    const std::string folder = makeScratchFolder();
    writeBytes(folder + "/odd.bvh", oddRestCapture(216));
    const RunResult run = retarget({folder + "/odd.bvh", folder + "/out"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("98 joints (end points counted), 216 frames at 60 per second"),
              std::string::npos)
        << run.out;
    const std::size_t at = run.out.find("leg-length ratio ");
    ASSERT_NE(at, std::string::npos) << run.out;
    // The dancer's hips (198) above her soles (88.5), over the capture's standing height.
    EXPECT_NEAR(std::stod(run.out.substr(at + 17)), (198.0 - 88.5) / OddRestStandingHeight, 0.2)
        << run.out;
    EXPECT_EQ(run.out.find("outside the viewer's fixed picture"), std::string::npos) << run.out;
}

// A figure carried far out of the picture is refused with what to try; asked for, it is kept.
TEST(RetargetTool, AFigureOutOfThePictureInMostFramesIsRefusedUnlessAskedFor) {
    const std::string folder = makeScratchFolder();
    TestCapture capture(20);
    for (int f = 0; f < 20; ++f)
        capture.place(f, 200.0f + 30.0f * static_cast<float>(f), TestCapture::StandingHeight, 0);
    // The travel's middle is put on the axis: only the travel itself can take her away.
    const std::string path = folder + "/away.bvh";
    writeBytes(path, capture.bvhText());
    const RunResult refused = retarget({path, folder + "/out"});
    expectOneLineFailure(refused, path + ": the figure would be outside the viewer's picture in ");
    EXPECT_NE(refused.err.find("try --in-place, a map (--map) that pairs the legs, or "
                               "--allow-off-picture to keep it"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(folder + "/out"));
    const RunResult kept = retarget({"--allow-off-picture", path, folder + "/out"});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(kept.out.find("have a vertex outside the viewer's fixed picture"), std::string::npos)
        << kept.out;
    const RunResult inPlace = retarget({"--in-place", path, folder + "/still"});
    EXPECT_EQ(inPlace.status, 0) << inPlace.err;
}

// FNV-1a over a file's bytes: a short, stable stand-in for a whole file.
std::uint64_t digest(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    return hash;
}

// --no-plant gives, byte for byte, the animation the retargeter wrote before feet were
// planted; planting, and --contacts, say what the feet did.
TEST(RetargetTool, FeetArePlantedUnlessAskedNotAndTheContactsCanBeWritten) {
    const std::string folder = makeScratchFolder();
    const RunResult unplanted = retarget({"--no-plant", VOREL_CMU_BVH, folder + "/copied"});
    ASSERT_EQ(unplanted.status, 0) << unplanted.err;
    const std::string copied = readText(folder + "/copied/cmu-93_03.anim");
    EXPECT_EQ(copied.size(), 302998u);
    EXPECT_EQ(digest(copied), 0xe8f728d11c3d0e46u);
    EXPECT_NE(unplanted.out.find("\nfeet unplanted: "), std::string::npos) << unplanted.out;

    const std::string contacts = folder + "/contacts.txt";
    const RunResult planted =
        retarget({"--contacts", contacts, VOREL_CMU_BVH, folder + "/planted"});
    ASSERT_EQ(planted.status, 0) << planted.err;
    EXPECT_NE(planted.out.find("\nfeet in the source: "), std::string::npos) << planted.out;
    EXPECT_NE(planted.out.find("\nfeet planted: "), std::string::npos) << planted.out;
    EXPECT_NE(readText(folder + "/planted/cmu-93_03.anim"), copied);
    const std::vector<std::string> lines = splitLines(readText(contacts));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2].rfind("foot_l ankle LeftFoot: ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("foot_l toe LeftToeBase: ", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind("foot_r ankle RightFoot: ", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5].rfind("foot_r toe RightToeBase: ", 0), 0u) << lines[5];

    // The contacts never go over an input.
    const std::string source = folder + "/capture.bvh";
    writeBytes(source, readText(VOREL_CMU_BVH));
    expectOneLineFailure(retarget({"--contacts", source, source, folder + "/third"}),
                         source + ": is the source, which is never overwritten");
    EXPECT_EQ(readText(source), readText(VOREL_CMU_BVH));
}

TEST(RetargetTool, AnOutputPathThatIsNoSetIsNeverReplaced) {
    const std::string folder = makeScratchFolder();
    const std::string out = folder + "/precious";
    fs::create_directories(out);
    writeBytes(out + "/notes.txt", "keep me");
    const RunResult run = retarget({captureFile(folder), out});
    expectOneLineFailure(run, out + ": ");
    EXPECT_EQ(readText(out + "/notes.txt"), "keep me");
}

TEST(RetargetTool, ASetAsOutdirIsReplacedOnlyWhenAskedAndTheLikelyMeaningIsSaid) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = targetSet(folder);
    const auto before = folderContents(folder + "/first");
    const std::string capture = captureFile(folder);
    // "Onto my set" is what `vorel-retarget capture.bvh first` most likely means.
    const RunResult meant = retarget({capture, folder + "/first"});
    expectOneLineFailure(meant,
                         folder +
                             "/first: already holds a Vorel set and is not replaced; "
                             "to put the motion on its figure, name its manifest before a new "
                             "OUTDIR: " +
                             capture + " " + manifest + " NEWDIR");
    const RunResult other = retarget({capture, manifest, folder + "/first2"});
    ASSERT_EQ(other.status, 0) << other.err;
    expectOneLineFailure(retarget({capture, manifest, folder + "/first2"}),
                         folder + "/first2: already holds a Vorel set; give --replace");
    EXPECT_EQ(folderContents(folder + "/first"), before);
    writeBytes(folder + "/first2/notes.txt", "mine");
    expectOneLineFailure(retarget({"--replace", capture, manifest, folder + "/first2"}),
                         folder + "/first2: holds 'notes.txt', which is not a file of its set");
    EXPECT_EQ(readText(folder + "/first2/notes.txt"), "mine");
    fs::remove(folder + "/first2/notes.txt");
    const RunResult replaced =
        retarget({"--replace", "--as", "Again", capture, manifest, folder + "/first2"});
    ASSERT_EQ(replaced.status, 0) << replaced.err;
    std::string problem;
    const auto library = loadLibraryBesideManifest(folder + "/first2/vorel.txt", problem);
    ASSERT_NE(library, nullptr) << problem;
    EXPECT_NE(library->findAnimation("Again"), nullptr);
}

TEST(RetargetTool, AGltfAnimationGoesOnTheDancerThroughAMapFile) {
    const std::string folder = makeScratchFolder();
    const std::string out = folder + "/out";
    const RunResult run = retarget(
        {"--animation", "Wave", "--as", "Salute", "--map", VOREL_ROBOT_MAP, VOREL_ROBOT_GLB, out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("17 bones driven"), std::string::npos) << run.out;
    const RunResult missing = retarget(
        {"--animation", "Moonwalk", "--map", VOREL_ROBOT_MAP, VOREL_ROBOT_GLB, folder + "/other"});
    expectOneLineFailure(
        missing, std::string(VOREL_ROBOT_GLB) + ": /animations: no animation named 'Moonwalk'");
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

const std::string Captures = std::string(VOREL_ASSIMP_MODELS) + "/BVH/";

TEST(RetargetRealFiles, ABuiltInMapThatLeavesTheLimbsStillSaysWhatItLeftAndPointsToMap) {
    const std::string out = makeScratchFolder() + "/boxing";
    const RunResult run = retarget({Captures + "Boxing_Toes.bvh", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    const auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("warning: " + Captures +
                    "Boxing_Toes.bvh: 'Frames:' says 3069, but 3070 motion lines follow; all "
                    "3070 are used"))
        << run.out;
    EXPECT_TRUE(
        has("warning: the built-in CMU map drives only 5 of the 27 bones, and the limbs "
            "upper_arm_l, forearm_l, thigh_l, shin_l, upper_arm_r, forearm_r, thigh_r, "
            "shin_r stay at rest: give a map of this source's joints with --map FILE"))
        << run.out;
    EXPECT_NE(run.out.find("warning: source joints left unmapped: Ab, Chest, LeftCollar, "
                           "LeftElbow, LeftWrist, "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("warning: target bones the map leaves out: spine, neck, upper_arm_l, "),
              std::string::npos)
        << run.out;
    // A capture the map fits says nothing of the kind.
    const RunResult fitting = retarget({Captures + "01_03.bvh", out + "2"});
    ASSERT_EQ(fitting.status, 0) << fitting.err;
    EXPECT_EQ(fitting.out.find("--map"), std::string::npos) << fitting.out;
}

TEST(RetargetRealFiles, ATravellingCaptureSaysTheTravelAddsToLeavingThePicture) {
    const std::string folder = makeScratchFolder();
    const RunResult walking = retarget({Captures + "01_01.bvh", folder + "/walk"});
    ASSERT_EQ(walking.status, 0) << walking.err;
    const std::size_t at = walking.out.find("warning: ");
    ASSERT_NE(at, std::string::npos) << walking.out;
    const std::string warning = walking.out.substr(at);
    EXPECT_NE(warning.find(" of 2752 frames, from frame "), std::string::npos) << warning;
    EXPECT_NE(warning.find("the travel across the floor"), std::string::npos) << warning;
    const RunResult still = retarget({"--in-place", Captures + "01_01.bvh", folder + "/still"});
    ASSERT_EQ(still.status, 0) << still.err;
    const std::size_t stillAt = still.out.find("warning: ");
    const int outInPlace =
        stillAt == std::string::npos ? 0 : std::stoi(still.out.substr(stillAt + 9));
    EXPECT_LT(outInPlace * 4, std::stoi(warning.substr(9)));
    EXPECT_NE(warning.find("with --in-place " + std::to_string(outInPlace) + " frames"),
              std::string::npos)
        << warning << still.out;
    EXPECT_EQ(still.out.find("travel"), std::string::npos) << still.out;
}

}  // namespace
}  // namespace vorel
