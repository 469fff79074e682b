#include "intent_test_support.h"

#include <cmath>
#include <sstream>

#include "files/asc_format.h"
#include "intent/point_resolution.h"
#include "intent/tier_planes.h"

namespace brevix {

std::vector<std::vector<FacetRef>> meetsOfFour(const Stone& stone, const DesignIntent& intent) {
    std::vector<std::vector<FacetRef>> meets;
    for (int32_t v = 0; v < stone.nVertex; ++v) {
        const Vec3 p = stone.vertices[v].pos();
        std::vector<FacetRef> set;
        for (size_t t = 0; t < intent.tiers.size(); ++t) {
            const TierIntent& tier = intent.tiers[t];
            for (size_t k = 0; k < tier.planes.size(); ++k) {
                const Plane& q = tier.planes[k];
                if (std::fabs(q.a * p.x + q.b * p.y + q.c * p.z - q.d) <= MEET_TOLERANCE)
                    set.push_back({int32_t(t), tier.indexes[k]});
            }
        }
        if (set.size() >= 4) meets.push_back(set);
    }
    return meets;
}

double worstMeet(const std::vector<std::vector<FacetRef>>& meets, const DesignIntent& intent,
                 int32_t gear) {
    double worst = 0;
    for (const std::vector<FacetRef>& set : meets) {
        std::vector<Plane> planes;
        for (const FacetRef& ref : set) {
            const std::optional<Plane> plane = planeOfRef(ref, intent, gear);
            if (!plane) return 1;
            planes.push_back(*plane);
        }
        double residual = 1;
        if (!meetOfPlanes(planes, &residual)) return 1;
        worst = std::max(worst, residual);
    }
    return worst;
}

std::string designBytes(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeAsc(stone, out, notes);
    out << std::hexfloat;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        out << f.a << ' ' << f.b << ' ' << f.c << ' ' << f.d << ' ' << f.name << '\n';
    }
    return out.str();
}

Stone readSample(const char* name) {
    Stone stone;
    readAscFile(stone, std::string(BREVIX_SOURCE_DIR) + "/samples/" + name);
    return stone;
}

}  // namespace brevix
