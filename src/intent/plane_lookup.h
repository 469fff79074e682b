#pragma once
// Planes found by their exact values, as Plane's == compares them (0 and -0
// alike, NaN never): matching every facet of a stone against every plane
// of an intent takes time in proportion to their sum (times a logarithm),
// not their product, which counts on designs of hundreds of facets re-cut
// for every candidate of a search. One sorted array: no allocation per plane.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "kernel/plane.h"

namespace brevix {

class PlaneLookup {
public:
    struct Entry {
        Plane plane;
        int32_t value;
    };
    // The values recorded under their planes; equal planes keep their order.
    explicit PlaneLookup(std::vector<Entry> entries);

    // Calls `f(value)` for every value recorded under a plane equal to `p`, in order.
    template <class F>
    void forEach(const Plane& p, F&& f) const {
        Key key;
        if (!keyOf(p, key)) return;
        auto it = std::lower_bound(keys_.begin(), keys_.end(), Keyed{key, 0, 0});
        for (; it != keys_.end() && it->key == key; ++it) f(it->value);
    }
    // The first value recorded under a plane equal to `p`, or -1.
    int32_t first(const Plane& p) const {
        int32_t found = -1;
        forEach(p, [&found](int32_t v) {
            if (found < 0) found = v;
        });
        return found;
    }

private:
    struct Key {
        double a, b, c, d;
        auto operator<=>(const Key&) const = default;
    };
    struct Keyed {
        Key key;
        int32_t order, value;
        bool operator<(const Keyed& o) const { return key < o.key || (key == o.key && order < o.order); }
    };
    static bool keyOf(const Plane& p, Key& key);
    std::vector<Keyed> keys_;
};

}  // namespace brevix
