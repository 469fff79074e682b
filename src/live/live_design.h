#pragma once
// Everything the window shows about the design besides the design itself:
// its figures and warnings, and what the pending facet would make of it.
// Worked out once per change of the design or the pending facet; the form,
// the figures pane, the cut list and the views read the same result.
#include <optional>
#include <vector>

#include "design/real_size.h"
#include "facet_placement/new_facet_info.h"
#include "intent/intent.h"
#include "kernel/stone.h"
#include "live/cut_preview.h"
#include "live/design_figures.h"
#include "live/design_warnings.h"
#include "optics/weight_material.h"

namespace brevix {

struct LiveDesign {
    DesignFigures figures;                       // of the design
    std::vector<DesignWarning> warnings;         // of the design
    CutPreview preview;                          // the pending facet cut on a copy
    std::optional<DesignFigures> previewFigures; // of the would-be stone, when ready
    std::vector<DesignWarning> previewWarnings;  // what the cut would cause
    std::vector<Vec3> points;                    // the pending facet's points
};

struct LiveInputs {
    const Stone* stone = nullptr;          // none: an empty result
    const DesignIntent* intent = nullptr;  // as recorded, not settled
    const Stone* previous = nullptr;       // the design before the last change (for names)
    const NewFacetInfo* pending = nullptr;
    // While a tier is dragged the pending facet is not previewed: the
    // design moves under it at every step.
    bool dragging = false;
    SizeChoice size;                       // for the size and weight figures
    std::optional<optics::WeightMaterial> material;
};

LiveDesign liveDesignOf(const LiveInputs& in);

}  // namespace brevix
