// parsePositiveNumber: strtod, then the checks it leaves to its caller.
#include "tools/common/positive_number.h"

#include <cmath>
#include <cstdlib>

namespace vorel {

bool parsePositiveNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(parsed) || !(parsed > 0.0) || parsed > 1e6) return false;
    value = parsed;
    return true;
}

}  // namespace vorel
