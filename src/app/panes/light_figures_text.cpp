#include "app/panes/light_figures_text.h"

#include "platform/strformat.h"

namespace brevix {

std::string sceneFiguresText(optics::Environment lighting, const optics::SceneFigures& figures,
                             std::optional<double> scintillation) {
    if (!optics::hasScene(lighting)) return {};
    std::string text = strprintf("%s brightness %.1f%%, contrast %.1f%%", optics::environmentLabel(lighting),
                                 figures.brightness, figures.contrast);
    if (scintillation) text += strprintf(", scintillation %.1f%%", *scintillation);
    if (lighting == optics::Environment::Aset)
        text += strprintf("\nRed %.1f%%, green %.1f%%, blue %.1f%%, black %.1f%%", figures.red, figures.green,
                          figures.blue, figures.black);
    return text;
}

std::string tiltMeanText(optics::Environment lighting, const optics::TiltSweep& sweep) {
    std::string text = strprintf("Mean over the tilts: ISO %.1f%%, COS %.1f%%", sweep.meanIso, sweep.meanCos);
    if (optics::hasScene(lighting))
        text += strprintf(", %s %.1f%%", optics::environmentLabel(lighting), optics::tiltAverages(sweep.points).scene);
    return text;
}

}  // namespace brevix
