#include "intent/plane_lookup.h"

#include <cmath>

namespace brevix {

bool PlaneLookup::keyOf(const Plane& p, Key& key) {
    if (std::isnan(p.a) || std::isnan(p.b) || std::isnan(p.c) || std::isnan(p.d)) return false;
    // -0 equals 0: both are kept as 0.
    key = {p.a == 0 ? 0.0 : p.a, p.b == 0 ? 0.0 : p.b, p.c == 0 ? 0.0 : p.c, p.d == 0 ? 0.0 : p.d};
    return true;
}

PlaneLookup::PlaneLookup(std::vector<Entry> entries) {
    keys_.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        Key key;
        if (keyOf(entries[i].plane, key)) keys_.push_back({key, int32_t(i), entries[i].value});
    }
    std::sort(keys_.begin(), keys_.end());
}

}  // namespace brevix
