// mapCoverageWarnings: a built-in map that finds only a few of a source's joints retargets
// without complaint but leaves the figure's limbs still. This says so, names what was left
// on each side, and points to --map.
#pragma once

#include <string>
#include <vector>

#include "retarget/bone_map.h"
#include "retarget/source_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

// Empty when the map drives every limb bone (upper arm, forearm, thigh, shin on each side)
// the target has; otherwise three lines: the limbs at rest with the remedy, the source joints
// (end points aside) the map left unmapped, and every target bone the map leaves out.
std::vector<std::string> mapCoverageWarnings(const BoneMap& map, const SourceMotion& source,
                                             const BoneList& target, const JointGroups& groups);

}  // namespace vorel
