#include "app/frame_settings.h"

#include <optional>
#include <string_view>

#include "platform/registry.h"

namespace brevix {

namespace {

constexpr RegRoot kRoot = RegRoot::CurrentUser;

struct PlacementField {
    const char* name;
    int32_t WindowPlacement::*field;
};

// Value names are case-sensitive as written: "MinPos_Y" but "MaxPos_y".
constexpr PlacementField kPlacementFields[] = {
    {"Length", &WindowPlacement::length},
    {"flags", &WindowPlacement::flags},
    {"showCmd", &WindowPlacement::showCmd},
    {"MinPos_x", &WindowPlacement::minX},
    {"MinPos_Y", &WindowPlacement::minY},
    {"MaxPos_x", &WindowPlacement::maxX},
    {"MaxPos_y", &WindowPlacement::maxY},
    {"NormalPos_left", &WindowPlacement::left},
    {"NormalPos_top", &WindowPlacement::top},
    {"NormalPos_right", &WindowPlacement::right},
    {"NormalPos_bottom", &WindowPlacement::bottom},
};

struct PaneField {
    const char* key;
    const char* names[2];
    std::array<int32_t, 2> FrameSettings::*sizes;
};

constexpr PaneField kPaneFields[] = {
    {SPLITTER_A_KEY, {"Row0_ht", "Row1_ht"}, &FrameSettings::splitterA},
    {SPLITTER_B_KEY, {"Col0_wd", "Col1_wd"}, &FrameSettings::splitterB},
    {SPLITTER_C_KEY, {"Row0_ht", "Row1_ht"}, &FrameSettings::splitterC},
};

int32_t readValue(std::string_view key, std::string_view name) {
    const std::optional<uint32_t> value = regGetDword(kRoot, key, name);
    return value ? static_cast<int32_t>(*value) : -1;
}

bool writeValue(std::string_view key, std::string_view name, int32_t value) {
    return regSetDword(kRoot, key, name, static_cast<uint32_t>(value));
}

// Opens every key in order; the result for SplitterC tells a first run.
RegOpen openKeys() {
    RegOpen last = RegOpen::Failed;
    for (const char* key : {"Software", APP_REGISTRY_KEY, MAIN_WND_KEY, SPLITTER_A_KEY,
                            SPLITTER_B_KEY, SPLITTER_C_KEY}) {
        last = regCreateKey(kRoot, key);
        if (last == RegOpen::Failed) return RegOpen::Failed;
    }
    return last;
}

bool writeAll(const FrameSettings& s) {
    bool ok = true;
    for (const PlacementField& f : kPlacementFields)
        ok = writeValue(MAIN_WND_KEY, f.name, s.placement.*f.field) && ok;
    for (const PaneField& pane : kPaneFields)
        for (int i = 0; i < 2; ++i)
            ok = writeValue(pane.key, pane.names[i], (s.*pane.sizes)[i]) && ok;
    return ok;
}

}  // namespace

SettingsSource loadFrameSettings(FrameSettings& settings) {
    settings = FrameSettings{};
    const RegOpen opened = openKeys();
    if (opened == RegOpen::Failed) return SettingsSource::Unavailable;
    if (opened == RegOpen::Created) {
        FrameSettings unset;
        unset.placement = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        unset.splitterA = unset.splitterB = unset.splitterC = {-1, -1};
        writeAll(unset);
        return SettingsSource::FirstRun;
    }

    WindowPlacement stored;
    for (const PlacementField& f : kPlacementFields)
        stored.*f.field = readValue(MAIN_WND_KEY, f.name);
    settings.startMaximised = stored.showCmd == SW_MAXIMISED;
    stored.showCmd = SW_NORMAL;
    // A rectangle with no area (the -1s of a run that ended abnormally)
    // would open an invisible window; the default placement stands instead.
    if (stored.right > stored.left && stored.bottom > stored.top)
        settings.placement = stored;

    for (const PaneField& pane : kPaneFields) {
        const std::array<int32_t, 2> sizes{readValue(pane.key, pane.names[0]),
                                           readValue(pane.key, pane.names[1])};
        if (sizes[0] >= 0 && sizes[1] >= 0) settings.*pane.sizes = sizes;
    }
    return SettingsSource::Stored;
}

bool saveFrameSettings(const FrameSettings& settings) {
    if (openKeys() == RegOpen::Failed) return false;
    return writeAll(settings);
}

}  // namespace brevix
