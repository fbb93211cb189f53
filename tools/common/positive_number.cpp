// parsePositiveNumber: a finite number, then the range such options allow.
#include "tools/common/positive_number.h"

#include "tools/common/command_line_number.h"

namespace vorel {

bool parsePositiveNumber(const std::string& text, double& value) {
    double parsed = 0.0;
    if (!parseFiniteNumber(text, parsed) || !(parsed > 0.0) || parsed > 1e6) return false;
    value = parsed;
    return true;
}

}  // namespace vorel
