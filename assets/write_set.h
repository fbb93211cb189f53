// writeSetAtomically: writes one model, its animations and the manifest naming them as a
// folder the viewer can run in. Everything goes into a temporary folder beside the target,
// which is renamed into place at the end, so a failure never leaves a partial set behind.
#pragma once

#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel {

struct SetAnimation {
    // File name inside the folder.
    std::string fileName;
    const AnimationData* data = nullptr;
};

struct SetManifestEntry {
    // Name in the manifest, and the index into the set's animations it names.
    std::string name;
    std::size_t animation = 0;
};

struct SetToWrite {
    std::string modelName;
    std::string modelFileName;
    const ModelData* model = nullptr;
    std::vector<SetAnimation> animations;
    // The manifest's animation entries in order; one file may be listed under several names.
    std::vector<SetManifestEntry> entries;
};

// False, with problem set (without the folder's path), when the folder cannot be written. An
// existing empty `folder` is filled; a non-empty one is replaced only when it holds a
// manifest (an earlier set), and any other existing path is refused, so that no unrelated
// folder is ever deleted. Whether replacing a set was asked for is the caller's to check
// first (tools/common/output_folder.h).
bool writeSetAtomically(const SetToWrite& set, const std::string& folder, std::string& problem);

// A file name made of the name's letters, digits, '-' and '_' (others become '_'), at most
// 64 characters, never empty.
std::string safeFileStem(const std::string& name);

// One file name per animation name: its safe stem plus ".anim", numbered ("_N") until no
// earlier one has it, since distinct names can share a stem ("a b", "a_b").
std::vector<std::string> animationFileNames(const std::vector<std::string>& names);

}  // namespace vorel
