// BoneMap: which source joint drives which target bone. Built-in maps pair the CMU capture
// names and the usual `mixamorig:` names with the default dancer's bones; any other pair of
// skeletons gets a map file of `SOURCE_BONE TARGET_BONE` lines ('#' starts a comment).
// Several source joints may drive one target bone when they lie on one chain (a CMU
// `LowerBack` that sits on `Hips`): the bone then runs from the first to past the last.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "retarget/source_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

struct BoneMapEntry {
    std::string source;
    std::string target;
    // Line in the map file, 1-based; 0 in a built-in map.
    int line = 0;
};

struct BoneMap {
    // "the built-in CMU map", or the map file's path: the first word of every error.
    std::string origin;
    // True for a built-in map, whose names a source or target may lack.
    bool builtIn = false;
    std::vector<BoneMapEntry> entries;
};

BoneMap cmuBoneMap();
BoneMap mixamoBoneMap();
// The built-in map that names the most joints of the source.
BoneMap builtInMapFor(const SourceMotion& source);

// False, with error set ("FILE: line N: what is wrong"), for a line that is not two names or
// a source joint listed twice.
bool parseBoneMap(const std::string& text, const std::string& path, BoneMap& map, LoadError& error);
bool readBoneMapFile(const std::string& path, BoneMap& map, LoadError& error);

// For each target bone (in the list's order) the source joints driving it, nearest the
// root first; empty for bones the map leaves out.
using JointGroups = std::vector<std::vector<int>>;

// False, with error set, when a map file names a joint the source lacks or a bone the
// target lacks (naming the line), when one bone's joints do not lie on one chain, or when
// no entry names both a source joint and a target bone. A built-in map's errors name the
// map as their file; the caller knows which source file that was.
bool resolveBoneMap(const BoneMap& map, const SourceMotion& source, const BoneList& target,
                    JointGroups& groups, LoadError& error);

}  // namespace vorel
