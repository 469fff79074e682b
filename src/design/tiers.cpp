#include "design/tiers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <utility>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

namespace {
const std::string kNone;

bool valid(const Stone& stone, int32_t i) { return i >= 0 && i < stone.nFacet; }

void markAndRebuild(Stone& stone, const std::vector<int32_t>& doomed) {
    for (int32_t i : doomed) stone.facets[i].status = ST_DELETE;
    stone.rebuildWithout();
}
}  // namespace

int32_t firstFacetOfTier(const Stone& stone, int32_t i) {
    if (!valid(stone, i)) return -1;
    const int32_t tier = stone.facets[i].tier;
    for (int32_t j = 0; j < stone.nFacet; ++j)
        if (stone.facets[j].tier == tier) return j;
    return -1;
}

const std::string& tierInstruction(const Stone& stone, int32_t i, int32_t* holder) {
    if (holder) *holder = -1;
    if (!valid(stone, i)) return kNone;
    const int32_t tier = stone.facets[i].tier;
    for (int32_t j = 0; j < stone.nFacet; ++j)
        if (stone.facets[j].tier == tier && !stone.facets[j].instruction.empty()) {
            if (holder) *holder = j;
            return stone.facets[j].instruction;
        }
    return kNone;
}

std::string tierName(const Stone& stone, int32_t i, double* index) {
    if (!valid(stone, i)) return {};
    const int32_t tier = stone.facets[i].tier;
    for (int32_t j = 0; j < stone.nFacet; ++j)
        if (stone.facets[j].tier == tier && !stone.facets[j].name.empty()) {
            if (index) *index = stone.facetIndexOf(j);
            return stone.facets[j].name;
        }
    return {};
}

int32_t nearestInTier(const Stone& stone, int32_t i, double index) {
    if (!valid(stone, i)) return i;
    const int32_t tier = stone.facets[i].tier;
    int32_t best = i;
    double distance = 1e10;
    for (int32_t j = i; j < stone.nFacet && stone.facets[j].tier == tier; ++j) {
        const double d = std::fabs(stone.facetIndexOf(j) - index);
        if (d < distance) {
            distance = d;
            best = j;
        }
    }
    return best;
}

void changeTierName(Stone& stone, int32_t i, std::string_view text) {
    const int32_t first = firstFacetOfTier(stone, i);
    if (first < 0) {
        stone.addNote(DiagKind::Warning, DiagCode::DesignTierNotFound, "tier not found in changeTierName()");
        return;
    }
    const int32_t tier = stone.facets[first].tier;
    bool anyNamed = false;
    for (int32_t j = first; j < stone.nFacet && stone.facets[j].tier == tier; ++j)
        if (!stone.facets[j].name.empty()) {
            stone.facets[j].name = text;
            anyNamed = true;
        }
    if (anyNamed) return;

    const double notches = std::abs(stone.gear);
    int32_t chosen = -1;
    double lowest = 1e10;
    for (int32_t j = first; j < stone.nFacet && stone.facets[j].tier == tier; ++j) {
        const Facet& f = stone.facets[j];
        if (f.isRough()) continue;
        Diagnostics said;
        double shown = stone.facetIndexOf(j, said);
        stone.addNotes(std::move(said));
        if (f.c < EPS) shown = stone.gear - shown;
        if (std::fabs(shown - notches) < 0.001) shown = 0;
        if (shown < lowest) {
            lowest = shown;
            chosen = j;
        }
    }
    if (chosen >= 0) stone.facets[chosen].name = text;
}

void setTierInstruction(Stone& stone, int32_t i, std::string_view text) {
    if (valid(stone, i)) stone.setInstruction(i, text);
}

void deleteTier(Stone& stone, int32_t tier) {
    std::vector<int32_t> doomed;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facets[i].tier == tier) doomed.push_back(i);
    markAndRebuild(stone, doomed);
}

void deleteFacet(Stone& stone, int32_t i) {
    if (!valid(stone, i)) return;
    markAndRebuild(stone, {i});
}

void deleteEqualInTier(Stone& stone, int32_t tier, int32_t i) {
    if (!valid(stone, i)) return;
    const double area = stone.facetArea(i);
    std::vector<int32_t> doomed;
    for (int32_t j = 0; j < stone.nFacet; ++j)
        if (stone.facets[j].tier == tier && std::fabs(stone.facetArea(j) - area) < 1e-5)
            doomed.push_back(j);
    markAndRebuild(stone, doomed);
}

