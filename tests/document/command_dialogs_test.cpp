// The whole-stone commands behind the Edit, Stone and View dialogs: how the
// dialogs' fields and check boxes read, what each command does to the
// design, that one Undo takes each back, and that Replay gives the design
// back whole.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "document/center_command.h"
#include "document/command_messages.h"
#include "document/gem_doc.h"
#include "document/heading_command.h"
#include "document/replay_command.h"
#include "document/rotate_amount.h"
#include "document/scale_command.h"
#include "document/stone_commands.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {
namespace {

constexpr double kDegree = 0.017453292519943295;

// Planes, names, tiers and the design record, bit for bit.
::testing::AssertionResult sameDesign(const Stone& a, const Stone& b) {
    if (a.nFacet != b.nFacet)
        return ::testing::AssertionFailure() << a.nFacet << " facets against " << b.nFacet;
    for (int32_t i = 0; i < a.nFacet; ++i) {
        const Facet& f = a.facets[i];
        const Facet& g = b.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d)
            return ::testing::AssertionFailure() << "plane of facet " << i;
        if (f.name != g.name || f.instruction != g.instruction || f.tier != g.tier)
            return ::testing::AssertionFailure() << "name, instruction or tier of facet " << i;
    }
    if (a.gear != b.gear || a.indexOffset != b.indexOffset || a.heading != b.heading ||
        a.footnote != b.footnote)
        return ::testing::AssertionFailure() << "design record";
    return ::testing::AssertionSuccess();
}

class CommandDoc : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    CGemDoc doc{&sink};
    Stone original = makeRoundBrilliant();

    void SetUp() override {
        doc.model().put(std::make_unique<Stone>(original));
    }
    const Stone& stone() const { return *doc.stone(); }
};

int32_t tableOf(const Stone& s) {
    for (int32_t i = 0; i < s.nFacet; ++i)
        if (!s.facets[i].isRough() && s.facets[i].c > 1 - 1e-8) return i;
    return -1;
}

// ---- Rotate or Tilt ------------------------------------------------------

TEST(RotateAmount, UnitsTurnIntoRadians) {
    EXPECT_DOUBLE_EQ(*rotationRadians(3, RotateUnit::IndexNotches, 96), 11.25 * kDegree);
    EXPECT_DOUBLE_EQ(*rotationRadians(3, RotateUnit::IndexNotches, -96), 11.25 * kDegree);
    EXPECT_DOUBLE_EQ(*rotationRadians(1, RotateUnit::QuarterRevolutions, 96), 90 * kDegree);
    EXPECT_DOUBLE_EQ(*rotationRadians(-45, RotateUnit::Degrees, 96), -45 * kDegree);
    // A gear of no notches has no notch size: nothing to turn by.
    EXPECT_FALSE(rotationRadians(3, RotateUnit::IndexNotches, 0));
    EXPECT_DOUBLE_EQ(*rotationRadians(3, RotateUnit::Degrees, 0), 3 * kDegree);
}

TEST(RotateAmount, FieldReadsTheLeadingNumber) {
    EXPECT_EQ(readRotateAmount("12.5 degrees"), 12.5);
    EXPECT_EQ(readRotateAmount("  -3"), -3);
    EXPECT_EQ(readRotateAmount("abc"), 0);
    EXPECT_EQ(readRotateAmount(""), 0);
    EXPECT_EQ(readRotateAmount("1e999"), 0);  // no infinite turn
    EXPECT_EQ(rotateAmountText(11.25), "11.250");
    EXPECT_EQ(rotateAmountText(readRotateAmount("x")), "0.000");
}

