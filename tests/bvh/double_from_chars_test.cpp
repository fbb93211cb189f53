// doubleFromChars against the standard library's floating-point std::from_chars: the same
// accepted prefix, the same value to the bit and the same error, on hand-picked edge cases
// and on a large number of generated words.
#include "bvh/double_from_chars.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

namespace vorel {
namespace {

void expectSameAsStandard(const std::string& word) {
    const char* first = word.data();
    const char* last = first + word.size();
    double expected = -7.25;
    double actual = -7.25;
    const auto standard = std::from_chars(first, last, expected);
    const auto ours = doubleFromChars(first, last, actual);
    EXPECT_EQ(ours.ptr - first, standard.ptr - first) << "'" << word << "'";
    EXPECT_EQ(ours.ec, standard.ec) << "'" << word << "'";
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
        << "'" << word << "': " << actual << " against " << expected;
}

TEST(DoubleFromChars, ReadsEveryEdgeCaseAsTheStandardDoes) {
    const char* words[] = {"0",
                           "-0",
                           "1",
                           "-1",
                           "12.5",
                           ".5",
                           "5.",
                           "-.5",
                           ".",
                           "-",
                           "",
                           "+1",
                           " 1",
                           "1 ",
                           "0.1",
                           "0.30000000000000004",
                           "123456789012345678901234567890",
                           "1e10",
                           "1E-10",
                           "1e",
                           "1e+",
                           "1e-",
                           "1e+5",
                           "1.5e3x",
                           "2.5.3",
                           "1..2",
                           "e5",
                           "-e5",
                           "0x1p3",
                           "0X10",
                           "1e308",
                           "1.7976931348623157e308",
                           "1.7976931348623159e308",
                           "1e309",
                           "-1e400",
                           "4.9e-324",
                           "2.4703282292062328e-324",
                           "2.4703282292062327e-324",
                           "1e-400",
                           "2.2250738585072014e-308",
                           "2.2250738585072011e-308",
                           "0e999999",
                           "0.0e-999999",
                           "1e99999999999999999999",
                           "1e-99999999999999999999",
                           "inf",
                           "-INF",
                           "Infinity",
                           "infin",
                           "infinityx",
                           "nan",
                           "-NaN",
                           "nan(123_abc)",
                           "nan(",
                           "nan(1",
                           "nan()",
                           "nan(a-b)",
                           "in",
                           "na",
                           "9007199254740993",
                           "0.000000000000000000000000001e27",
                           "00000000000000000000000000000000000000000001.5",
                           "1_000",
                           "1,5",
                           "١"};
    for (const char* word : words) expectSameAsStandard(word);
    expectSameAsStandard("0." + std::string(400, '0') + "1e400");
    expectSameAsStandard("1" + std::string(330, '0'));
    expectSameAsStandard(std::string("1\0002", 3));
}

TEST(DoubleFromChars, ReadsGeneratedWordsAsTheStandardDoes) {
    std::mt19937 random(20261208);
    const std::string alphabet = "0123456789012345678901234567890123456789..eE+-ninfa( )x";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 24);
    for (int i = 0; i < 200000; ++i) {
        std::string word;
        for (int k = length(random); k > 0; --k) word += alphabet[letter(random)];
        expectSameAsStandard(word);
    }
}

TEST(DoubleFromChars, RoundTripsEveryPrintedDouble) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        char text[64];
        const auto printed = std::to_chars(text, text + sizeof text, value);
        expectSameAsStandard(std::string(text, printed.ptr));
        const auto fixed = std::to_chars(text, text + sizeof text, static_cast<float>(value),
                                         std::chars_format::fixed);
        if (fixed.ec == std::errc()) expectSameAsStandard(std::string(text, fixed.ptr));
    }
}

}  // namespace
}  // namespace vorel
