#include "live/figure_rows.h"

#include "platform/strformat.h"

namespace brevix {

namespace {

void ratio(std::vector<FigureRow>& rows, const char* label, const std::optional<double>& value) {
    if (value) rows.push_back({label, strprintf("%.3f", *value)});
}

}  // namespace

std::vector<FigureRow> figureRows(const DesignFigures& f) {
    std::vector<FigureRow> rows;
    if (f.girdleFacets != 0)
        rows.push_back({"Facets", strprintf("%d + %d girdles = %d", f.facets - f.girdleFacets, f.girdleFacets,
                                            f.facets)});
    else
        rows.push_back({"Facets", strprintf("%d", f.facets)});
    ratio(rows, "L/W", f.lw);
    ratio(rows, "T/W", f.tw);
    ratio(rows, "U/W", f.uw);
    ratio(rows, "P/W", f.pw);
    ratio(rows, "C/W", f.cw);
    ratio(rows, "H/W", f.hw);
    ratio(rows, "Girdle, thinnest/W", f.girdleThinnest);
    ratio(rows, "Girdle at mains/W", f.girdleAtMains);
    ratio(rows, "Vol./W\xB3", f.volumeRatio);
    if (f.size) {
        rows.push_back({"Size", strprintf("%.2f x %.2f x %.2f mm", f.size->length, f.size->width, f.size->height)});
        rows.push_back({"Volume", strprintf("%.2f mm\xB3", f.size->volume)});
        if (f.carats && f.material) {
            const std::string of = f.material->name.empty()
                                       ? strprintf("SG %.2f", f.material->specificGravity)
                                       : strprintf("%s, SG %.2f", f.material->name.c_str(), f.material->specificGravity);
            rows.push_back({"Weight", strprintf("%.3f ct (%s)", *f.carats, of.c_str())});
        }
    }
    return rows;
}

}  // namespace brevix