TEST_F(CommandDoc, ThreeNotchesTurnEveryIndexByThreeAndOneUndoTakesItBack) {
    rotateCommand(doc, 2, *rotationRadians(3, RotateUnit::IndexNotches, 96));
    for (int32_t i = 0; i < stone().nFacet; ++i) {
        const Facet& f = stone().facets[i];
        if (std::fabs(f.a) < 1e-8 && std::fabs(f.b) < 1e-8) continue;  // table, culet
        const double turned = std::fmod(original.facetIndexOf(i) - stone().facetIndexOf(i) + 96, 96.0);
        EXPECT_NEAR(turned, 3, 1e-9) << i;
    }
    EXPECT_TRUE(doc.model().isModified());
    doc.undo();
    EXPECT_TRUE(sameDesign(stone(), original));
}

TEST_F(CommandDoc, RotatingTheGearWithTheStoneKeepsTheIndexes) {
    rotateCommand(doc, 3, *rotationRadians(1, RotateUnit::QuarterRevolutions, 96));
    for (int32_t i = 0; i < stone().nFacet; ++i)
        EXPECT_NEAR(stone().facetIndexOf(i), original.facetIndexOf(i), 1e-9) << i;
    EXPECT_DOUBLE_EQ(stone().indexOffset, original.indexOffset + 24);
    // A tilt about x by a quarter turn makes the table vertical.
    SetUp();
    rotateCommand(doc, 0, 90 * kDegree);
    EXPECT_NEAR(std::fabs(stone().facets[tableOf(original)].c), 0, 1e-12);
}

// ---- Scale -----------------------------------------------------------------

TEST(ScaleDialog, AmountsBelowTheThresholdOrUnreadableAreOne) {
    EXPECT_EQ(scaleAmountText(readScaleAmount("0")), "1.0000");
    EXPECT_EQ(scaleAmountText(readScaleAmount("0.000001")), "1.0000");
    EXPECT_EQ(scaleAmountText(readScaleAmount("-0.000009")), "1.0000");
    EXPECT_EQ(scaleAmountText(readScaleAmount("oval")), "1.0000");
    EXPECT_EQ(scaleAmountText(readScaleAmount("inf")), "1.0000");
    EXPECT_EQ(scaleAmountText(readScaleAmount("0.00001")), "0.0000");  // at the threshold: kept
    EXPECT_EQ(scaleAmountText(readScaleAmount("1.25x")), "1.2500");
}

TEST(ScaleDialog, DirectionBoxesExcludeTheOtherAxes) {
    ScaleDirections d;
    d.toggle(ScaleBox::X, true);
    EXPECT_EQ(d.sides(), 3);
    d.toggle(ScaleBox::PlusY, true);  // Y clears X
    EXPECT_FALSE(d.x);
    d.toggle(ScaleBox::MinusY, true);  // both sides of one axis go together
    EXPECT_EQ(d.sides(), 12);
    d.toggle(ScaleBox::Crown, true);  // Z clears both Y boxes
    EXPECT_EQ(d.sides(), 32);
    d.toggle(ScaleBox::Pavilion, true);
    EXPECT_EQ(d.sides(), 48);
    d.toggle(ScaleBox::X, true);  // X clears both Z boxes
    EXPECT_EQ(d.sides(), 3);
    EXPECT_FALSE(d.automaticEnabled());

    d.toggle(ScaleBox::All, true);
    EXPECT_TRUE(d.x && d.minusY && d.plusY && d.crown && d.pavilion);
    EXPECT_EQ(d.sides(), 63);
    EXPECT_TRUE(d.automaticEnabled());
    // Clearing one box clears "All" and with it "Automatic".
    d.toggle(ScaleBox::Crown, false);
    EXPECT_FALSE(d.all);
    EXPECT_FALSE(d.automaticEnabled());
    EXPECT_EQ(d.sides(), 3 | 4 | 8 | 16);
    d.toggle(ScaleBox::All, true);
    d.toggle(ScaleBox::All, false);
    EXPECT_EQ(d.sides(), 0);
}

class CountingBusy : public BusyIndicator {
public:
    int begun = 0, ended = 0;
    void begin() override { ++begun; }
    void end() override { ++ended; }
};

