#include "document/size_settings.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "settings_fixture.h"

namespace brevix {
namespace {

using SizeSettingsTest = TempFolderTest;

TEST_F(SizeSettingsTest, FirstRunHasNoSizeAndThePrintedPageAsAlways) {
    const SizeSettings s = loadSizeSettings();
    EXPECT_EQ(s, SizeSettings{});
    EXPECT_EQ(s.size.millimetres, 0);
    EXPECT_FALSE(s.printWeight);
}

TEST_F(SizeSettingsTest, WhatIsSavedComesBackExactly) {
    SizeSettings s;
    s.size = {SizeBasis::Length, 7.25};
    s.material = "Cubic Zirconia";
    s.specificGravity = 0;
    s.printWeight = true;
    ASSERT_TRUE(saveSizeSettings(s));
    EXPECT_EQ(loadSizeSettings(), s);
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\SizeWeight", "Millimetres"), "7.25");

    s.material.clear();
    s.specificGravity = 3.1;
    s.size = {SizeBasis::Width, 0.1 + 0.2};  // a figure with no short decimal form
    ASSERT_TRUE(saveSizeSettings(s));
    EXPECT_EQ(loadSizeSettings(), s);
}

TEST_F(SizeSettingsTest, DamagedValuesFallBackOneByOne) {
    const char* key = SIZE_WEIGHT_KEY;
    regSetString(RegRoot::CurrentUser, key, "Millimetres", "6,5 mm");
    regSetString(RegRoot::CurrentUser, key, "Gravity", "1e300");
    regSetDword(RegRoot::CurrentUser, key, "Basis", 7);
    regSetString(RegRoot::CurrentUser, key, "PrintWeight", "yes");  // the wrong type
    regSetString(RegRoot::CurrentUser, key, "Material", "Diamond");
    const SizeSettings s = loadSizeSettings();
    EXPECT_EQ(s.size.basis, SizeBasis::Width);
    EXPECT_EQ(s.size.millimetres, 0);
    EXPECT_EQ(s.specificGravity, 0);
    EXPECT_FALSE(s.printWeight);
    EXPECT_EQ(s.material, "Diamond");

    regSetString(RegRoot::CurrentUser, key, "Millimetres", "-4");
    EXPECT_EQ(loadSizeSettings().size.millimetres, 0);
    regSetString(RegRoot::CurrentUser, key, "Millimetres", "nan");
    EXPECT_EQ(loadSizeSettings().size.millimetres, 0);
}

}  // namespace
}  // namespace brevix
