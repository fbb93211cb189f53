// doubleFromChars: the accepted prefix is found by scanning the grammar here, and only that
// prefix, copied with a terminating NUL, is given to strtod, which rounds exactly. The program
// never changes its locale, so strtod reads '.' as the point, as from_chars does.
#include "bvh/double_from_chars.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace vorel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithWord(const char* at, const char* last, const char* word) {
    for (; *word != '\0'; ++at, ++word) {
        if (at == last) return false;
        const char lower = (*at >= 'A' && *at <= 'Z') ? static_cast<char>(*at - 'A' + 'a') : *at;
        if (lower != *word) return false;
    }
    return true;
}

const char* skipDigits(const char* at, const char* last, bool& sawNonZero, bool& sawDigit) {
    for (; at != last && isDigit(*at); ++at) {
        sawDigit = true;
        if (*at != '0') sawNonZero = true;
    }
    return at;
}

// The end of "inf", "infinity", "nan" or "nan(letters, digits, '_')" at `at`, or nullptr.
const char* endOfSpecialValue(const char* at, const char* last) {
    if (startsWithWord(at, last, "infinity")) return at + 8;
    if (startsWithWord(at, last, "inf")) return at + 3;
    if (!startsWithWord(at, last, "nan")) return nullptr;
    const char* end = at + 3;
    if (end == last || *end != '(') return end;
    for (const char* inside = end + 1; inside != last; ++inside) {
        if (*inside == ')') return inside + 1;
        const bool letter =
            (*inside >= 'a' && *inside <= 'z') || (*inside >= 'A' && *inside <= 'Z');
        if (!letter && !isDigit(*inside) && *inside != '_') break;
    }
    return end;
}

// The end of digits[.digits][e[+-]digits] at `at` (at least one digit), or nullptr.
const char* endOfDecimal(const char* at, const char* last, bool& sawNonZero) {
    bool sawDigit = false;
    at = skipDigits(at, last, sawNonZero, sawDigit);
    if (at != last && *at == '.') at = skipDigits(at + 1, last, sawNonZero, sawDigit);
    if (!sawDigit) return nullptr;
    if (at == last || (*at != 'e' && *at != 'E')) return at;
    const char* exponent = at + 1;
    if (exponent != last && (*exponent == '+' || *exponent == '-')) ++exponent;
    bool exponentNonZero = false;
    bool exponentDigit = false;
    const char* end = skipDigits(exponent, last, exponentNonZero, exponentDigit);
    return exponentDigit ? end : at;
}

}  // namespace

std::from_chars_result doubleFromChars(const char* first, const char* last, double& value) {
    const char* body = (first != last && *first == '-') ? first + 1 : first;
    bool sawNonZero = false;
    const char* special = endOfSpecialValue(body, last);
    const char* end = special ? special : endOfDecimal(body, last, sawNonZero);
    if (end == nullptr) return {first, std::errc::invalid_argument};

    const std::string prefix(first, end);
    const double parsed = std::strtod(prefix.c_str(), nullptr);
    const bool overflow = !special && std::isinf(parsed);
    const bool underflow = parsed == 0.0 && sawNonZero;
    if (overflow || underflow) return {end, std::errc::result_out_of_range};
    value = parsed;
    return {end, std::errc()};
}

}  // namespace vorel