TEST_F(CommandDoc, ScaleStretchesOneSideThenRanksTheGears) {
    sink.script = {Answer::No};
    bool gearAsked = false;
    scaleCommand(doc, 8, 1.2 / 1.0, [&] { gearAsked = true; });
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].question);
    EXPECT_EQ(sink.entries[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(sink.entries[0].text.rfind("Common index Gears, from best to worst:\n\n", 0), 0u);
    EXPECT_FALSE(gearAsked);
    EXPECT_NEAR(doc.lengthWidth, 1.1, 0.01);  // +y half stretched by 20 %
    doc.undo();
    EXPECT_TRUE(sameDesign(stone(), original));
    EXPECT_DOUBLE_EQ(doc.lengthWidth, 1.0);
}

TEST_F(CommandDoc, ScaleYesChoosesTheGearAndRoundsUnderTheWaitCursor) {
    CountingBusy busy;
    doc.busyIndicator = &busy;
    sink.script = {Answer::Yes};
    bool gearAsked = false;
    scaleCommand(doc, 4 | 8, 1.1, [&] { gearAsked = true; });
    doc.busyIndicator = nullptr;
    EXPECT_TRUE(gearAsked);
    EXPECT_EQ(busy.begun, 1);
    EXPECT_EQ(busy.ended, 1);
    EXPECT_EQ(sink.entries.size(), 1u);  // the question only: the rounding succeeded
    EXPECT_EQ(doc.facetCount, 73);
    // Scale and rounding are one command.
    doc.undo();
    EXPECT_TRUE(sameDesign(stone(), original));
}

TEST_F(CommandDoc, ScaleWithoutDirectionOrByOneChangesNothing) {
    scaleCommand(doc, 0, 2, nullptr);
    scaleCommand(doc, 63, 1, nullptr);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_FALSE(doc.model().isModified());
    // A negative factor would turn the stone inside out: refused, no undo step.
    scaleCommand(doc, 63, -2, nullptr);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{cmdmsg::SCALE_NOT_POSITIVE});
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(doc.undoStack().latest(), nullptr);
}

TEST_F(CommandDoc, AutomaticScaleFitsTheUnitCube) {
    sink.script = {Answer::No};
    scaleCommand(doc, 63, 0, nullptr);
    Stone& s = *doc.stone();
    computeBounds(s);
    const double reach = std::max({-s.stats.minX, s.stats.maxX, -s.stats.minY, s.stats.maxY,
                                   -s.stats.minZ, s.stats.maxZ});
    EXPECT_NEAR(reach, 1.0, 1e-9);
}

// ---- Center ----------------------------------------------------------------

TEST(CenterDialog, SidewaysAndDopAxesExcludeEachOther) {
    EXPECT_EQ(centerAxesAfterToggle(CENTER_Z, CENTER_X, true), CENTER_X);
    EXPECT_EQ(centerAxesAfterToggle(CENTER_X, CENTER_Y, true), CENTER_X | CENTER_Y);
    EXPECT_EQ(centerAxesAfterToggle(CENTER_X | CENTER_Y, CENTER_Z, true), CENTER_Z);
    EXPECT_EQ(centerAxesAfterToggle(CENTER_X | CENTER_Y, CENTER_Y, false), CENTER_X);
    EXPECT_EQ(centerAxesAfterToggle(CENTER_Z, CENTER_Z, false), 0);
}

TEST_F(CommandDoc, CenterAsksAgainUntilTheChoiceCanBeDone) {
    std::vector<CenterChoice> shown;
    std::vector<std::optional<CenterChoice>> answers = {
        CenterChoice{0, CENTER_OF_MASS},           // no axis
        CenterChoice{CENTER_Z, CENTER_ON_POINT},   // no point held
        std::nullopt,                              // Cancel
    };
    centerCommand(doc, [&](const CenterChoice& start) {
        shown.push_back(start);
        const std::optional<CenterChoice> answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{cmdmsg::NO_AXIS, cmdmsg::NO_POINT}));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].axes, CENTER_Z);  // Z and centre of mass at start
    EXPECT_EQ(shown[0].method, CENTER_OF_MASS);
    EXPECT_EQ(shown[1].axes, 0);  // the dialog comes back as the user left it
    EXPECT_EQ(shown[2].method, CENTER_ON_POINT);
    EXPECT_FALSE(doc.model().isModified());
}

