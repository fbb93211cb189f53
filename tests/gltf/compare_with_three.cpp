// compare_with_three GLTF OBJ THREE_POSITIONS LIMIT_PERCENT LABEL
//
// Compares a pose of an imported figure (the OBJ that `vorel-inspect pose --obj` wrote) with
// three.js's skinning of the original glTF at the same time (what
// tests/node/skinned_positions.mjs printed for one time). The glTF is imported again, without
// the fit, for the map from (node, primitive, vertex) to Vorel position and each vertex's
// followed weight. Every vertex is compared, those blended over several joints included; the
// summary says how many of them follow one joint with less than 0.999 of their weight.
// Prints the largest distance as a percentage of the bind pose's height; exits 1 when it
// exceeds LIMIT_PERCENT or the files do not match up, 2 on a usage error.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "convert/affine_transform.h"
#include "gltf/import_gltf.h"

namespace {

using namespace vorel;

struct Largest {
    double distance = -1.0;
    std::string where;
};

bool readObjPositions(const std::string& path, std::vector<Vector3>& positions) {
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("v ", 0) != 0) continue;
        std::istringstream fields(line.substr(2));
        Vector3 p;
        if (!(fields >> p.x >> p.y >> p.z)) return false;
        positions.push_back(p);
    }
    return !positions.empty();
}

double bindHeight(const ModelData& model) {
    float low = model.positions.front().y, high = low;
    for (const Vector3& p : model.positions) low = std::min(low, p.y), high = std::max(high, p.y);
    return static_cast<double>(high - low);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "compare_with_three: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: compare_with_three GLTF OBJ THREE_POSITIONS LIMIT_PERCENT LABEL\n");
        return 2;
    }
    const std::string label = argv[5];
    const double limitPercent = std::atof(argv[4]);
    ImportedSet imported;
    LoadError error;
    ImportOptions options;
    options.fitToView = false;
    if (!importGltf(argv[1], options, imported, error)) return fail(error.describe());
    std::vector<Vector3> posed;
    if (!readObjPositions(argv[2], posed)) return fail(std::string(argv[2]) + ": no vertices");
    if (posed.size() != imported.model->positions.size())
        return fail("the OBJ's vertex count differs from the import's");
    std::map<std::pair<int, int>, const PrimitiveRange*> ranges;
    for (const PrimitiveRange& range : imported.ranges)
        ranges[{range.node, range.primitive}] = &range;

    const double height = bindHeight(*imported.model);
    std::ifstream three(argv[3]);
    std::string line, time = "?";
    Largest largest;
    std::size_t compared = 0, shared = 0, primitives = 0;
    while (std::getline(three, line)) {
        std::istringstream fields(line);
        std::string word, name, nodeWord, meshWord, primitiveWord;
        int index = 0, node = 0, mesh = 0, primitive = 0;
        long long count = 0;
        fields >> word;
        if (word == "time") {
            fields >> time;
            continue;
        }
        if (!(word == "mesh" && fields >> index >> name >> count >> nodeWord >> node >> meshWord >>
                                    mesh >> primitiveWord >> primitive)) {
            return fail(std::string(argv[3]) + ": unexpected line '" + line + "'");
        }
        const auto found = ranges.find({node, primitive});
        if (found == ranges.end() || found->second->vertexCount != count) {
            return fail("three.js's mesh " + std::to_string(index) + " (node " +
                        std::to_string(node) + ") has no imported primitive of " +
                        std::to_string(count) + " vertices");
        }
        const PrimitiveRange& range = *found->second;
        ++primitives;
        for (long long v = 0; v < count; ++v) {
            Point3d expected;
            if (!std::getline(three, line) ||
                !(std::istringstream(line) >> expected.x >> expected.y >> expected.z)) {
                return fail(std::string(argv[3]) + ": short vertex list of mesh " +
                            std::to_string(index));
            }
            const std::size_t vertex = static_cast<std::size_t>(range.firstVertex + v);
            const std::size_t position = static_cast<std::size_t>(imported.vertexPositions[vertex]);
            if (range.binding == "skinned" && imported.followedWeights[vertex] < 0.999f) ++shared;
            ++compared;
            const double distance = length(difference(toPoint3d(posed[position]), expected));
            if (distance > largest.distance) {
                largest.distance = distance;
                largest.where = name + " (node " + std::to_string(node) + ", " + range.binding +
                                ") vertex " + std::to_string(v);
            }
        }
    }
    if (compared == 0) return fail("no vertex to compare");
    const double percent = 100.0 * largest.distance / height;
    std::printf(
        "%s at %s s: %zu vertices (%zu shared between joints) of %zu primitives compared; largest "
        "distance %.3g = %.4f %% of the height %.4g (%s); limit %.2f %%\n",
        label.c_str(), time.c_str(), compared, shared, primitives, largest.distance, percent,
        height, largest.where.c_str(), limitPercent);
    return percent <= limitPercent ? 0 : 1;
}
