#include "design/transforms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/tiers.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// A tilt leaves planes vertical that were not and the other way round; the
// girdle count must follow or the statistics would report stale girdles.
void recountGirdle(Stone& stone) {
    int32_t girdle = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (!stone.facets[i].isRough() && std::fabs(stone.facets[i].c) < EPS) ++girdle;
    stone.nGirdle = girdle;
}

void turnOver(Stone& stone) {
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        stone.vertices[i].x = -stone.vertices[i].x;
        stone.vertices[i].z = -stone.vertices[i].z;
    }
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        f.a = -f.a;
        f.c = -f.c;
        f.computeAxis();
    }
}

// One coordinate of a vertex or a foot point under the scaling of one axis.
struct AxisScale {
    bool both, plus, minus;
    double plusPivot, minusPivot;
};

double scaleVertex(const AxisScale& s, double v, double f) {
    if (s.both) return v * f;
    if (s.plus && v > s.plusPivot) return (v - s.plusPivot) * f + s.plusPivot;
    if (s.minus && v < s.minusPivot) return (v - s.minusPivot) * f + s.minusPivot;
    return v;
}

// Scales the foot point coordinate and the normal component together;
// tells whether the plane changed.
bool scalePlane(const AxisScale& s, double& foot, double& normal, double f) {
    if (s.both) {
        foot *= f;
    } else if (s.plus && normal > EPS) {
        foot = (foot - s.plusPivot) * f + s.plusPivot;
    } else if (s.minus && normal < -EPS) {
        foot = (foot - s.minusPivot) * f + s.minusPivot;
    } else {
        return false;
    }
    normal /= f;
    return true;
}

void stretchPart(Stone& target, bool crown, double pivot, double f) {
    for (int32_t i = 0; i < target.nVertex; ++i) {
        Vertex& v = target.vertices[i];
        if (crown ? v.z > pivot : v.z < pivot) v.z = (v.z - pivot) * f + pivot;
    }
    for (int32_t i = 0; i < target.nFacet; ++i) {
        Facet& p = target.facets[i];
        if (crown ? p.c <= EPS : p.c >= -EPS) continue;
        const double h = p.d / p.c;
        const double h2 = (h - pivot) * f + pivot;
        const double c2 = p.c / f;
        const double len = std::sqrt(p.a * p.a + p.b * p.b + c2 * c2);
        p.a /= len;
        p.b /= len;
        p.c = c2 / len;
        p.d = c2 * h2 / len;
        p.computeAxis();
    }
}

void shift(Stone& target, Vec3 t) {
    for (int32_t i = 0; i < target.nFacet; ++i) {
        Facet& f = target.facets[i];
        f.d -= dot(f.normal(), t);
    }
    for (int32_t i = 0; i < target.nVertex; ++i) {
        Vertex& v = target.vertices[i];
        v.x -= t.x;
        v.y -= t.y;
        v.z -= t.z;
    }
}

std::string letterName(int n) {
    return std::string(static_cast<size_t>((n - 1) / 26 + 1), static_cast<char>('A' + (n - 1) % 26));
}

std::string sequenceName(int style, int n, char side) {
    if (style == 1) return letterName(n);
    if (style == 2) return strprintf("%c%d", side, n);
    return strprintf("%d", n);
}

}  // namespace

void transfer(Stone& stone) {
    for (Stone* s = &stone; s; s = s->preform.get()) turnOver(*s);
}

