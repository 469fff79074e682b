#include "platform/busy_cursor.h"

namespace brevix {

namespace {
BusyIndicator* g_indicator = nullptr;
}

BusyIndicator* setBusyIndicator(BusyIndicator* indicator) {
    BusyIndicator* previous = g_indicator;
    g_indicator = indicator;
    return previous;
}

// The indicator that began is the one that ends, even if another is
// installed in between.
BusyCursor::BusyCursor() : indicator_(g_indicator) {
    if (indicator_) indicator_->begin();
}

BusyCursor::~BusyCursor() {
    if (indicator_) indicator_->end();
}

}  // namespace brevix
