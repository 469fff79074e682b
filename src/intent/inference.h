#pragma once
// Intent for designs that never recorded one (every .asc and .gem file, the
// database, the samples): the cuts are replayed in order, and a tier whose
// plane passes through a meet point of the stone as it stood just before
// that tier was cut is taken to have been cut to that meet point.
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// Each tier of the cut list becomes one tier of intent with its own angle
// and indexes; its depth follows the vertex its plane passes through
// (within 1e-7; the one where most facets meet, ties to the lowest facet
// numbers), or stays as typed when it passes through none. The first tier
// passing through no vertex keeps its depth too. Touches nothing outside
// its arguments.
DesignIntent inferIntent(const Stone& design);

// Keeps what `recorded` says of the tiers whose planes are still the
// stone's, with their references renumbered, and infers the rest; the
// recorded intent itself when it matches the stone as it is.
DesignIntent reconcileIntent(const Stone& design, const DesignIntent& recorded);

}  // namespace brevix