void rotateStone(Stone& stone, int axis, double angle) {
    if (stone.nFacet == 0) return;
    if (axis < 0 || axis > 3) {
        stone.addNote(DiagKind::Warning, DiagCode::DesignTransformFailed, "Oops");
        return;
    }
    const double co = std::cos(angle), si = std::sin(angle);
    const auto turn = [&](double& x, double& y, double& z) {
        double p, q;
        switch (axis) {
        case 0:
            p = y, q = z;
            y = p * co - q * si;
            z = p * si + q * co;
            break;
        case 1:
            p = z, q = x;
            z = p * co - q * si;
            x = p * si + q * co;
            break;
        default:
            p = x, q = y;
            x = p * co - q * si;
            y = p * si + q * co;
            break;
        }
    };
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        turn(f.a, f.b, f.c);
        f.computeAxis();
    }
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        Vertex& v = stone.vertices[i];
        turn(v.x, v.y, v.z);
    }
    if (axis == 3) stone.indexOffset += stone.gear * angle / TWO_PI;
    if (axis < 2) recountGirdle(stone);
}

void scaleStone(Stone& stone, int sides, double factor) {
    const Stats& st = stone.stats;
    double f = factor;
    if (f == 0) {
        const double m = std::max({0.0, -st.minX, st.maxX, -st.minY, st.maxY, -st.minZ, st.maxZ});
        f = m == 0 ? 1 : 1 / m;
    }
    // A negative factor would turn the stone inside out.
    if (!(f > 0) || !std::isfinite(f)) return;
    const AxisScale sx{(sides & 3) == 3, (sides & 2) != 0, (sides & 1) != 0, st.xPlusMin, st.xMinusMax};
    const AxisScale sy{(sides & 12) == 12, (sides & 8) != 0, (sides & 4) != 0, st.yPlusMin, st.yMinusMax};
    const AxisScale sz{(sides & 48) == 48, (sides & 32) != 0, (sides & 16) != 0, st.crownBottom,
                       st.pavilionTop};
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        Vertex& v = stone.vertices[i];
        v.x = scaleVertex(sx, v.x, f);
        v.y = scaleVertex(sy, v.y, f);
        v.z = scaleVertex(sz, v.z, f);
    }
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& p = stone.facets[i];
        Vec3 foot = p.normal() * p.d;
        bool changed = scalePlane(sx, foot.x, p.a, f);
        changed = scalePlane(sy, foot.y, p.b, f) || changed;
        changed = scalePlane(sz, foot.z, p.c, f) || changed;
        // A plane the scaling does not touch keeps its exact bits: preform
        // planes are recognised in the design by exact equality.
        if (!changed) continue;
        const double len = length(p.normal());
        p.a /= len;
        p.b /= len;
        p.c /= len;
        p.d = dot(p.normal(), foot);
        p.computeAxis();
    }
    if ((sides & 1) && (sides & 2) && (sides & 8)) {
        stone.regenerate();
        computeBounds(stone);
    } else {
        regroupTiers(stone, false);
    }
}

void stretchHeight(Stone& stone, int side, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    const bool crown = side != -1;
    const double pivot = crown ? stone.stats.crownBottom : stone.stats.pavilionTop;
    stretchPart(stone, crown, pivot, factor);
    if (stone.preform) stretchPart(*stone.preform, crown, pivot, factor);
}

bool centerStone(Stone& stone, int axes, int mode, Vec3 point) {
    const Stats& st = stone.stats;
    Vec3 t = point;
    if (mode == CENTER_OF_MASS)
        t = {st.centroidX, st.centroidY, st.centroidZ};
    else if (mode == CENTER_OF_BOX)
        t = {(st.minX + st.maxX) / 2, (st.minY + st.maxY) / 2, (st.minZ + st.maxZ) / 2};
    if (!(axes & CENTER_X)) t.x = 0;
    if (!(axes & CENTER_Y)) t.y = 0;
    if (!(axes & CENTER_Z)) t.z = 0;
    // Every later cut and the volume take the origin to be inside the stone.
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.d - dot(f.normal(), t) <= EPS) return false;
    }
    shift(stone, t);
    if (stone.preform) {
        shift(*stone.preform, t);
        stone.preform->regenerate();
    }
    if (t.x == 0 && t.y == 0) return true;
    regroupTiers(stone, false);
    computeBounds(stone);
    scaleStone(stone, SCALE_ALL, 0);
    return true;
}

