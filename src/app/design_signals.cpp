#include "app/design_signals.h"

#include "document/gem_doc.h"

namespace brevix {

DesignSignals::DesignSignals(CGemDoc& doc, QObject* parent) : QObject(parent), doc_(doc) {
    doc_.onUpdateAllViews = [this](const void* sender) { Q_EMIT designChanged(sender); };
}

DesignSignals::~DesignSignals() { doc_.onUpdateAllViews = nullptr; }

}  // namespace brevix
