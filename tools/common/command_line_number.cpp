#include "tools/common/command_line_number.h"

#include <cmath>
#include <cstdlib>

namespace vorel {

namespace {

template <typename Number, typename Convert>
bool parseFinite(const std::string& text, Number& value, Convert convert) {
    if (text.empty()) return false;
    char* end = nullptr;
    const Number parsed = convert(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

}  // namespace

bool parseWholeNumber(const std::string& text, int lowest, int highest, int& value) {
    if (text.empty()) return false;
    long long parsed = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + (c - '0');
        // Past highest already: stop before the digits can overflow.
        if (parsed > highest) return false;
    }
    if (parsed < lowest) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseFiniteNumber(const std::string& text, double& value) {
    return parseFinite(text, value,
                       [](const char* start, char** end) { return std::strtod(start, end); });
}

bool parseFiniteNumber(const std::string& text, float& value) {
    return parseFinite(text, value,
                       [](const char* start, char** end) { return std::strtof(start, end); });
}

}  // namespace vorel