void reflectHalf(Stone& stone, int side, bool flip) {
    const double s = flip ? -1 : 1;
    Stone copy(stone);
    for (int32_t i = 0; i < stone.maxFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.makeRough(ROUGH_HALF);
    for (int32_t i = 0; i < copy.nFacet; ++i) {
        Facet& f = copy.facets[i];
        if (f.isRough()) continue;
        bool discarded = false, inward = false;
        double ia = f.a, ib = f.b;
        switch (side) {
        case 0: discarded = f.b > EPS; inward = f.b < -EPS; ia = s * f.a; ib = -f.b; break;
        case 1: discarded = f.a < -EPS; inward = f.a > EPS; ia = -f.a; ib = s * f.b; break;
        case 2: discarded = f.a > EPS; inward = f.a < -EPS; ia = -f.a; ib = s * f.b; break;
        case 3: discarded = f.b < -EPS; inward = f.b > EPS; ia = s * f.a; ib = -f.b; break;
        default: break;
        }
        if (discarded) continue;
        stone.newFacet(f.a, f.b, f.c, f.d, std::move(f.name), std::move(f.instruction));
        if (inward) stone.newFacet(ia, ib, f.c, f.d);
    }
    stone.detectSymmetry();
}

void sortCuttingOrder(Stone& stone, int order) {
    const int32_t n = stone.nFacet;
    std::vector<double> keys(n);
    for (int32_t i = 0; i < n; ++i) {
        const Facet& f = stone.facets[i];
        if (i > 0 && std::fabs(f.c - stone.facets[i - 1].c) <= EPS &&
            std::fabs(f.d - stone.facets[i - 1].d) <= EPS) {
            keys[i] = keys[i - 1];
            continue;
        }
        double alpha = stone.facetAngleOf(i);
        if (std::fabs(alpha) < 0.01) alpha = f.c >= 0 ? 0.1 : -0.1;
        static const double girdleValue[4] = {90, 0, 0, 90};
        double value;
        const int o = std::clamp(order, 0, 3);
        if (f.c < -1e-4)
            value = o == 0 ? -alpha : o == 1 ? 90 + alpha : 180 + alpha;
        else if (f.c <= 1e-4)
            value = girdleValue[o];
        else
            value = o == 0 || o == 1 ? 180 - alpha : o == 2 ? 90 - alpha : -alpha;
        keys[i] = (value + 360) * 10 + f.d;
    }
    // The keys after sorting, for grouping the tiers in the new order.
    std::vector<double> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    sortFacetsByKey(stone, keys);

    int32_t counter = -1, start = -1;
    for (int32_t i = 0; i < n; ++i) {
        Facet& f = stone.facets[i];
        if (start >= 0 && sorted[i] == sorted[start] && std::fabs(f.c - stone.facets[start].c) <= EPS &&
            std::fabs(f.d - stone.facets[start].d) <= EPS) {
            f.tier = counter;
            continue;
        }
        f.tier = ++counter;
        start = i;
    }
}

void renameInSequence(Stone& stone, int pavilionStyle, int crownStyle) {
    const Sections sections = findSections(stone);
    const std::vector<bool> inPreform = preformMatches(stone);
    int pavilion = 0, crown = 0;
    int32_t lastTier = std::numeric_limits<int32_t>::min();
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() || inPreform[static_cast<size_t>(i)] || f.tier == lastTier) continue;
        int section = f.c < -EPS ? SECTION_PAVILION : f.c > EPS ? SECTION_CROWN : sections.girdle;
        const std::string name = section == SECTION_PAVILION
                                     ? sequenceName(pavilionStyle, ++pavilion, 'P')
                                     : sequenceName(crownStyle, ++crown, 'C');
        lastTier = f.tier;
        changeTierName(stone, i, name);
    }
}

}  // namespace brevix
