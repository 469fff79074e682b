#pragma once
// Window placement and pane sizes of the main window, kept below
// HKEY_CURRENT_USER\Software\Brevix in the keys MainWnd, SplitterA,
// SplitterB and SplitterC. Qt-free: the frame converts to and from widgets.
#include <array>
#include <cstdint>

namespace brevix {

// The placement record as stored: the outer rectangle of the window when
// it is neither minimised nor maximised, and how it was shown.
struct WindowPlacement {
    int32_t length = 44;
    int32_t flags = 0;
    int32_t showCmd = 1;  // 1 normal, 2 minimised, 3 maximised
    int32_t minX = -1, minY = -1;
    int32_t maxX = -1, maxY = -1;
    int32_t left = 0, top = 0, right = 767, bottom = 540;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

inline constexpr int32_t SW_NORMAL = 1;
inline constexpr int32_t SW_MINIMISED = 2;
inline constexpr int32_t SW_MAXIMISED = 3;

struct FrameSettings {
    WindowPlacement placement;
    bool startMaximised = false;
    std::array<int32_t, 2> splitterA{378, 77};   // rows 0 and 1
    std::array<int32_t, 2> splitterB{243, 379};  // columns 0 and 1
    std::array<int32_t, 2> splitterC{162, 209};  // rows 0 and 1
    friend bool operator==(const FrameSettings&, const FrameSettings&) = default;
};

enum class SettingsSource { FirstRun, Stored, Unavailable };

// Opens (creating when needed) the frame's keys. On the first run (the
// SplitterC key did not exist) every value is written as -1 and the defaults
// come back. Otherwise the stored values come back; a value still at -1
// (a run that never closed its window) or a degenerate rectangle falls back
// to the default for that part, so the window can always be seen.
// A stored maximised state sets startMaximised and becomes normal.
SettingsSource loadFrameSettings(FrameSettings& settings);

// Writes every value; false when the keys cannot be opened or written.
bool saveFrameSettings(const FrameSettings& settings);

inline constexpr const char* MAIN_WND_KEY = "Software\\Brevix\\MainWnd";
inline constexpr const char* SPLITTER_A_KEY = "Software\\Brevix\\SplitterA";
inline constexpr const char* SPLITTER_B_KEY = "Software\\Brevix\\SplitterB";
inline constexpr const char* SPLITTER_C_KEY = "Software\\Brevix\\SplitterC";

}  // namespace brevix
