#include "platform/busy_cursor.h"

namespace brevix {

// The indicator that began is the one that ends, even if the document is
// given another in between.
BusyCursor::BusyCursor(BusyIndicator* indicator) : indicator_(indicator) {
    if (indicator_) indicator_->begin();
}

BusyCursor::~BusyCursor() {
    if (indicator_) indicator_->end();
}

}  // namespace brevix