void sortFacetsByKey(Stone& stone, std::vector<double> keys, int32_t from) {
    const int32_t n = stone.nFacet;
    std::vector<int32_t> order(n);  // order[p] = original index now at p
    std::iota(order.begin(), order.end(), 0);
    for (int32_t p = std::max(from, 0); p < n - 1; ++p)
        for (int32_t q = p + 1; q < n; ++q)
            if (keys[p] > keys[q]) {
                std::swap(keys[p], keys[q]);
                std::swap(order[p], order[q]);
            }
    std::vector<int32_t> where(n);
    for (int32_t p = 0; p < n; ++p) where[order[p]] = p;
    std::vector<Facet> moved(n);
    for (int32_t p = 0; p < n; ++p) moved[p] = std::move(stone.facets[order[p]]);
    for (int32_t p = 0; p < n; ++p) stone.facets[p] = std::move(moved[p]);
    for (int32_t j = 0; j < stone.nEdge; ++j)
        for (int k = 0; k < 2; ++k) stone.edges[j].f[k] = where[stone.edges[j].f[k]];
}

namespace {
std::vector<double> tierKeys(const Stone& stone) {
    std::vector<double> keys(stone.nFacet);
    for (int32_t i = 0; i < stone.nFacet; ++i) keys[i] = stone.facets[i].tier;
    return keys;
}

bool near(double p, double q) { return std::fabs(p - q) <= EPS; }
}  // namespace

void regroupTiers(Stone& stone, bool strict) {
    stone.detectSymmetry();
    for (int32_t i = 0; i < stone.nFacet; ++i) stone.facets[i].tier = -1;
    if (stone.nFacet < 2) return;
    int32_t next = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& fi = stone.facets[i];
        if (fi.tier != -1) continue;
        fi.tier = next++;
        for (int32_t j = i + 1; j < stone.nFacet; ++j) {
            Facet& fj = stone.facets[j];
            if (fj.tier != -1 || !near(fi.c, fj.c) || !near(fi.d, fj.d)) continue;
            if (strict) {
                bool image = true;
                if (stone.mirror == 1 && stone.symmetry == 2)
                    image = near(std::fabs(fj.a), std::fabs(fi.a)) && near(std::fabs(fj.b), std::fabs(fi.b));
                else if (stone.mirror == 1)
                    image = near(fj.b, fi.b) && near(fj.a, -fi.a);
                else if (stone.symmetry == 2)
                    image = near(fj.a, -fi.a) && near(fj.b, -fi.b);
                if (!image) continue;
            }
            fj.tier = fi.tier;
        }
    }
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facets[i].tier < 0 || stone.facets[i].tier >= next)
            stone.addNote(DiagKind::Warning, DiagCode::DesignTierOutOfRange, "tier out of range");
    sortFacetsByKey(stone, tierKeys(stone));
}

void moveTier(Stone& stone, int32_t i, bool down) {
    if (!valid(stone, i)) return;
    int32_t counter = 0;
    int32_t previous = std::numeric_limits<int32_t>::min();
    for (int32_t j = 0; j < stone.nFacet; ++j) {
        Facet& f = stone.facets[j];
        if (j == 0 || f.tier != previous) ++counter;
        previous = f.tier;
        f.tier = counter;
    }
    const int32_t tier = stone.facets[i].tier;
    int32_t j = i;
    const int step = down ? 1 : -1;
    while (j >= 0 && j < stone.nFacet && stone.facets[j].tier == tier) j += step;
    if (j < 0 || j >= stone.nFacet) return;
    const int32_t other = stone.facets[j].tier;
    for (int32_t k = 0; k < stone.nFacet; ++k) {
        Facet& f = stone.facets[k];
        if (f.tier == tier)
            f.tier = other;
        else if (f.tier == other)
            f.tier = tier;
    }
    sortFacetsByKey(stone, tierKeys(stone));
}

void moveFacets(Stone& stone, int32_t from, int32_t to) {
    // Any other pair would give two facets the same place and tear the edges
    // from their facets.
    if (to < 0 || from <= to || from >= stone.nFacet) return;
    const int32_t n = stone.nFacet;
    std::vector<double> keys(n);
    for (int32_t p = 0; p < to; ++p) keys[p] = p;
    int32_t next = to;
    for (int32_t p = from; p < n; ++p) keys[p] = next++;
    for (int32_t p = to; p < from; ++p) keys[p] = next++;
    sortFacetsByKey(stone, keys, to);
    for (int32_t p = 0; p < n; ++p) stone.facets[p].anchor = -1;
}

}  // namespace brevix
