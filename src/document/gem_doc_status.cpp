// The summary of the design the status bar shows.
#include "document/document_messages.h"
#include "document/gem_doc.h"
#include "platform/strformat.h"

namespace brevix {

void CGemDoc::refreshSummary() {
    ensureStone();
    refreshSummaryValues();
}

std::string CGemDoc::facetCountText() {
    if (!stone()) {
        facetCount = 0;
        lengthWidth = -1;
    }
    if (facetCount == 0) return docmsg::NO_FACETS;
    if (facetCount == 1) return docmsg::ONE_FACET;
    if (girdleCount == 0) return strprintf(docmsg::FACETS, facetCount);
    return strprintf(docmsg::FACETS_WITH_GIRDLES, facetCount - girdleCount, girdleCount, facetCount);
}

std::string CGemDoc::lengthWidthText() {
    if (!stone()) {
        facetCount = 0;
        lengthWidth = -1;
    }
    return lengthWidth > 0 ? strprintf(docmsg::LENGTH_WIDTH, lengthWidth) : std::string();
}

std::string CGemDoc::refractiveIndexText() const {
    const Stone* s = stone();
    return s && s->refractiveIndex > 0 ? strprintf(docmsg::REFRACTIVE_INDEX, s->refractiveIndex)
                                       : std::string();
}

}  // namespace brevix
