// The four sub-commands of vorel-inspect. Each takes the arguments after its name (for the
// summary, all arguments), prints its result and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vorel {

int runSummary(const std::vector<std::string>& arguments);
int runCheck(const std::vector<std::string>& arguments);
int runSample(const std::vector<std::string>& arguments);
int runPose(const std::vector<std::string>& arguments);

}  // namespace vorel
