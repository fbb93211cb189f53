// looksLikeBvh: whether bytes are meant as a BVH file (their first word is HIERARCHY), so tools
// can choose a reader by content rather than by file name. It only looks; readBvh judges.
#pragma once

#include <string>

namespace vorel {

bool looksLikeBvh(const std::string& bytes);

}  // namespace vorel
