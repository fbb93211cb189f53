// Each top-level array the import reads is checked element by element against a small table
// of its fields; nested objects (primitives, channels, samplers, targets) have tables too.
#include "gltf/gltf_json_check.h"

#include <cfloat>
#include <climits>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "gltf/gltf_buffer_uri.h"
#include "gltf/json_nesting.h"

namespace vorel {

namespace {

using Json = nlohmann::json;

enum class Kind {
    Index,     // an integer from 0 to INT_MAX
    ByteSize,  // an integer from 0 to 2^53
    Length,    // an integer from 1 to 2^53
    Stride,    // an integer from 4 to 252
    Bool,
    String,
    Indices,  // an array of indices
    Floats,   // an array of numbers a float can hold
    Vector3,  // exactly three such numbers
    Vector4,
    Matrix,       // sixteen
    BufferUri,    // a string bufferUriProblem accepts
    IndexValues,  // an object whose values are indices
};

using Rules = std::vector<std::pair<const char*, Kind>>;

bool isIntegerIn(const Json& value, std::int64_t low, std::int64_t high) {
    if (value.is_number_unsigned()) {
        const std::uint64_t number = value.get<std::uint64_t>();
        return number >= static_cast<std::uint64_t>(low) &&
               number <= static_cast<std::uint64_t>(high);
    }
    if (!value.is_number_integer()) return false;
    const std::int64_t number = value.get<std::int64_t>();
    return number >= low && number <= high;
}

bool isFloatNumber(const Json& value) {
    if (!value.is_number()) return false;
    const double number = value.get<double>();
    return number >= -FLT_MAX && number <= FLT_MAX;
}

bool isArrayOf(const Json& value, std::size_t size, bool (*element)(const Json&)) {
    if (!value.is_array() || (size != 0 && value.size() != size)) return false;
    for (const Json& item : value) {
        if (!element(item)) return false;
    }
    return true;
}

bool isIndex(const Json& value) {
    return isIntegerIn(value, 0, INT_MAX);
}

bool isObjectOfIndices(const Json& value) {
    if (!value.is_object()) return false;
    for (const Json& item : value) {
        if (!isIndex(item)) return false;
    }
    return true;
}

// Empty when the value fits the kind; else what it should have been.
std::string kindProblem(const Json& value, Kind kind) {
    switch (kind) {
        case Kind::Index:
            return isIndex(value) ? "" : "must be an integer from 0 to 2147483647";
        case Kind::ByteSize:
            return isIntegerIn(value, 0, std::int64_t{1} << 53)
                       ? ""
                       : "must be an integer from 0 to 2^53";
        case Kind::Length:
            return isIntegerIn(value, 1, std::int64_t{1} << 53)
                       ? ""
                       : "must be an integer from 1 to 2^53";
        case Kind::Stride:
            return isIntegerIn(value, 4, 252) ? "" : "must be an integer from 4 to 252";
        case Kind::Bool:
            return value.is_boolean() ? "" : "must be true or false";
        case Kind::String:
            return value.is_string() ? "" : "must be a string";
        case Kind::Indices:
            return isArrayOf(value, 0, isIndex) ? "" : "must be an array of indices";
        case Kind::Floats:
            return isArrayOf(value, 0, isFloatNumber)
                       ? ""
                       : "must be an array of numbers a float can hold";
        case Kind::Vector3:
            return isArrayOf(value, 3, isFloatNumber) ? "" : "must be 3 numbers a float can hold";
        case Kind::Vector4:
            return isArrayOf(value, 4, isFloatNumber) ? "" : "must be 4 numbers a float can hold";
        case Kind::Matrix:
            return isArrayOf(value, 16, isFloatNumber) ? "" : "must be 16 numbers a float can hold";
        case Kind::BufferUri:
            if (!value.is_string()) return "must be a string";
            return value.get_ref<const std::string&>().empty()
                       ? ""
                       : bufferUriProblem(value.get<std::string>());
        case Kind::IndexValues:
            return isObjectOfIndices(value) ? "" : "must be an object of indices";
    }
    return "";
}

class JsonChecker {
  public:
    explicit JsonChecker(LoadError& error) : error_(error) {}

    // Checks the fields of `object` the rules name; absent fields are left to tinygltf.
    bool fields(const Json& object, const std::string& where, const Rules& rules) {
        if (!object.is_object()) return fail(where, "must be an object");
        for (const auto& [name, kind] : rules) {
            const auto found = object.find(name);
            if (found == object.end()) continue;
            const std::string problem = kindProblem(*found, kind);
            if (!problem.empty()) return fail(where + "/" + name, problem);
        }
        return true;
    }

