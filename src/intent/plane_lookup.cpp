#include "intent/plane_lookup.h"

#include <bit>
#include <cmath>

namespace brevix {

namespace {

size_t mix(size_t h, double v) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    return (h ^ size_t(bits ^ (bits >> 29))) * size_t(0x100000001b3ULL);
}

}  // namespace

bool PlaneLookup::keyOf(const Plane& p, Key& key) {
    if (std::isnan(p.a) || std::isnan(p.b) || std::isnan(p.c) || std::isnan(p.d)) return false;
    // -0 equals 0: both hash as 0.
    key = {p.a == 0 ? 0.0 : p.a, p.b == 0 ? 0.0 : p.b, p.c == 0 ? 0.0 : p.c, p.d == 0 ? 0.0 : p.d};
    return true;
}

size_t PlaneLookup::Hash::operator()(const Key& k) const {
    return mix(mix(mix(mix(size_t(0xcbf29ce484222325ULL), k.a), k.b), k.c), k.d);
}

void PlaneLookup::add(const Plane& p, int32_t value) {
    Key key;
    if (keyOf(p, key)) values_[key].push_back(value);
}

const std::vector<int32_t>* PlaneLookup::find(const Plane& p) const {
    Key key;
    if (!keyOf(p, key)) return nullptr;
    const auto it = values_.find(key);
    return it == values_.end() ? nullptr : &it->second;
}

}  // namespace brevix
