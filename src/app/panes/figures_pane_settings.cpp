#include "app/panes/figures_pane_settings.h"

#include "platform/registry.h"

namespace brevix {

namespace {
constexpr RegRoot kRoot = RegRoot::CurrentUser;
}

FiguresPaneSettings loadFiguresPaneSettings() {
    FiguresPaneSettings s;
    if (auto v = regGetDword(kRoot, DESIGN_FIGURES_KEY, "Visible")) {
        s.visible = *v != 0;
        s.visibleChosen = true;
    }
    if (auto v = regGetDword(kRoot, DESIGN_FIGURES_KEY, "DockArea"); v && (*v == 1 || *v == 2 || *v == 4 || *v == 8))
        s.dockArea = int32_t(*v);
    if (auto v = regGetDword(kRoot, DESIGN_FIGURES_KEY, "Floating")) s.floating = *v != 0;
    return s;
}

bool saveFiguresPaneSettings(const FiguresPaneSettings& s) {
    if (regCreateKey(kRoot, DESIGN_FIGURES_KEY) == RegOpen::Failed) return false;
    bool ok = regSetDword(kRoot, DESIGN_FIGURES_KEY, "Visible", s.visible);
    ok = regSetDword(kRoot, DESIGN_FIGURES_KEY, "DockArea", uint32_t(s.dockArea)) && ok;
    ok = regSetDword(kRoot, DESIGN_FIGURES_KEY, "Floating", s.floating) && ok;
    return ok;
}

}  // namespace brevix
