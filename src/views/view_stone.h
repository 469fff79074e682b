#pragma once
// The views' own copy of a design. Drawing and picking write working fields
// into the stone they work on (statuses, device positions, label pixels and
// centres, girdle boxes, edge pixel lengths, the statistics the labels
// use); a view works on this copy, so a paint never writes the document's
// stone, which stays free to be read meanwhile, here or on another thread.
#include <optional>

#include "kernel/stone.h"

namespace brevix {

class ViewStone {
public:
    // The copy of `design` (null without one), taken again only when the
    // design differs from it in what a view shows; label centres and
    // statistics are brought up to date when it is.
    Stone* refresh(const Stone* design);
    // The copy as the last refresh, drawing and picking left it.
    Stone* get() { return copy_ ? &*copy_ : nullptr; }

private:
    std::optional<Stone> copy_;
};

// Whether `copy` shows what `design` holds: the same records (planes,
// names, tiers, points, edges), settings, rays and preform. The views'
// working fields are not compared.
bool showsSameDesign(const Stone& copy, const Stone& design);

// The light rays of `design` into `copy` (a copy of a stone leaves them out).
void copyRays(Stone& copy, const Stone& design);

}  // namespace brevix
