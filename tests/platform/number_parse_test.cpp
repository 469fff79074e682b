// Numbers read from text: the leading number as the C library's strtod
// reads it in the "C" locale, for hand-picked edge cases and for many
// random strings of number-like characters, and the whole-text numbers of
// settings and command lines.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "platform/number_parse.h"

namespace brevix {
namespace {

void expectAsStrtod(const std::string& text) {
    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    const size_t expectedLength = static_cast<size_t>(end - text.c_str());
    size_t length = 12345;
    const std::optional<double> read = leadingNumber(text, &length);
    if (expectedLength == 0) {
        EXPECT_FALSE(read) << "'" << text << "'";
        return;
    }
    ASSERT_TRUE(read) << "'" << text << "'";
    EXPECT_EQ(length, expectedLength) << "'" << text << "'";
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(*read)) << "'" << text << "'";
    else
        EXPECT_EQ(std::memcmp(&*read, &expected, sizeof expected), 0)  // the sign of a zero too
            << "'" << text << "' gives " << *read << ", not " << expected;
}

TEST(LeadingNumber, ReadsAsStrtodDoesInTheCLocale) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const std::string longDigits = "1" + std::string(400, '0');
    const std::initializer_list<std::string> texts = {"", " ", "1", "-1", "+1", "+-1", "- 1", " \t\n2.5x", "-0", "1e", "1e+", "1e-x", "1E-3", ".5", "5.", ".",
          ".e1", "0x", "0x1A", "0X1p3", "0x.8", "0x.", "0xg", "0xinf", "0x1p", "inf", "-Infinity", "infinit", "nan",
          "nan(123)", "NaNx", "1,5", "6.5mm", "00012", "1e999", "-1e999", "1e-999", "1e-310", "4.9e-324",
          "2.4e-324", "0.5e400", ".0001e400", "0e99999", "1e-99999999999999999999", "1e99999999999999999999",
          "0x1p99999", "0x1p-99999", "0x.1p99999", "0x0.0001p-99999", "1.7976931348623157e308",
          "1.7976931348623159e308", longDigits, longDigits + "e-10", "0." + longDigits + "e-400",
          "0." + std::string(400, '0') + "1e300", "0." + std::string(400, '0') + "1e500"};
    for (const std::string& text : texts) expectAsStrtod(text);
}

TEST(LeadingNumber, ReadsRandomNumberLikeTextAsStrtodDoes) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const std::string alphabet = "0123456789012345.eE+-xXpP aAfFinN9";
    std::mt19937 random(20261208);
    for (int k = 0; k < 20000; ++k) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        expectAsStrtod(text);
        if (::testing::Test::HasFailure()) break;  // one example tells enough
    }
}

TEST(LeadingNumber, IgnoresADecimalCommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma here";
    EXPECT_EQ(leadingNumber("1.5"), 1.5);
    EXPECT_EQ(wholeNumber("1.5", false), 1.5);
    EXPECT_FALSE(wholeNumber("1,5", false));
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(WholeNumber, TakesOnlyTheNumberAndAPlusWhenAllowed) {
    EXPECT_EQ(wholeNumber("6.5", false), 6.5);
    EXPECT_EQ(wholeNumber("-2e1", false), -20);
    EXPECT_EQ(wholeNumber("+10", true), 10);
    EXPECT_FALSE(wholeNumber("+10", false));
    EXPECT_FALSE(wholeNumber("++10", true));
    EXPECT_FALSE(wholeNumber("+", true));
    for (const char* text : {"", " 1", "1 ", "6,5", "0x10", "1e", "1.5.2", "--1", "."})
        EXPECT_FALSE(wholeNumber(text, true)) << "'" << text << "'";
    // Infinities and NaN are read as such: the caller decides.
    EXPECT_TRUE(std::isinf(*wholeNumber("inf", false)));
    EXPECT_TRUE(std::isnan(*wholeNumber("nan", false)));
    EXPECT_FALSE(wholeNumber("1e999", false)) << "out of range is no number";
}

}  // namespace
}  // namespace brevix
