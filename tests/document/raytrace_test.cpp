// The Raytrace menu: the figures of the Raytrace Properties dialog, its two
// fields keeping each other up to date, and the commands around it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/sample_designs.h"
#include "document/design_io.h"
#include "document/gem_doc.h"
#include "document/status_texts.h"
#include "document/raytrace_commands.h"
#include "document/raytrace_properties.h"
#include "platform/messages.h"

namespace brevix {
namespace {

const std::string DEG = "\xB0";

TEST(RaytraceProperties, OpensWithTheIndexAndItsCriticalAngle) {
    RaytraceProperties form;
    const RaytraceFieldTexts shown = form.load(1.54);
    EXPECT_EQ(shown.index, "1.540");
    EXPECT_EQ(shown.angle, "40.49" + DEG);
    EXPECT_EQ(form.load(2.42).angle, "24.41" + DEG);
}

TEST(RaytraceProperties, ACriticalAngleGivesTheIndex) {
    RaytraceProperties form;
    form.load(1.54);
    const std::pair<const char*, const char*> cases[] = {
        {"24.41", "2.420"}, {"10", "5.759"}, {"60", "1.155"}, {" 40.49\xB0", "1.540"}};
    for (auto [angle, index] : cases) {
        const RaytraceFieldTexts shown = form.angleChanged(angle);
        EXPECT_EQ(shown.index, index) << angle;
        EXPECT_FALSE(shown.angle) << angle;  // the angle field is the user's
    }
    EXPECT_NEAR(form.index, 1.540, 0.0005);
}

TEST(RaytraceProperties, AnAngleOutsideTenToSixtyEmptiesTheIndex) {
    RaytraceProperties form;
    form.load(2.42);
    for (const char* angle : {"9.99", "60.01", "", "abc", "-30"}) {
        EXPECT_EQ(form.angleChanged(angle).index, "") << angle;
        EXPECT_EQ(form.index, 2.42) << angle;  // kept
    }
}

TEST(RaytraceProperties, LeavingTheAngleFieldTidiesItFirst) {
    RaytraceProperties form;
    form.load(1.54);
    const RaytraceFieldTexts shown = form.angleLeft("24.4149");
    EXPECT_EQ(shown.angle, "24.41" + DEG);
    EXPECT_EQ(shown.index, "2.420");
    // The index follows the tidied text, not the digits typed beyond it.
    EXPECT_NEAR(form.index, 1 / std::sin(24.41 / 57.29577951308232), 1e-12);
    EXPECT_EQ(form.angleLeft("5").index, "");
    EXPECT_EQ(form.angleLeft("x").angle, std::nullopt);
}

// The dialog shows the critical angle to two decimals; tabbing through that
// field on the way to OK must not put the rounded angle's index in place of
// the one typed.
TEST(RaytraceProperties, ATypedIndexIsStoredAsTyped) {
    RaytraceProperties form;
    form.load(1.54);
    form.indexChanged("1.544");
    const RaytraceFieldTexts left = form.indexLeft("1.544");
    ASSERT_EQ(left.angle, "40.37" + DEG);
    const RaytraceFieldTexts passed = form.angleLeft(*left.angle);
    EXPECT_FALSE(passed.index);
    EXPECT_FALSE(passed.angle);
    Diagnostics notes;
    EXPECT_EQ(form.indexOnOk(notes), 1.544);
    // An angle the user did type still gives its index, tidied.
    EXPECT_EQ(form.angleLeft("40.4").index, "1.543");
    EXPECT_EQ(form.angleLeft("40.40" + DEG).index, std::nullopt);  // now what is shown
}

// 1.544 comes back from every design format as 1.544, and the text
// formats write it as typed.
TEST(RaytraceProperties, ATypedIndexSurvivesEveryFormat) {
    Stone stone = makeRoundBrilliant();
    stone.refractiveIndex = 1.544;
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "ri_round_trip";
    std::filesystem::create_directories(folder);
    for (auto [type, name, line] : {std::tuple{FileType::Gem, "ri.gem", ""}, std::tuple{FileType::Asc, "ri.asc", "\nI 1.544\n"},
                                    std::tuple{FileType::Brx, "ri.brx", "\nri 1.544\n"}}) {
        const std::string path = (folder / name).string();
        Diagnostics notes;
        ASSERT_TRUE(writeDesignFile(stone, type, path, 0, notes)) << name;
        if (*line) {
            std::ifstream in(path, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            EXPECT_NE(text.str().find(line), std::string::npos) << name;
        }
        const DesignRead read = readDesignFile(path, type, 1, 0);
        ASSERT_TRUE(read.stone) << name;
        EXPECT_EQ(read.stone->refractiveIndex, 1.544) << name;
    }
}

TEST(RaytraceProperties, PickingOrTypingAnIndexShowsItsCriticalAngle) {
    RaytraceProperties form;
    form.load(1.54);
    EXPECT_EQ(form.indexChanged("2.42  Diamond").angle, "24.41" + DEG);
    EXPECT_EQ(form.index, 2.42);
    EXPECT_FALSE(form.indexChanged("2.42  Diamond").index);  // the combo is the user's
    // Unreadable: the index stays and its angle is shown again.
    EXPECT_EQ(form.indexChanged("Diamond").angle, "24.41" + DEG);
    // Typing "0.5" passes through "0": no critical angle to show.
    EXPECT_EQ(form.indexChanged("0").angle, "");
    EXPECT_EQ(form.indexChanged("3.2").angle, "18.21" + DEG);
}

TEST(RaytraceProperties, LeavingTheIndexChecksItsRange) {
    RaytraceProperties form;
    form.load(1.54);
    EXPECT_EQ(form.indexLeft("3.0").angle, "19.47" + DEG);
    EXPECT_EQ(form.index, 3.0);
    EXPECT_EQ(form.indexLeft("1.01").angle, "81.93" + DEG);
    EXPECT_EQ(form.indexLeft("3.2").angle, "");
    EXPECT_EQ(form.indexLeft("1.009").angle, "");
    EXPECT_EQ(form.indexLeft("glass").angle, "");
    EXPECT_EQ(form.index, 1.01);  // what was last accepted
}

TEST(RaytraceProperties, HandlersDoNothingWhileTheFieldsAreBeingUpdated) {
    RaytraceProperties form;
    form.load(1.54);
    form.updating = true;
    for (const RaytraceFieldTexts& shown :
         {form.indexChanged("2.42"), form.indexLeft("2.42"), form.angleChanged("30"),
          form.angleLeft("30")}) {
        EXPECT_FALSE(shown.index);
        EXPECT_FALSE(shown.angle);
    }
    EXPECT_EQ(form.index, 1.54);
}

TEST(RaytraceProperties, TheListHasTheSixteenMaterials) {
    const auto list = refractiveIndexChoices();
    ASSERT_EQ(list.size(), 16u);
    EXPECT_STREQ(list.front(), "1.43  Fluorite");
    EXPECT_STREQ(list[2], "1.54  Quartz");
    EXPECT_STREQ(list[13], "2.42  Diamond");
    EXPECT_STREQ(list.back(), "2.65  Moissanite");
    RaytraceProperties form;
    double previous = 0;
    for (const char* item : list) {
        form.indexChanged(item);
        EXPECT_GT(form.index, previous) << item;  // read by its number, in order
        previous = form.index;
    }
}

TEST(RaytraceProperties, OkRefusesAnIndexThatBendsNoLight) {
    RaytraceProperties form;
    form.load(1.54);
    form.indexChanged("1");
    Diagnostics notes;
    EXPECT_EQ(form.indexOnOk(notes), std::nullopt);
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{"Refractive index should be above 1"}));
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);
    form.angleChanged("10");
    notes.clear();
    EXPECT_NEAR(*form.indexOnOk(notes), 5.7588, 0.0001);  // beyond what may be typed, but sound
    EXPECT_TRUE(notes.empty());
}

