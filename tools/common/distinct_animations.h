// distinctAnimations: a manifest may list one animation file under several names (an imported
// set puts its first seven animations on the dance keys as well as under their own names);
// an export writes each file once, under the last name the manifest gives it.
#pragma once

#include <string>
#include <vector>

namespace vorel {

// The names, in manifest order, whose file (compared as a file; names[i] reads paths[i]) no
// later entry reads again.
std::vector<std::string> distinctAnimations(const std::vector<std::string>& names,
                                            const std::vector<std::string>& paths);

}  // namespace vorel
