#include "live/tier_names.h"

#include <algorithm>

#include "platform/strformat.h"

namespace brevix {

std::vector<int32_t> tierOfEachFacet(const Stone& stone) {
    std::vector<int32_t> tierOf(stone.nFacet, -1);
    int32_t run = -1, number = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        if (run < 0 || f.tier != number) ++run;
        number = f.tier;
        tierOf[i] = run;
    }
    return tierOf;
}

std::string tierName(const Stone& stone, const std::vector<int32_t>& tierOf, int32_t tier) {
    for (int32_t i = 0; i < stone.nFacet && i < int32_t(tierOf.size()); ++i)
        if (tierOf[i] == tier && !stone.facets[i].name.empty()) return stone.facets[i].name;
    return strprintf("tier %d", tier + 1);
}

std::string namesInWords(const std::vector<std::string>& names) {
    std::vector<std::string> once;
    for (const std::string& n : names)
        if (std::find(once.begin(), once.end(), n) == once.end()) once.push_back(n);
    std::string text;
    for (size_t k = 0; k < once.size(); ++k) {
        if (k > 0) text += k + 1 == once.size() ? " and " : ", ";
        text += once[k];
    }
    return text;
}

}  // namespace brevix
