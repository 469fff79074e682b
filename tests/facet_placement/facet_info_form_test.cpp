#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "facet_placement/cut_facet_form.h"
#include "facet_placement/new_facet_info.h"
#include "platform/messages.h"

namespace brevix {
namespace {

NewFacetInfo withPoints(int n) {
    NewFacetInfo info;
    for (int k = 0; k < n; ++k) info.points[k] = {double(k), 0.5, 0.25};
    info.nPoints = n;
    return info;
}

TEST(NewFacetInfo, TypedValuesTrimThePointsTheyOverride) {
    // A new angle with the index set keeps only point 1.
    NewFacetInfo info = withPoints(3);
    info.hasIndex = true;
    setInfoAngle(info, 30, true, 96);
    EXPECT_EQ(info.nPoints, 1);
    // Without an index two points stay (they still fix the index).
    info = withPoints(3);
    setInfoAngle(info, 30, true, 96);
    EXPECT_EQ(info.nPoints, 2);
    info = withPoints(3);
    info.hasAngle = true;
    setInfoIndex(info, 5, true);
    EXPECT_EQ(info.nPoints, 1);
    // A typed depth drops all points.
    info = withPoints(2);
    setInfoCed(info, 0.8, true);
    EXPECT_EQ(info.nPoints, 0);
    // Values that come from solving or copying keep the points.
    info = withPoints(3);
    info.hasIndex = true;
    setInfoAngle(info, 30, false, 96);
    setInfoCed(info, 0.8, false);
    EXPECT_EQ(info.nPoints, 3);
}

TEST(NewFacetInfo, UnchangedValueChangesNothing) {
    NewFacetInfo info = withPoints(3);
    info.hasAngle = info.hasIndex = true;
    info.angle = 30;
    EXPECT_FALSE(setInfoAngle(info, 30.000001, true, 96));
    EXPECT_EQ(info.nPoints, 3);
    EXPECT_EQ(info.angle, 30);
    EXPECT_TRUE(setInfoAngle(info, 30.0001, true, 96));
}

TEST(NewFacetInfo, AngleFoldingAndTable) {
    NewFacetInfo info;
    setInfoAngle(info, 135, false, 96);
    EXPECT_EQ(info.angle, -45);
    // The table sets the index to the gear's last notch.
    setInfoAngle(info, 0, false, -80);
    EXPECT_TRUE(info.hasIndex);
    EXPECT_EQ(info.index, -80);
}

TEST(NewFacetInfo, PointsRefuseNeighboursAndKeepTheNewestThree) {
    Diagnostics notes;
    NewFacetInfo info;
    EXPECT_TRUE(addInfoPoint(info, {0, 0, 0}, notes));
    EXPECT_TRUE(addInfoPoint(info, {1, 0, 0}, notes));
    // approxLength = 0.0008 + (0.0008 + 0.0008) / 4 = 0.0012: far enough.
    EXPECT_TRUE(addInfoPoint(info, {0.0008, 0.0008, 0.0008}, notes));
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(addInfoPoint(info, {1.0005, 0.0002, 0}, notes));
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"New point is too close to point 2."});
    EXPECT_EQ(info.nPoints, 3);
    EXPECT_TRUE(addInfoPoint(info, {0, 5, 0}, notes));
    EXPECT_EQ(info.nPoints, 3);
    EXPECT_EQ(info.points[0].x, 1);
    EXPECT_EQ(info.points[2].y, 5);
    EXPECT_DOUBLE_EQ(approxLength({-1, 4, 2}), 4.75);
}

TEST(NewFacetInfo, ClearKeepsSymmetryAndRecut) {
    NewFacetInfo info = withPoints(2);
    info.hasAngle = info.hasIndex = info.hasCed = true;
    info.symmetry = 5;
    info.recutPending = true;
    clearInfo(info);
    EXPECT_FALSE(info.hasAngle || info.hasIndex || info.hasCed);
    EXPECT_EQ(info.nPoints, 0);
    EXPECT_EQ(info.symmetry, 5);
    EXPECT_TRUE(info.recutPending);
}

TEST(CutFacetForm, AngleFieldRange) {
    Diagnostics notes;
    EXPECT_EQ(readAngleField("90", notes), 90.0);
    EXPECT_EQ(readAngleField("-90", notes), -90.0);
    EXPECT_EQ(readAngleField("  41.5deg", notes), 41.5);
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(readAngleField("90.000001", notes));
    EXPECT_FALSE(readAngleField("-91", notes));
    EXPECT_EQ(notes.texts(), std::vector<std::string>(2, "Angle should be between -90 and 90"));
    notes.clear();
    EXPECT_FALSE(readAngleField("abc", notes));
    EXPECT_FALSE(readAngleField("", notes));
    // Not-a-number and infinities would reach the plane arithmetic.
    EXPECT_FALSE(readAngleField("nan", notes));
    EXPECT_FALSE(scanDouble("inf"));
    EXPECT_TRUE(notes.empty());
}

TEST(CutFacetForm, SymmetryField) {
    Diagnostics notes;
    EXPECT_EQ(readSymmetryField("7", notes), 7);
    EXPECT_FALSE(readSymmetryField("x", notes));
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(readSymmetryField("0", notes));
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"Symmetry should a positive number"});
}

TEST(CutFacetForm, PointsFieldTokens) {
    std::vector<Vec3> points = readPointsField("1,2;3\r\n4\t5 6\n7 8");
    ASSERT_EQ(points.size(), 2u);  // the third point is incomplete
    EXPECT_EQ(points[1].x, 4);
    EXPECT_EQ(points[1].z, 6);
    // Unreadable tokens count as 0; a tenth token is ignored.
    points = readPointsField("a 1 1  2 2 2  3 3 3  9");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[2].z, 3);
    EXPECT_TRUE(readPointsField(" 1 2 ").empty());
}

TEST(CutFacetForm, TextsAfterAChange) {
    NewFacetInfo info;
    CutFacetFormTexts texts = cutFacetFormTexts(info, false);
    EXPECT_EQ(texts.caption, "Apply");
    EXPECT_EQ(texts.angle, "");
    EXPECT_EQ(texts.points, "\r\n\r\n");
    EXPECT_EQ(texts.symmetry, "8");
    EXPECT_TRUE(texts.mirror);
    EXPECT_FALSE(texts.betweenEnabled);

    info.hasAngle = info.hasIndex = info.hasCed = true;
    info.angle = -41;
    info.index = 3;
    info.ced = 0.7;
    info.recutPending = true;
    info.nPoints = 2;
    info.points[0] = {0.5, -0.25, 1};
    info.points[1] = {-1.5, 0, 0.125};
    texts = cutFacetFormTexts(info, true);
    EXPECT_EQ(texts.caption, "Cut Facet");
    EXPECT_EQ(texts.angle, "-41.000000");
    EXPECT_EQ(texts.index, "3.000000*");
    EXPECT_EQ(texts.ced, "0.70000000");
    EXPECT_EQ(texts.points,
              "  0.50000000  -0.25000000   1.00000000\r\n"
              " -1.50000000   0.00000000   0.12500000\r\n");
    EXPECT_TRUE(texts.betweenEnabled);
    info.nPoints = 1;
    EXPECT_EQ(pointsFieldText(info), "  0.50000000  -0.25000000   1.00000000\r\n\r\n");
    info.nPoints = 3;
    EXPECT_EQ(pointsFieldText(info).size(), 3 * 38u + 4);
    EXPECT_TRUE(defaultButtonCuts("Cut Facet"));
    EXPECT_FALSE(defaultButtonCuts("Apply"));
}

}  // namespace
}  // namespace brevix