TEST_F(CommandDoc, CenterOnPointOneSlidesAlongTheDopAndForgetsThePoint) {
    doc.pending().addPoint({0.3, 0.2, 0.1});
    centerCommand(doc, [](const CenterChoice&) {
        return std::optional<CenterChoice>(CenterChoice{CENTER_Z, CENTER_ON_POINT});
    });
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(doc.pending().info.nPoints, 0);
    EXPECT_NEAR(stone().facets[tableOf(original)].d, original.facets[tableOf(original)].d - 0.1,
                1e-12);
    doc.undo();
    EXPECT_TRUE(sameDesign(stone(), original));
}

TEST_F(CommandDoc, CenterOnAPointOutsideTheStoneIsRefused) {
    doc.pending().addPoint({0, 0, 3});
    centerCommand(doc, [](const CenterChoice&) {
        return std::optional<CenterChoice>(CenterChoice{CENTER_Z, CENTER_ON_POINT});
    });
    EXPECT_EQ(sink.texts(), std::vector<std::string>{cmdmsg::POINT_OUTSIDE});
    EXPECT_TRUE(sameDesign(stone(), original));
    EXPECT_EQ(doc.undoStack().latest(), nullptr);
    EXPECT_EQ(doc.pending().info.nPoints, 1);  // still there to try again
}

// ---- Reflect, Sort, Rename: one Undo each ----------------------------------

TEST_F(CommandDoc, ReflectSortAndRenameAreEachUndoneByOneUndo) {
    struct Case {
        const char* name;
        void (*run)(CGemDoc&);
    };
    const Case cases[] = {
        {"reflect", [](CGemDoc& d) { reflectCommand(d, 1, false); }},
        {"reflect flipped", [](CGemDoc& d) { reflectCommand(d, 3, true); }},
        {"sort", [](CGemDoc& d) { sortCommand(d, 3); }},
        {"rename", [](CGemDoc& d) { renameCommand(d, 2, 2); }},
        {"transfer", [](CGemDoc& d) { transferCommand(d); }},
        {"regenerate", [](CGemDoc& d) { regenerateCommand(d); }},
    };
    for (const Case& c : cases) {
        SetUp();
        c.run(doc);
        EXPECT_TRUE(doc.model().isModified()) << c.name;
        doc.undo();
        EXPECT_TRUE(sameDesign(stone(), original)) << c.name;
    }
}

TEST_F(CommandDoc, SortAndRenameDoWhatTheirDialogsSay) {
    sortCommand(doc, 0);  // pavilion first, the table last
    EXPECT_LT(stone().facets[stone().nRough].c, -1e-4);
    EXPECT_EQ(tableOf(stone()), stone().nFacet - 1);
    sortCommand(doc, 2);  // girdle first, the pavilion last
    EXPECT_NEAR(stone().facets[stone().nRough].c, 0, 1e-8);
    EXPECT_LT(stone().facets[stone().nFacet - 1].c, -1e-4);
    renameCommand(doc, 2, 1);
    bool sawP1 = false, sawA = false;
    for (int32_t i = 0; i < stone().nFacet; ++i) {
        sawP1 = sawP1 || stone().facets[i].name == "P1";
        sawA = sawA || stone().facets[i].name == "A";
    }
    EXPECT_TRUE(sawP1 && sawA);
}

TEST_F(CommandDoc, ReflectTakesTheSymmetryOfTheResult) {
    doc.pending().setSymmetry(3, 0);
    reflectCommand(doc, 1, false);
    EXPECT_EQ(doc.pending().info.symmetry, stone().symmetry);
    EXPECT_EQ(doc.pending().info.mirror, stone().mirror);
}

