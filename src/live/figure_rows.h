#pragma once
// The figures as the statistics panel lists them: a label and a value a
// row, the ratios with the three decimals the statistics text prints.
#include <string>
#include <vector>

#include "live/design_figures.h"

namespace brevix {

struct FigureRow {
    std::string label;
    std::string value;  // the core's code page
};

std::vector<FigureRow> figureRows(const DesignFigures& figures);

}  // namespace brevix
