#include "live/design_figures.h"

#include "live/girdle_measure.h"

namespace brevix {

DesignFigures figuresOf(const Stone& stone, const SizeChoice& size,
                        const std::optional<optics::WeightMaterial>& material) {
    DesignFigures out;
    out.facets = stone.nFacet - stone.nRough;
    out.girdleFacets = stone.nGirdle;
    if (stone.nVertex == 0) return out;
    const Proportions p = proportionsOf(boundsOf(stone));
    out.extents = p;
    const double W = p.W;
    if (p.L < EPS || W < EPS) return out;
    out.lw = p.L / W;
    if (p.T > EPS) out.tw = p.T / W;
    if (p.U > EPS) out.uw = p.U / W;
    if (p.overlapping) {
        out.hw = p.H / W;
    } else {
        if (p.P > EPS) out.pw = p.P / W;
        if (p.C > EPS) out.cw = p.C / W;
    }
    out.volumeRatio = volumeOf(stone).volume / (W * W * W);
    const GirdleMeasure girdle = measureGirdle(stone);
    if (girdle.thinnest) out.girdleThinnest = girdle.thinnest->height / W;
    if (girdle.atMainTips) out.girdleAtMains = *girdle.atMainTips / W;
    if (size.millimetres > 0) {
        out.size = realSizeOf(stone, size.basis, size.millimetres);
        if (out.size && material) {
            out.material = material;
            out.carats = caratsOf(out.size->volume, material->specificGravity);
        }
    }
    return out;
}

}  // namespace brevix
