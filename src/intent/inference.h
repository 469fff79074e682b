#pragma once
// Intent for designs that never recorded one (every .asc and .gem file, the
// database, the samples): the cuts are replayed in order, and a tier whose
// plane passes through a meet point of the stone as it stood just before
// that tier was cut is taken to have been cut to that meet point.
#include "intent/intent.h"
#include "intent/point_resolution.h"
#include "kernel/stone.h"

namespace brevix {

// Each tier of the cut list becomes one tier of intent with its own angle
// and indexes; its depth follows the vertex its plane passes through
// (within `meetTolerance`, a share of W, but never less than 1e-7; the one
// where most facets meet, then the nearest, ties to the lowest facet
// numbers), or stays as typed when it passes through none; how far it
// missed is the tier's gap. The first tier passing through no vertex keeps
// its depth too. Touches nothing outside its arguments.
DesignIntent inferIntent(const Stone& design, double meetTolerance = DEFAULT_MEET_TOLERANCE_W);

// Keeps what `recorded` says of the tiers whose planes are still the
// stone's, with their references renumbered, and infers the rest; the
// recorded intent itself when it matches the stone as it is.
DesignIntent reconcileIntent(const Stone& design, const DesignIntent& recorded,
                             double meetTolerance = DEFAULT_MEET_TOLERANCE_W);

}  // namespace brevix
