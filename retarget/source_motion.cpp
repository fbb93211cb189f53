#include "retarget/source_motion.h"

namespace vorel {

int SourceMotion::find(const std::string& name) const {
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (names[j] == name) return static_cast<int>(j);
    }
    return -1;
}

std::vector<Point3d> jointPath(const SourceMotion& source, int joint) {
    std::vector<Point3d> path(static_cast<std::size_t>(source.frameCount));
    for (int f = 0; f < source.frameCount; ++f)
        path[static_cast<std::size_t>(f)] = source.world(f, joint).translation;
    return path;
}

std::vector<int> jointDepths(const std::vector<int>& parents) {
    std::vector<int> depths(parents.size(), 0);
    for (std::size_t j = 0; j < parents.size(); ++j) {
        if (parents[j] >= 0) depths[j] = depths[static_cast<std::size_t>(parents[j])] + 1;
    }
    return depths;
}

bool isAncestorOrSelf(const std::vector<int>& parents, const std::vector<int>& depths, int ancestor,
                      int joint) {
    if (ancestor < 0 || joint < 0) return false;
    int at = joint;
    while (at >= 0 &&
           depths[static_cast<std::size_t>(at)] > depths[static_cast<std::size_t>(ancestor)]) {
        at = parents[static_cast<std::size_t>(at)];
    }
    return at == ancestor;
}

}  // namespace vorel
