// compare_fbx_with_three start FBX ANIMATION
// compare_fbx_with_three FBX ANIMATION THREE_POSES LIMIT TIME...
//
// The first form prints the animation stack's LocalStart in seconds: three.js's FBXLoader keeps
// a stack's keys at the file's own times, where Vorel's animation starts at LocalStart.
//
// The second compares Vorel's import of an FBX file (without the fit), posed as the viewer
// poses it at each TIME (seconds from the animation's start), with three.js's FBXLoader and
// skinning of the same file (what tests/node/skinned_positions.mjs --bind --skins printed: the
// vertices before skinning, then one pose per TIME, in the file's own axes and units). Both are
// brought into Vorel's axes and metres. three.js splits every polygon corner into its own
// vertex: each is matched to the Vorel position resting where it rests (the nearest of those
// within 1e-5 of the height or of the farthest coordinate; any of equal rest
// is accepted). Every vertex and every
// skinned bone's skinning matrix (applied to the corners of the bind pose's box) must come
// within LIMIT times the height. Exits 1 past the limit or when the files do not match up.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "convert/affine_transform.h"
#include "fbx/fbx_axes.h"
#include "fbx/import_fbx.h"
#include "fbx/read_fbx_scene.h"
#include "retarget/animation_poser.h"

namespace {

using namespace vorel;

constexpr double TicksPerSecond = 46186158000.0;

struct ThreePose {
    std::string time;
    std::vector<Point3d> vertices;
    std::map<std::string, AffineTransform> skins;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "compare_fbx_with_three: %s\n", message.c_str());
    return 1;
}

bool readPoses(const std::string& path, std::vector<ThreePose>& poses) {
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        std::string word;
        fields >> word;
        if (word == "time") {
            poses.emplace_back();
            fields >> poses.back().time;
        } else if (poses.empty()) {
            return false;
        } else if (word == "skin") {
            std::string name;
            double elements[16];
            fields >> name;
            for (double& element : elements) fields >> element;
            if (!fields) return false;
            poses.back().skins[name] = AffineTransform::fromColumnMajor(elements);
        } else if (word != "mesh") {
            Point3d p;
            if (!(std::istringstream(line) >> p.x >> p.y >> p.z)) return false;
            poses.back().vertices.push_back(p);
        }
    }
    return !poses.empty();
}

// three.js's name for a bone: spaces become '_', and "[].:/" are dropped.
std::string threeName(const std::string& name) {
    std::string result;
    for (char c : name) {
        if (c == ' ') {
            result += '_';
        } else if (std::string("[].:/").find(c) == std::string::npos) {
            result += c;
        }
    }
    return result;
}

// How far three.js's vertex rests from the nearest of Vorel's positions, for the message.
std::string unmatched(const std::vector<Vector3>& rest, const Point3d& p, std::size_t vertex) {
    double nearest = INFINITY;
    Point3d at;
    for (const Vector3& v : rest) {
        const double d = length(difference(toPoint3d(v), p));
        if (d < nearest) nearest = d, at = toPoint3d(v);
    }
    std::ostringstream text;
    text << "three.js's vertex " << vertex << " rests at (" << p.x << ", " << p.y << ", " << p.z
         << "), " << nearest << " from the nearest of Vorel's, (" << at.x << ", " << at.y << ", "
         << at.z << ")";
    return text.str();
}

