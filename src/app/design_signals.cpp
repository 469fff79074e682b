#include "app/design_signals.h"

#include "document/gem_doc.h"

namespace brevix {

DesignSignals::DesignSignals(CGemDoc& doc, QObject* parent) : QObject(parent), doc_(doc) {
    doc_.onDesignChanged = [this](DesignChanges, const void* sender) { Q_EMIT designChanged(sender); };
}

DesignSignals::~DesignSignals() { doc_.onDesignChanged = nullptr; }

}  // namespace brevix