class RaytraceCommands : public ::testing::Test {
protected:
    void SetUp() override {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        doc.refreshSummary();
        doc.model().setModifiedFlag(false);
        doc.onDesignChanged = [this](DesignChanges, const void*) { ++updates; };
        doc.stone()->traceRay({0.1, 0.1, 2}, {0, 0, -1});
        ASSERT_GT(doc.stone()->nRay, 0);
    }
    CGemDoc doc;
    int updates = 0;
};

TEST_F(RaytraceCommands, OkStoresTheIndexAndErasesTheRays) {
    double shownWith = 0;
    raytracePropertiesCommand(doc, [&](double current) -> std::optional<double> {
        shownWith = current;
        return 2.42;
    });
    EXPECT_EQ(shownWith, 1.54);
    EXPECT_EQ(doc.stone()->refractiveIndex, 2.42);
    EXPECT_EQ(doc.stone()->nRay, 0);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(refractiveIndexText(doc), "RI=2.420");
    EXPECT_TRUE(doc.model().isModified());  // saved with the design
}

TEST_F(RaytraceCommands, CancelChangesNothing) {
    raytracePropertiesCommand(doc, [](double) { return std::nullopt; });
    EXPECT_EQ(doc.stone()->refractiveIndex, 1.54);
    EXPECT_GT(doc.stone()->nRay, 0);
    EXPECT_EQ(updates, 0);
    EXPECT_FALSE(doc.model().isModified());
}

TEST_F(RaytraceCommands, EraseRaysKeepsTheDesignUnmodified) {
    eraseRaysCommand(doc);
    EXPECT_EQ(doc.stone()->nRay, 0);
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(doc.model().isModified());
}

TEST(RaytraceCommandsWithoutStone, DoNothing) {
    CGemDoc empty;
    bool asked = false;
    raytracePropertiesCommand(empty, [&](double) -> std::optional<double> {
        asked = true;
        return 2.0;
    });
    eraseRaysCommand(empty);
    EXPECT_FALSE(asked);
    EXPECT_EQ(empty.stone(), nullptr);
}

}  // namespace
}  // namespace brevix
