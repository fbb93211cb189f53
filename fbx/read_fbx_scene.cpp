// Objects first (each registered by its id), then the connections that link them.
#include "fbx/read_fbx_scene.h"

#include <cmath>
#include <map>
#include <unordered_map>

#include "assets/file_bytes.h"
#include "fbx/fbx_node_values.h"
#include "fbx/read_fbx.h"

namespace vorel {

namespace {

enum class ObjectKind { Model, Geometry, Skin, Cluster, Stack, Layer, CurveNode, Curve, Other };

struct ObjectRef {
    ObjectKind kind = ObjectKind::Other;
    int index = -1;
};

// Curve interpolation bits of KeyAttrFlags.
constexpr std::int64_t ConstantBit = 0x02;
constexpr std::int64_t CubicBit = 0x08;

double frameRateOfTimeMode(int mode, double custom) {
    switch (mode) {
        case 1:
            return 120.0;
        case 2:
            return 100.0;
        case 3:
            return 60.0;
        case 4:
            return 50.0;
        case 5:
            return 48.0;
        case 8:
        case 9:
            return 30000.0 / 1001.0;
        case 10:
            return 25.0;
        case 11:
            return 24.0;
        case 12:
            return 1000.0;
        case 13:
            return 24000.0 / 1001.0;
        case 14:
            return custom > 0.0 && std::isfinite(custom) ? custom : 30.0;
        case 15:
            return 96.0;
        case 16:
            return 72.0;
        case 17:
            return 60000.0 / 1001.0;
        case 18:
            return 120000.0 / 1001.0;
        default:
            return 30.0;
    }
}

bool allFinite(const std::vector<double>& values) {
    for (double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool finitePoint(const Point3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

class SceneReader {
  public:
    SceneReader(FbxDocument& document, FbxScene& scene, LoadError& error)
        : document_(document), scene_(scene), error_(error) {}

    bool read() {
        if (document_.version != 0 && document_.version < 7000) {
            return fail(error_, "",
                        "FBX " + std::to_string(document_.version / 1000) + "." +
                            std::to_string(document_.version / 100 % 10) +
                            " scenes are not read (only 7.0 and later)");
        }
        readSettings();
        FbxNode* objects = document_.root.child("Objects");
        if (!objects) return fail(error_, "Objects", "the file has no Objects");
        for (FbxNode& object : objects->children) {
            if (!readObject(object)) return false;
        }
        const FbxNode* connections = document_.root.child("Connections");
        if (connections) {
            for (const FbxNode& connection : connections->children) {
                if (!connect(connection)) return false;
            }
        }
        gatherStacks();
        reportSkipped();
        return checkModelTree();
    }

  private:
    void readSettings() {
        const FbxNode* settings = document_.root.child("GlobalSettings");
        if (!settings) return;
        FbxGlobalSettings& s = scene_.settings;
        auto axis = [&](const char* name, int fallback) {
            const double value = fbxPropertyNumber(*settings, name, fallback);
            return value == 0.0 || value == 1.0 || value == 2.0 ? static_cast<int>(value)
                                                                : fallback;
        };
        auto sign = [&](const char* name) {
            return fbxPropertyNumber(*settings, name, 1.0) < 0.0 ? -1 : 1;
        };
        s.upAxis = axis("UpAxis", 1);
        s.upSign = sign("UpAxisSign");
        s.frontAxis = axis("FrontAxis", 2);
        s.frontSign = sign("FrontAxisSign");
        s.coordAxis = axis("CoordAxis", 0);
        s.coordSign = sign("CoordAxisSign");
        const double unit = fbxPropertyNumber(*settings, "UnitScaleFactor", 1.0);
        s.unitScaleFactor = unit > 0.0 && std::isfinite(unit) ? unit : 1.0;
        s.frameRate =
            frameRateOfTimeMode(static_cast<int>(fbxPropertyNumber(*settings, "TimeMode", 0.0)),
                                fbxPropertyNumber(*settings, "CustomFrameRate", 0.0));
    }

    bool failObject(const FbxNode& object, const std::string& message) {
        const std::string name =
            object.properties.size() > 1 ? fbxObjectName(object.properties[1].text) : "";
        return fail(error_, object.name + " '" + name + "'", message);
    }

    bool readObject(FbxNode& object) {
        if (object.properties.empty() || object.properties[0].kind != FbxProperty::Kind::Integer)
            return fail(error_, "Objects/" + object.name, "an object without a numeric id");
        const std::int64_t id = object.properties[0].integer;
        const std::string type = object.properties.size() > 2 ? object.properties[2].text : "";
        ObjectRef ref;
        bool ok = true;
        if (object.name == "Model") {
            ok = readModel(object, id, type, ref);
        } else if (object.name == "Geometry" && type == "Mesh") {
            ok = readGeometry(object, id, ref);
        } else if (object.name == "Deformer" && type == "Skin") {
            ref = {ObjectKind::Skin, static_cast<int>(scene_.skins.size())};
            scene_.skins.emplace_back();
        } else if (object.name == "Deformer" && type == "Cluster") {
            ok = readCluster(object, ref);
        } else if (object.name == "AnimationStack") {
            ok = readStack(object, ref);
        } else if (object.name == "AnimationLayer") {
            ref = {ObjectKind::Layer, static_cast<int>(layers_.size())};
            layers_.emplace_back();
        } else if (object.name == "AnimationCurveNode") {
            addCurveNode(ref);
        } else if (object.name == "AnimationCurve") {
            ok = readCurve(object, ref);
        } else {
            noteSkipped(object, type);
        }
        if (!ok) return false;
        if (!ids_.emplace(id, ref).second)
            return failObject(object, "id " + std::to_string(id) + " is used twice");
        return true;
    }

    bool readModel(const FbxNode& object, std::int64_t id, const std::string& type,
                   ObjectRef& ref) {
        if (type == "Camera" || type == "Light")
            skippedCounts_[type == "Camera" ? "cameras" : "lights"]++;
        FbxModel model;
        model.id = id;
        model.name = object.properties.size() > 1 ? fbxObjectName(object.properties[1].text) : "";
        model.type = type;
        FbxTransformValues& t = model.transform;
        const Point3d zero;
        const Point3d one{1.0, 1.0, 1.0};
        t.translation = fbxPropertyVector(object, "Lcl Translation", zero);
        t.rotation = fbxPropertyVector(object, "Lcl Rotation", zero);
        t.scaling = fbxPropertyVector(object, "Lcl Scaling", one);
        t.preRotation = fbxPropertyVector(object, "PreRotation", zero);
        t.postRotation = fbxPropertyVector(object, "PostRotation", zero);
        t.rotationOffset = fbxPropertyVector(object, "RotationOffset", zero);
        t.rotationPivot = fbxPropertyVector(object, "RotationPivot", zero);
        t.scalingOffset = fbxPropertyVector(object, "ScalingOffset", zero);
        t.scalingPivot = fbxPropertyVector(object, "ScalingPivot", zero);
        t.geometricTranslation = fbxPropertyVector(object, "GeometricTranslation", zero);
        t.geometricRotation = fbxPropertyVector(object, "GeometricRotation", zero);
        t.geometricScaling = fbxPropertyVector(object, "GeometricScaling", one);
        const double order = fbxPropertyNumber(object, "RotationOrder", 0.0);
        t.rotationOrder = order >= 0.0 && order <= 5.0 ? static_cast<int>(order) : 0;
        const double inherit = fbxPropertyNumber(object, "InheritType", 1.0);
        t.inheritType = inherit >= 0.0 && inherit <= 2.0 ? static_cast<int>(inherit) : 1;
        for (const Point3d* p :
             {&t.translation, &t.rotation, &t.scaling, &t.preRotation, &t.postRotation,
              &t.rotationOffset, &t.rotationPivot, &t.scalingOffset, &t.scalingPivot,
              &t.geometricTranslation, &t.geometricRotation, &t.geometricScaling}) {
            if (!finitePoint(*p)) return failObject(object, "a transform value is not finite");
        }
        ref = {ObjectKind::Model, static_cast<int>(scene_.models.size())};
        scene_.models.push_back(std::move(model));
        return true;
    }

    bool readGeometry(FbxNode& object, std::int64_t id, ObjectRef& ref) {
        FbxGeometry geometry;
        geometry.id = id;
        if (!takeFbxReals(object, "Vertices", geometry.vertices) ||
            !takeFbxIntegers(object, "PolygonVertexIndex", geometry.polygonVertexIndex)) {
            return failObject(object, "Vertices or PolygonVertexIndex hold other than numbers");
        }
        if (geometry.vertices.size() % 3 != 0)
            return failObject(object, "Vertices is not a list of x, y, z");
        if (!allFinite(geometry.vertices)) return failObject(object, "a vertex is not finite");
        FbxNode* normals = object.child("LayerElementNormal");
        if (normals) {
            geometry.normalMapping = fbxChildText(*normals, "MappingInformationType");
            geometry.normalReference = fbxChildText(*normals, "ReferenceInformationType");
            if (!takeFbxReals(*normals, "Normals", geometry.normals) ||
                !takeFbxIntegers(*normals, "NormalsIndex", geometry.normalIndex)) {
                return failObject(object, "Normals or NormalsIndex hold other than numbers");
            }
            if (geometry.normals.size() % 3 != 0)
                return failObject(object, "Normals is not a list of x, y, z");
        }
        if (object.child("LayerElementMaterial") || object.child("LayerElementUV"))
            skippedCounts_["materials and texture coordinates"]++;
        ref = {ObjectKind::Geometry, static_cast<int>(scene_.geometries.size())};
        scene_.geometries.push_back(std::move(geometry));
        return true;
    }

    bool readMatrix(FbxNode& object, const char* name, AffineTransform& matrix, bool& present) {
        std::vector<double> values;
        if (!takeFbxReals(object, name, values)) return false;
        present = !values.empty();
        if (!present) return true;
        if (values.size() != 16 || !allFinite(values)) return false;
        matrix = AffineTransform::fromColumnMajor(values.data());
        return true;
    }

    bool readCluster(FbxNode& object, ObjectRef& ref) {
        FbxCluster cluster;
        if (!takeFbxIntegers(object, "Indexes", cluster.indexes) ||
            !takeFbxReals(object, "Weights", cluster.weights)) {
            return failObject(object, "Indexes or Weights hold other than numbers");
        }
        if (cluster.indexes.size() != cluster.weights.size()) {
            return failObject(object, std::to_string(cluster.indexes.size()) + " indexes and " +
                                          std::to_string(cluster.weights.size()) + " weights");
        }
        if (!allFinite(cluster.weights)) return failObject(object, "a weight is not finite");
        bool hasTransform = false;
        if (!readMatrix(object, "Transform", cluster.transform, hasTransform) ||
            !readMatrix(object, "TransformLink", cluster.transformLink, cluster.hasTransformLink)) {
            return failObject(object, "Transform or TransformLink is not 16 finite numbers");
        }
        ref = {ObjectKind::Cluster, static_cast<int>(scene_.clusters.size())};
        scene_.clusters.push_back(std::move(cluster));
        return true;
    }

    bool readStack(const FbxNode& object, ObjectRef& ref) {
        FbxStack stack;
        stack.name = object.properties.size() > 1 ? fbxObjectName(object.properties[1].text) : "";
        const FbxNode* start = findFbxProperty(object, "LocalStart");
        const FbxNode* stop = findFbxProperty(object, "LocalStop");
        const FbxProperty* startValue = start ? fbxPropertyValue(*start) : nullptr;
        const FbxProperty* stopValue = stop ? fbxPropertyValue(*stop) : nullptr;
        spanGiven_.push_back(startValue && stopValue &&
                             startValue->kind == FbxProperty::Kind::Integer &&
                             stopValue->kind == FbxProperty::Kind::Integer);
        if (spanGiven_.back()) {
            stack.localStart = startValue->integer;
            stack.localStop = stopValue->integer;
            if (stack.localStop < stack.localStart)
                return failObject(object, "LocalStop comes before LocalStart");
        }
        ref = {ObjectKind::Stack, static_cast<int>(scene_.stacks.size())};
        scene_.stacks.push_back(std::move(stack));
        stackLayers_.emplace_back();
        return true;
    }

    void addCurveNode(ObjectRef& ref) {
        ref = {ObjectKind::CurveNode, static_cast<int>(scene_.curveNodes.size())};
        scene_.curveNodes.emplace_back();
        curveNodeLinked_.push_back(0);
    }

    bool readCurve(FbxNode& object, ObjectRef& ref) {
        FbxCurve curve;
        std::vector<std::int64_t> flags;
        std::vector<double> data;
        std::vector<std::int64_t> counts;
        if (!takeFbxIntegers(object, "KeyTime", curve.times) ||
            !takeFbxReals(object, "KeyValueFloat", curve.values) ||
            !takeFbxIntegers(object, "KeyAttrFlags", flags) ||
            !takeFbxReals(object, "KeyAttrDataFloat", data) ||
            !takeFbxIntegers(object, "KeyAttrRefCount", counts)) {
            return failObject(object, "a key list holds other than numbers");
        }
        const std::size_t keys = curve.times.size();
        if (curve.values.size() != keys) {
            return failObject(object, std::to_string(keys) + " key times and " +
                                          std::to_string(curve.values.size()) + " key values");
        }
        if (!allFinite(curve.values)) return failObject(object, "a key value is not finite");
        for (std::size_t k = 1; k < keys; ++k) {
            if (curve.times[k] <= curve.times[k - 1])
                return failObject(object, "key " + std::to_string(k) + " does not come later");
        }
        if (data.size() < 4 * flags.size() || counts.size() < flags.size())
            return failObject(object, "KeyAttrDataFloat or KeyAttrRefCount is short");
        curve.interpolation.assign(keys, FbxInterpolation::Linear);
        curve.rightSlope.assign(keys, 0.0);
        curve.nextLeftSlope.assign(keys, 0.0);
        std::size_t key = 0;
        for (std::size_t a = 0; a < flags.size() && key < keys; ++a) {
            const FbxInterpolation kind = (flags[a] & ConstantBit) != 0 ? FbxInterpolation::Constant
                                          : (flags[a] & CubicBit) != 0  ? FbxInterpolation::Cubic
                                                                        : FbxInterpolation::Linear;
            const double right = data[4 * a];
            const double nextLeft = data[4 * a + 1];
            if (kind == FbxInterpolation::Cubic &&
                !(std::isfinite(right) && std::isfinite(nextLeft)))
                return failObject(object, "a key tangent is not finite");
            for (std::int64_t n = 0; n < counts[a] && key < keys; ++n, ++key) {
                curve.interpolation[key] = kind;
                curve.rightSlope[key] = right;
                curve.nextLeftSlope[key] = nextLeft;
            }
        }
        ref = {ObjectKind::Curve, static_cast<int>(scene_.curves.size())};
        scene_.curves.push_back(std::move(curve));
        return true;
    }

    void noteSkipped(const FbxNode& object, const std::string& type) {
        if (object.name == "NodeAttribute" && (type == "Camera" || type == "Light")) {
            // Counted with their models.
        } else if (object.name == "Material") {
            skippedCounts_["materials and texture coordinates"]++;
        } else if (object.name == "Texture") {
            skippedCounts_["textures"]++;
        } else if (object.name == "Video" && object.child("Content")) {
            skippedCounts_["embedded media"]++;
        } else if ((object.name == "Deformer" &&
                    (type == "BlendShape" || type == "BlendShapeChannel")) ||
                   (object.name == "Geometry" && type == "Shape")) {
            skippedCounts_["blend shapes"]++;
        } else if (object.name == "Constraint") {
            skippedCounts_["constraints"]++;
        }
    }

    void reportSkipped() {
        for (const auto& [what, count] : skippedCounts_) {
            scene_.skipped.push_back(what + " skipped (" + std::to_string(count) + " objects)");
        }
        if (danglingConnections_ > 0) {
            scene_.skipped.push_back(
                danglingConnections_ == 1
                    ? std::string("1 connection names an object the file does not hold: ignored")
                    : std::to_string(danglingConnections_) +
                          " connections name objects the file does not hold: ignored");
        }
    }

    bool connect(const FbxNode& connection) {
        if (connection.name != "C" && connection.name != "Connect") return true;
        const std::vector<FbxProperty>& p = connection.properties;
        if (p.size() < 3 || p[1].kind != FbxProperty::Kind::Integer ||
            p[2].kind != FbxProperty::Kind::Integer) {
            return fail(error_, "Connections", "a connection without two object ids");
        }
        const std::string where =
            "Connections " + std::to_string(p[1].integer) + " -> " + std::to_string(p[2].integer);
        // Exporters leave links to objects they did not write (materials, say): such a link
        // can attach nothing, so it is counted and passed over.
        const auto child = ids_.find(p[1].integer);
        const auto parent = ids_.find(p[2].integer);
        if (child == ids_.end() || (p[2].integer != 0 && parent == ids_.end())) {
            ++danglingConnections_;
            return true;
        }
        if (p[2].integer == 0) return true;
        const std::string property = p.size() > 3 ? p[3].text : "";
        return link(child->second, parent->second, property, where);
    }

    bool link(const ObjectRef& child, const ObjectRef& parent, const std::string& property,
              const std::string& where) {
        const std::size_t c = static_cast<std::size_t>(child.index);
        const std::size_t p = static_cast<std::size_t>(parent.index);
        if (child.kind == ObjectKind::Model && parent.kind == ObjectKind::Model) {
            if (scene_.models[c].parent != -1)
                return fail(error_, where, "a model with two parents");
            scene_.models[c].parent = parent.index;
        } else if (child.kind == ObjectKind::Geometry && parent.kind == ObjectKind::Model) {
            scene_.geometries[c].model = parent.index;
        } else if (child.kind == ObjectKind::Skin && parent.kind == ObjectKind::Geometry) {
            scene_.skins[c].geometry = parent.index;
            scene_.geometries[p].skin = child.index;
        } else if (child.kind == ObjectKind::Cluster && parent.kind == ObjectKind::Skin) {
            scene_.skins[p].clusters.push_back(child.index);
        } else if (child.kind == ObjectKind::Model && parent.kind == ObjectKind::Cluster) {
            scene_.clusters[p].model = child.index;
        } else if (child.kind == ObjectKind::Layer && parent.kind == ObjectKind::Stack) {
            stackLayers_[p].push_back(child.index);
        } else if (child.kind == ObjectKind::CurveNode && parent.kind == ObjectKind::Layer) {
            layers_[p].push_back(child.index);
        } else if (child.kind == ObjectKind::CurveNode && parent.kind == ObjectKind::Model) {
            linkCurveNode(scene_.curveNodes[c], parent.index, property);
        } else if (child.kind == ObjectKind::Curve && parent.kind == ObjectKind::CurveNode) {
            const int axis = property == "d|X"   ? 0
                             : property == "d|Y" ? 1
                             : property == "d|Z" ? 2
                                                 : -1;
            if (axis >= 0) scene_.curveNodes[p].curves[axis] = child.index;
        }
        return true;
    }

    void linkCurveNode(FbxCurveNode& node, int model, const std::string& property) {
        const std::size_t index = static_cast<std::size_t>(&node - scene_.curveNodes.data());
        if (property == "Lcl Translation") {
            node.channel = FbxChannel::Translation;
        } else if (property == "Lcl Rotation") {
            node.channel = FbxChannel::Rotation;
        } else if (property == "Lcl Scaling") {
            node.channel = FbxChannel::Scaling;
        } else {
            return;
        }
        node.model = model;
        curveNodeLinked_[index] = 1;
    }

    // Each stack's curve nodes from its first layer; further layers would blend onto it.
    void gatherStacks() {
        for (std::size_t s = 0; s < scene_.stacks.size(); ++s) {
            FbxStack& stack = scene_.stacks[s];
            if (stackLayers_[s].empty()) continue;
            if (stackLayers_[s].size() > 1) {
                scene_.skipped.push_back("animation '" + stack.name +
                                         "': " + std::to_string(stackLayers_[s].size() - 1) +
                                         " layers beyond the first skipped");
            }
            for (int node : layers_[static_cast<std::size_t>(stackLayers_[s].front())]) {
                if (curveNodeLinked_[static_cast<std::size_t>(node)])
                    stack.curveNodes.push_back(node);
            }
            if (!spanGiven_[s]) keySpan(stack);
        }
    }

    void keySpan(FbxStack& stack) const {
        bool any = false;
        for (int node : stack.curveNodes) {
            for (int curve : scene_.curveNodes[static_cast<std::size_t>(node)].curves) {
                if (curve < 0) continue;
                const std::vector<std::int64_t>& times =
                    scene_.curves[static_cast<std::size_t>(curve)].times;
                if (times.empty()) continue;
                stack.localStart = any ? std::min(stack.localStart, times.front()) : times.front();
                stack.localStop = any ? std::max(stack.localStop, times.back()) : times.back();
                any = true;
            }
        }
    }

    // Every walk up the model tree must end: no model is its own ancestor.
    bool checkModelTree() {
        enum : char { Unseen, OnWalk, Done };
        std::vector<char> state(scene_.models.size(), Unseen);
        std::vector<std::size_t> walk;
        for (std::size_t m = 0; m < scene_.models.size(); ++m) {
            walk.clear();
            for (std::size_t at = m; state[at] == Unseen;) {
                state[at] = OnWalk;
                walk.push_back(at);
                const int parent = scene_.models[at].parent;
                if (parent < 0) break;
                at = static_cast<std::size_t>(parent);
                if (state[at] == OnWalk) {
                    return fail(error_, "Connections",
                                "model '" + scene_.models[at].name + "' is its own ancestor");
                }
            }
            for (std::size_t w : walk) state[w] = Done;
        }
        return true;
    }

    FbxDocument& document_;
    FbxScene& scene_;
    LoadError& error_;
    std::unordered_map<std::int64_t, ObjectRef> ids_;
    std::vector<std::vector<int>> layers_;
    std::vector<std::vector<int>> stackLayers_;
    std::vector<char> spanGiven_;
    std::vector<char> curveNodeLinked_;
    std::map<std::string, int> skippedCounts_;
    std::size_t danglingConnections_ = 0;
};

}  // namespace

bool readFbxScene(FbxDocument& document, const std::string& path, FbxScene& scene,
                  LoadError& error) {
    error.file = path;
    scene = FbxScene{};
    return SceneReader(document, scene, error).read();
}

bool readFbxSceneFile(const std::string& path, FbxDocument& document, FbxScene& scene,
                      LoadError& error) {
    std::string bytes;
    return readFileBytes(path, bytes, &error) && readFbx(bytes, path, document, error) &&
           readFbxScene(document, path, scene, error);
}

}  // namespace vorel
