#pragma once
// What the Design Figures pane remembers between runs, below
// HKEY_CURRENT_USER\Software\Brevix\DesignFigures. Qt-free.
#include <cstdint>

namespace brevix {

inline constexpr const char* DESIGN_FIGURES_KEY = "Software\\Brevix\\DesignFigures";

struct FiguresPaneSettings {
    bool visible = true;   // a cutter designing wants the figures from the start
    int32_t dockArea = 2;  // Qt's dock area number: 1 left, 2 right, 4 top, 8 bottom
    bool floating = false;
    // Whether `visible` is the user's own choice from an earlier run rather
    // than the default (not stored; not compared).
    bool visibleChosen = false;
    friend bool operator==(const FiguresPaneSettings& x, const FiguresPaneSettings& y) {
        return x.visible == y.visible && x.dockArea == y.dockArea && x.floating == y.floating;
    }
};

// Stored values, each the default where it is missing or out of range.
FiguresPaneSettings loadFiguresPaneSettings();
bool saveFiguresPaneSettings(const FiguresPaneSettings& settings);

}  // namespace brevix
