// The comparison every faster way of cutting is held to must see a change
// in any part of a stone, or those tests would pass on anything.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "design/sample_designs.h"
#include "kernel/record_difference.h"
#include "kernel/stone.h"
#include "platform/diag_codes.h"

namespace brevix {
namespace {

TEST(RecordDifference, SeesAChangeInAnyPartOfTheStone) {
    const Stone design = makeRoundBrilliant();
    EXPECT_EQ(firstRecordDifference(design, Stone(design)), "");

    const std::vector<std::pair<std::string, std::function<void(Stone&)>>> changes = {
        {"a vertex one bit off", [](Stone& s) { s.vertices[3].y = std::nextafter(s.vertices[3].y, 2.0); }},
        {"a vertex's distance", [](Stone& s) { s.vertices[5].dist += 1e-12; }},
        {"a vertex's mark", [](Stone& s) { s.vertices[0].status = ST_ON; }},
        {"an edge's facet", [](Stone& s) { std::swap(s.edges[7].f[0], s.edges[7].f[1]); }},
        {"an edge's mark", [](Stone& s) { s.edges[2].status = ST_TOUCH; }},
        {"a plane one bit off", [](Stone& s) { s.facets[9].d = std::nextafter(s.facets[9].d, 0.0); }},
        {"a facet's name", [](Stone& s) { s.setFacetName(4, "T9"); }},
        {"a facet's flags", [](Stone& s) { s.facets[1].flags ^= KEEP; }},
        {"text left in an unused slot", [](Stone& s) { s.facets[s.nFacet].name = "left over"; }},
        {"a note", [](Stone& s) { s.addNote(DiagKind::InternalWarning, DiagCode::KernelBadEdge, "Internal warning: Bad edge"); }},
        {"a girdle count", [](Stone& s) { ++s.nGirdle; }},
    };
    for (const auto& [what, change] : changes) {
        Stone changed(design);
        if (changed.maxFacet <= changed.nFacet) changed.growFacets(changed.nFacet);
        change(changed);
        EXPECT_NE(firstRecordDifference(design, changed), "") << what;
        EXPECT_NE(firstRecordDifference(changed, design), "") << what;
    }
}

}  // namespace
}  // namespace brevix