    // Calls `check` on each element of the array `object[name]`, when there is one.
    template <typename Check>
    bool eachOf(const Json& object, const char* name, const std::string& where, Check check) {
        const auto found = object.find(name);
        if (found == object.end()) return true;
        const std::string arrayWhere = where + "/" + name;
        if (!found->is_array()) return fail(arrayWhere, "must be an array");
        for (std::size_t i = 0; i < found->size(); ++i) {
            if (!check((*found)[i], arrayWhere + "/" + std::to_string(i))) return false;
        }
        return true;
    }

    bool fieldsOfEach(const Json& object, const char* name, const std::string& where,
                      const Rules& rules) {
        return eachOf(object, name, where, [&](const Json& item, const std::string& at) {
            return fields(item, at, rules);
        });
    }

    bool fail(const std::string& where, const std::string& message) {
        error_.section = where;
        error_.offset = -1;
        error_.message = message;
        return false;
    }

  private:
    LoadError& error_;
};

const Rules AccessorRules = {{"bufferView", Kind::Index},    {"byteOffset", Kind::ByteSize},
                             {"componentType", Kind::Index}, {"count", Kind::ByteSize},
                             {"type", Kind::String},         {"normalized", Kind::Bool}};
const Rules BufferViewRules = {{"buffer", Kind::Index},
                               {"byteOffset", Kind::ByteSize},
                               {"byteLength", Kind::Length},
                               {"byteStride", Kind::Stride}};
const Rules BufferRules = {{"byteLength", Kind::Length}, {"uri", Kind::BufferUri}};
const Rules BufferRulesInMemory = {{"byteLength", Kind::Length}, {"uri", Kind::String}};
const Rules NodeRules = {
    {"children", Kind::Indices},    {"mesh", Kind::Index},       {"skin", Kind::Index},
    {"translation", Kind::Vector3}, {"rotation", Kind::Vector4}, {"scale", Kind::Vector3},
    {"matrix", Kind::Matrix},       {"weights", Kind::Floats},   {"name", Kind::String}};
const Rules SkinRules = {{"joints", Kind::Indices},
                         {"inverseBindMatrices", Kind::Index},
                         {"skeleton", Kind::Index},
                         {"name", Kind::String}};
const Rules MeshRules = {{"name", Kind::String}, {"weights", Kind::Floats}};
const Rules PrimitiveRules = {{"attributes", Kind::IndexValues},
                              {"indices", Kind::Index},
                              {"material", Kind::Index},
                              {"mode", Kind::Index}};
const Rules AnimationRules = {{"name", Kind::String}};
const Rules ChannelRules = {{"sampler", Kind::Index}};
const Rules TargetRules = {{"node", Kind::Index}, {"path", Kind::String}};
const Rules SamplerRules = {
    {"input", Kind::Index}, {"output", Kind::Index}, {"interpolation", Kind::String}};
const Rules SceneRules = {{"nodes", Kind::Indices}};
const Rules DocumentRules = {{"scene", Kind::Index}};

bool checkMeshes(JsonChecker& check, const Json& document) {
    return check.eachOf(document, "meshes", "", [&](const Json& mesh, const std::string& where) {
        return check.fields(mesh, where, MeshRules) &&
               check.fieldsOfEach(mesh, "primitives", where, PrimitiveRules);
    });
}

bool checkAnimations(JsonChecker& check, const Json& document) {
    return check.eachOf(
        document, "animations", "", [&](const Json& animation, const std::string& where) {
            return check.fields(animation, where, AnimationRules) &&
                   check.fieldsOfEach(animation, "samplers", where, SamplerRules) &&
                   check.eachOf(animation, "channels", where,
                                [&](const Json& channel, const std::string& at) {
                                    const auto target = channel.find("target");
                                    return check.fields(channel, at, ChannelRules) &&
                                           (target == channel.end() ||
                                            check.fields(*target, at + "/target", TargetRules));
                                });
        });
}

}  // namespace

bool checkGltfJson(std::string_view json, std::int64_t jsonOffset, bool readsExternalFiles,
                   LoadError& error) {
    const std::size_t tooDeep = jsonNestingDepthExceeded(json);
    if (tooDeep != std::string_view::npos) {
        error.section = "JSON";
        error.offset = jsonOffset + static_cast<std::int64_t>(tooDeep);
        error.message = "arrays and objects nested more than " + std::to_string(MaxJsonNesting) +
                        " levels deep";
        return false;
    }
    const Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) return true;
    JsonChecker check(error);
    return check.fields(document, "", DocumentRules) &&
           check.fieldsOfEach(document, "accessors", "", AccessorRules) &&
           check.fieldsOfEach(document, "bufferViews", "", BufferViewRules) &&
           check.fieldsOfEach(document, "buffers", "",
                              readsExternalFiles ? BufferRules : BufferRulesInMemory) &&
           check.fieldsOfEach(document, "nodes", "", NodeRules) &&
           check.fieldsOfEach(document, "skins", "", SkinRules) &&
           check.fieldsOfEach(document, "scenes", "", SceneRules) && checkMeshes(check, document) &&
           checkAnimations(check, document);
}

}  // namespace vorel
