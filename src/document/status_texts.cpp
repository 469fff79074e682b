#include "document/status_texts.h"

#include "document/document_messages.h"
#include "document/gem_doc.h"
#include "platform/strformat.h"

namespace brevix {

std::string facetCountText(const CGemDoc& doc) {
    // Without a stone the cached counts say nothing.
    const int32_t facets = doc.stone() ? doc.facetCount : 0;
    if (facets == 0) return docmsg::NO_FACETS;
    if (facets == 1) return docmsg::ONE_FACET;
    if (doc.girdleCount == 0) return strprintf(docmsg::FACETS, facets);
    return strprintf(docmsg::FACETS_WITH_GIRDLES, facets - doc.girdleCount, doc.girdleCount, facets);
}

std::string lengthWidthText(const CGemDoc& doc) {
    return doc.stone() && doc.lengthWidth > 0 ? strprintf(docmsg::LENGTH_WIDTH, doc.lengthWidth) : std::string();
}

std::string refractiveIndexText(const CGemDoc& doc) {
    const Stone* s = doc.stone();
    return s && s->refractiveIndex > 0 ? strprintf(docmsg::REFRACTIVE_INDEX, s->refractiveIndex)
                                       : std::string();
}

}  // namespace brevix
