// retargetFile: the whole retarget of one source file onto one target model, in memory:
// read the source (BVH, glTF or FBX), pair its joints with the target's bones, retarget, reduce
// the keys and check the fixed view. The tool and the benchmark both run exactly this.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "assets/model_data.h"
#include "retarget/key_reduction.h"
#include "retarget/retarget_motion.h"
#include "retarget/view_check.h"

namespace vorel {

enum class SourceKind { Bvh, Gltf, Fbx, Unknown };

// By the file name's extension, in any case: .bvh, .glb, .gltf or .fbx.
SourceKind sourceKindOf(const std::string& path);

// Who asks for a retarget: a refusal names what the asker can change (the tool's options, or
// on the page the files chosen).
enum class RetargetAsker { Tool, Page };

struct RetargetRequest {
    std::string sourcePath;
    // The animation to follow (glTF sources; FBX ones follow their first stack without it).
    std::string animation;
    // A map file; empty: the built-in map naming most of the source's joints.
    std::string mapPath;
    RetargetOptions options;
    // Keep a result that leaves the viewer's picture in most frames; otherwise it is refused.
    bool allowOffPicture = false;
    RetargetAsker asker = RetargetAsker::Tool;
};

struct RetargetOutcome {
    ReducedAnimation animation;
    int frameCount = 0;
    double frameTime = 0.0;
    std::size_t sourceJoints = 0;
    std::size_t mappedBones = 0;
    double legRatio = 1.0;
    bool skirtCleared = false;
    // Where the map came from ("the built-in CMU map" or the file).
    std::string mapOrigin;
    // Which frames leave the fixed picture, and whether the travel is why.
    ViewReport view;
    // What the source or the map did not quite fit, one line each.
    std::vector<std::string> warnings;
    // The source's foot contacts (frame ranges per foot joint, as --contacts writes them),
    // whether the feet were planted on them, and how well source and result keep them.
    std::vector<LegContacts> contacts;
    std::string contactsText;
    bool planted = false;
    ContactQuality sourceQuality;
    ContactQuality resultQuality;
};

// False, with error set to name the file at fault, when the source or the map cannot be read
// or used with this target, or when the figure would be outside the viewer's picture in most
// frames (unless the request allows it).
bool retargetFile(const RetargetRequest& request, const ModelData& target, RetargetOutcome& outcome,
                  LoadError& error);

}  // namespace vorel
