#pragma once
// Planes found by their exact values, as Plane's == compares them (0 and -0
// alike, NaN never): matching every facet of a stone against every plane
// of an intent takes time in proportion to their sum, not their product,
// which counts on designs of hundreds of facets re-cut for every candidate
// of a search.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "kernel/plane.h"

namespace brevix {

class PlaneLookup {
public:
    // Records `value` under the plane, after any recorded before.
    void add(const Plane& p, int32_t value);
    // Every value recorded under a plane equal to `p`, in the order added;
    // null when none.
    const std::vector<int32_t>* find(const Plane& p) const;

private:
    struct Key {
        double a, b, c, d;
        bool operator==(const Key& o) const { return a == o.a && b == o.b && c == o.c && d == o.d; }
    };
    struct Hash {
        size_t operator()(const Key& k) const;
    };
    static bool keyOf(const Plane& p, Key& key);
    std::unordered_map<Key, std::vector<int32_t>, Hash> values_;
};

}  // namespace brevix
