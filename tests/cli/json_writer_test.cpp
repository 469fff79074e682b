#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace brevix::cli {
namespace {

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteBecomeNull) {
    for (double x : {0.1, 1.0 / 3.0, -2.5e-17, 1e300, 0.680000004}) {
        EXPECT_EQ(std::stod(jsonNumber(x)), x) << jsonNumber(x);
    }
    EXPECT_EQ(jsonNumber(-0.0), "0");
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(jsonNumber(-std::numeric_limits<double>::infinity()), "null");
}

TEST(JsonWriter, StringsAreEscapedAndConvertedFromWindows1252) {
    EXPECT_EQ(jsonString("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    std::ostringstream out;
    JsonWriter json(out);
    json.beginArray(true);
    json.value("40\xB0");  // degree sign in the design's code page
    json.textOrNull("");
    json.value(true);
    json.value(int32_t{-3});
    json.endArray();
    EXPECT_EQ(out.str(), "[\"40\xC2\xB0\", null, true, -3]");
}

TEST(JsonWriter, NestedLayout) {
    std::ostringstream out;
    JsonWriter json(out);
    json.beginObject();
    json.key("a");
    json.beginArray();
    json.beginArray(true);
    json.value(1.5);
    json.value(2.0);
    json.endArray();
    json.endArray();
    json.key("empty");
    json.beginObject();
    json.endObject();
    json.key("none");
    json.beginArray();
    json.endArray();
    json.endObject();
    EXPECT_EQ(out.str(), "{\n  \"a\": [\n    [1.5, 2]\n  ],\n  \"empty\": {},\n  \"none\": []\n}\n");
}

}  // namespace
}  // namespace brevix::cli
