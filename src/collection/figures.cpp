#include "collection/figures.h"

#include "design/measures.h"
#include "kernel/stone.h"
#include "platform/text_encoding.h"

namespace brevix::collection {

DesignFacts factsOf(const Stone& stone) {
    DesignFacts facts;
    facts.heading = cp1252ToUtf8(stone.heading[0]);
    facts.facets = stone.nFacet - stone.nRough;
    facts.gear = stone.gear;
    facts.symmetry = stone.symmetry;
    facts.mirror = stone.mirror;
    facts.lengthWidth = lengthToWidth(stone);
    return facts;
}

}  // namespace brevix::collection