// The Vorel positions resting where each of three.js's vertices rests.
bool matchRests(const std::vector<Vector3>& rest, const std::vector<Point3d>& threeRest,
                double tolerance, std::vector<std::vector<std::size_t>>& matches,
                std::string& problem) {
    std::map<std::array<long long, 3>, std::vector<std::size_t>> cells;
    auto cellOf = [tolerance](const Point3d& p) {
        return std::array<long long, 3>{std::llround(p.x / tolerance),
                                        std::llround(p.y / tolerance),
                                        std::llround(p.z / tolerance)};
    };
    for (std::size_t i = 0; i < rest.size(); ++i) cells[cellOf(toPoint3d(rest[i]))].push_back(i);
    for (const Point3d& p : threeRest) {
        std::vector<std::size_t> found;
        const std::array<long long, 3> cell = cellOf(p);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy)
                for (long long dz = -1; dz <= 1; ++dz) {
                    const auto at = cells.find({cell[0] + dx, cell[1] + dy, cell[2] + dz});
                    if (at == cells.end()) continue;
                    for (std::size_t i : at->second) {
                        if (length(difference(toPoint3d(rest[i]), p)) <= tolerance)
                            found.push_back(i);
                    }
                }
        if (found.empty()) {
            problem = unmatched(rest, p, matches.size());
            return false;
        }
        matches.push_back(std::move(found));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "start") {
        FbxDocument document;
        FbxScene scene;
        LoadError error;
        if (!readFbxSceneFile(argv[2], document, scene, error)) return fail(error.describe());
        for (const FbxStack& stack : scene.stacks) {
            if (stack.name != argv[3]) continue;
            std::printf("%.17g\n", static_cast<double>(stack.localStart) / TicksPerSecond);
            return 0;
        }
        return fail(std::string("no animation stack '") + argv[3] + "'");
    }
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: compare_fbx_with_three start FBX ANIMATION\n"
                     "       compare_fbx_with_three FBX ANIMATION THREE_POSES LIMIT "
                     "TIME...\n");
        return 2;
    }
    const std::string path = argv[1], animation = argv[2];
    const double limit = std::atof(argv[4]);
    FbxDocument document;
    FbxScene scene;
    ImportedSet imported;
    LoadError error;
    ImportOptions options;
    options.fitToView = false;
    if (!readFbxSceneFile(path, document, scene, error) ||
        !importFbx(path, options, imported, error))
        return fail(error.describe());
    const AffineTransform toVorel = FbxAxes(scene.settings).toVorel();
    AffineTransform fromVorel;
    toVorel.inverted(fromVorel);
    const auto chosen =
        std::find_if(imported.animations.begin(), imported.animations.end(),
                     [&](const ImportedAnimation& a) { return a.name == animation; });
    if (chosen == imported.animations.end()) return fail("no animation '" + animation + "'");
    std::vector<ThreePose> poses;
    if (!readPoses(argv[3], poses) || poses.front().time != "bind" ||
        poses.size() != static_cast<std::size_t>(argc - 4))
        return fail(std::string(argv[3]) + ": not a bind pose and one pose per time");
    const ModelData& model = *imported.model;
    Point3d low = toPoint3d(model.positions.front()), high = low;
    for (const Vector3& v : model.positions) {
        const Point3d p = toPoint3d(v);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const double height = high.y - low.y;
    for (ThreePose& pose : poses) {
        for (Point3d& p : pose.vertices) p = toVorel.transformPoint(p);
    }
    std::vector<std::vector<std::size_t>> matches;
    std::string problem;
    // Rest positions agree to float rounding, which grows with the distance from the origin.
    double reach = height;
    for (const Point3d& corner : {low, high})
        reach = std::max({reach, std::fabs(corner.x), std::fabs(corner.y), std::fabs(corner.z)});
    if (!matchRests(model.positions, poses.front().vertices, 1e-5 * reach, matches, problem))
        return fail(problem);
    const std::size_t ambiguous = static_cast<std::size_t>(
        std::count_if(matches.begin(), matches.end(), [](const auto& m) { return m.size() > 1; }));
    AnimationPoser poser(model, *chosen->data);
    std::map<std::string, std::size_t> boneIndex;
    for (std::size_t b = 0; b < poser.bones().bones.size(); ++b)
        boneIndex.emplace(threeName(poser.bones().bones[b]->name), b);
    int status = 0;
    for (std::size_t t = 1; t < poses.size(); ++t) {
        const ThreePose& pose = poses[t];
        if (pose.vertices.size() != matches.size())
            return fail("pose " + pose.time + " has another vertex count than the bind pose");
        poser.pose(static_cast<float>(std::atof(argv[4 + t])));
        double vertexWorst = 0.0, boneWorst = 0.0;
        std::string boneWhere = "-";
        for (std::size_t v = 0; v < matches.size(); ++v) {
            double nearest = INFINITY;
            for (std::size_t i : matches[v]) {
                nearest = std::min(
                    nearest, length(difference(toPoint3d(poser.positions()[i]), pose.vertices[v])));
            }
            vertexWorst = std::max(vertexWorst, nearest);
        }
        for (const auto& [name, skin] : pose.skins) {
            const auto found = boneIndex.find(name);
            if (found == boneIndex.end())
                return fail("three.js's bone '" + name + "' is not Vorel's");
            const AffineTransform expected =
                AffineTransform::compose(AffineTransform::compose(fromVorel, skin), toVorel);
            const AffineTransform actual =
                AffineTransform::fromMatrix4(poser.boneWorlds()[found->second]);
            for (int corner = 0; corner < 8; ++corner) {
                const Point3d p{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                                corner & 4 ? high.z : low.z};
                const double distance =
                    length(difference(actual.transformPoint(p), expected.transformPoint(p)));
                if (distance > boneWorst) boneWorst = distance, boneWhere = name;
            }
        }
        std::printf(
            "%s '%s' at %s s: %zu vertices (%zu of shared rest), largest distance %.3g "
            "of the height; %zu bones, largest %.3g (%s); limit %.3g\n",
            path.c_str(), animation.c_str(), argv[4 + t], matches.size(), ambiguous,
            vertexWorst / height, pose.skins.size(), boneWorst / height, boneWhere.c_str(), limit);
        if (vertexWorst > limit * height || boneWorst > limit * height) status = 1;
    }
    return status;
}
