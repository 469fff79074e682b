// The numbers typed into the Cut Facet form and the dialogs are read as
// "%lf" reads them, character for character, without the C library's scanf
// (whose decimal mark follows the locale): many random strings of
// number-like characters, compared in the "C" locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "facet_placement/cut_facet_form.h"

namespace brevix {
namespace {

TEST(TypedNumber, ReadsAsPercentLfForRandomNumberLikeText) {
#ifndef __GLIBC__
    GTEST_SKIP() << "the quirks of \"%lf\" kept are those of the GNU C library";
#endif
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    const std::string alphabet = "0123456789012345.eE+-xXpP aAfFinN9";
    std::mt19937 random(1208);
    for (int k = 0; k < 50000; ++k) {
        std::string text(random() % 10, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        double value = 0;
        const bool read = std::sscanf(text.c_str(), "%lf", &value) == 1 && std::isfinite(value);
        const std::optional<double> ours = scanDouble(text);
        ASSERT_EQ(ours.has_value(), read) << "'" << text << "'";
        if (read) {
            ASSERT_EQ(*ours, value) << "'" << text << "'";
        }
    }
    for (const char* text : {"0x", "0xg", " -0X", "0x.", "0x1A", "10x", "1e0x"}) {
        double value = 0;
        EXPECT_EQ(scanDouble(text).has_value(), std::sscanf(text, "%lf", &value) == 1) << "'" << text << "'";
    }
}

}  // namespace
}  // namespace brevix