// ---- Heading and footnote --------------------------------------------------

TEST(HeadingText, AtMostFourLinesCutAtLineEnds) {
    const DiagramLines six = diagramLinesOf("One\r\nTwo\r\nThree\r\nFour\r\nFive\r\nSix");
    EXPECT_EQ(six, (DiagramLines{"One", "Two", "Three", "Four"}));
    // An empty line stays a place; lines after the last one are cleared.
    EXPECT_EQ(diagramLinesOf("Title\r\n\r\nBy me\r\n"), (DiagramLines{"Title", "", "By me", ""}));
    EXPECT_EQ(diagramLinesOf("a\rb\nc"), (DiagramLines{"a", "b", "c", ""}));
    EXPECT_EQ(diagramLinesOf(""), DiagramLines{});
    EXPECT_EQ(diagramLinesText({"Title", "", "By me", ""}), "Title\r\n\r\nBy me");
    EXPECT_EQ(diagramLinesText({}), "");
    const DiagramLines degrees{"Angles in \xB0", "", "", "last"};
    EXPECT_EQ(diagramLinesOf(diagramLinesText(degrees)), degrees);
}

TEST_F(CommandDoc, HeadingIsStoredAndOneUndoTakesItBack) {
    int redraws = 0;
    doc.onDesignChanged = [&](DesignChanges, const void*) { ++redraws; };
    headingCommand(doc, "A\r\nB\r\nC\r\nD\r\nE\r\nF", "Note");
    EXPECT_EQ(stone().heading, (DiagramLines{"A", "B", "C", "D"}));
    EXPECT_EQ(stone().footnote, (DiagramLines{"Note", "", "", ""}));
    EXPECT_GE(redraws, 1);
    doc.undo();
    EXPECT_TRUE(sameDesign(stone(), original));
}

// ---- Replay ----------------------------------------------------------------

TEST_F(CommandDoc, ReplayShowsEachFacetMarkedAndCancelGivesTheDesignBack) {
    std::vector<CurrentFacetTexts> shown;
    std::vector<std::string> marked;
    replayCommand(doc, [&](const CurrentFacetTexts& texts) {
        shown.push_back(texts);
        const Stone& s = stone();
        marked.push_back(s.facets[s.nFacet - 1].name);
        EXPECT_EQ(s.nFacet - s.nRough, static_cast<int32_t>(shown.size()));
        // The earlier ones have their own names back.
        for (int32_t i = s.nRough; i + 1 < s.nFacet; ++i)
            EXPECT_EQ(s.facets[i].name.find('+'), std::string::npos);
        return shown.size() < 3;
    });
    ASSERT_EQ(shown.size(), 3u);
    const Facet& first = original.facets[original.nRough];
    EXPECT_EQ(shown[0].name, first.name);
    EXPECT_EQ(marked[0], first.name + "+");
    EXPECT_EQ(shown[0].angle, strprintf("%.2f", original.facetAngleOf(original.nRough)));
    EXPECT_TRUE(sameDesign(stone(), original));
    EXPECT_FALSE(doc.model().isModified());
    EXPECT_EQ(doc.facetCount, original.nFacet - original.nRough);
}

TEST_F(CommandDoc, ReplayShowsPavilionFacetsFromTheOtherSide) {
    // One pavilion facet at 41 degrees on index 3 of a 96 gear.
    Stone one(ROUGH_HALF);
    TierSetting pavilion{"", -41, 0.5, {3}, ""};
    cutTier(one, pavilion);
    doc.model().put(std::make_unique<Stone>(one));
    std::vector<CurrentFacetTexts> shown;
    replayCommand(doc, [&](const CurrentFacetTexts& t) {
        shown.push_back(t);
        return true;
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].name, "");
    EXPECT_EQ(shown[0].angle, "41.00");
    EXPECT_EQ(shown[0].index, "93.00");
    EXPECT_TRUE(sameDesign(stone(), one));
}

}  // namespace
}  // namespace brevix
