#pragma once
// The figures a cutter watches while designing: the proportions as ratios
// to the width, the girdle's thickness, the volume ratio, the facet count
// and, once a size is chosen, millimetres and carats. The ratios are the
// ones the statistics text prints, from the same extents.
#include <cstdint>
#include <optional>
#include <string>

#include "design/measures.h"
#include "design/real_size.h"
#include "kernel/stone.h"
#include "optics/weight_material.h"

namespace brevix {

struct DesignFigures {
    int32_t facets = 0;        // design facets, girdle facets included
    int32_t girdleFacets = 0;  // as the statistics count them
    Proportions extents;       // design units
    // Ratios to W, each absent where the design has no such part (as in
    // the statistics text: P and C, or H where crown and pavilion overlap).
    std::optional<double> lw, tw, uw, pw, cw, hw;
    std::optional<double> girdleThinnest;  // share of W
    std::optional<double> girdleAtMains;   // share of W
    std::optional<double> volumeRatio;     // volume / W^3
    std::optional<RealSize> size;          // at the chosen size
    std::optional<optics::WeightMaterial> material;
    std::optional<double> carats;
};

// Updates the stone's Stats block (bounds and volume). `size` at 0 mm: no
// real size; `material` absent: no weight.
DesignFigures figuresOf(const Stone& stone, const SizeChoice& size = {},
                        const std::optional<optics::WeightMaterial>& material = std::nullopt);

}  // namespace brevix
