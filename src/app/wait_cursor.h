#pragma once
// The core's busy guard shown as the wait cursor over the whole program.
#include "platform/busy_cursor.h"

namespace brevix {

class WaitCursorIndicator : public BusyIndicator {
public:
    void begin() override;
    void end() override;
};

}  // namespace brevix
