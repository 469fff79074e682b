#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brevix::cli {
namespace {

TEST(JsonWriter, NumbersReadBackExactlyInTheirShortestForm) {
    for (double x : {0.1, 1.0 / 3.0, -2.5e-17, 1e300, 0.680000004, 6.120000000000001}) {
        EXPECT_EQ(std::stod(jsonNumber(x)), x) << jsonNumber(x);
    }
    // Whole numbers without nlohmann's ".0"; the library's own integers alike.
    EXPECT_EQ(jsonText(Json{2.0, 6.5, -3.0, 1e300, 96}), "[2, 6.5, -3, 1e+300, 96]\n");
    EXPECT_EQ(jsonNumber(-0.0), "0");
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(jsonText(Json{-std::numeric_limits<double>::infinity()}), "[null]\n");
}

TEST(JsonWriter, TextsAreEscapedAndConvertedFromWindows1252) {
    EXPECT_EQ(jsonText(text("a\"b\\c\nd\te\x01")), "\"a\\\"b\\\\c\\nd\\te\\u0001\"\n");
    EXPECT_EQ(jsonText(Json{text("40\xB0"), textOrNull(""), true, -3}), "[\"40\xC2\xB0\", null, true, -3]\n");
    // A byte that is no UTF-8 (it cannot come from the conversion, but the
    // writer must not throw on it).
    EXPECT_EQ(jsonText(Json("\xFF")), "\"\xEF\xBF\xBD\"\n");
}

TEST(JsonWriter, MembersOneToALineArraysOfPlainValuesOnOne) {
    Json document;
    document["a"] = Json::array({Json{1.5, 2.0}, Json{3.0}});
    document["empty"] = Json::object();
    document["none"] = Json::array();
    document["object"] = {{"z", nullptr}, {"y", {{"x", "w"}}}};
    document["rows"] = Json::array({Json{{"k", 1}}});
    EXPECT_EQ(jsonText(document),
              "{\n"
              "  \"a\": [\n    [1.5, 2],\n    [3]\n  ],\n"
              "  \"empty\": {},\n"
              "  \"none\": [],\n"
              "  \"object\": {\n    \"z\": null,\n    \"y\": {\n      \"x\": \"w\"\n    }\n  },\n"
              "  \"rows\": [\n    {\n      \"k\": 1\n    }\n  ]\n"
              "}\n");
}

}  // namespace
}  // namespace brevix::cli
