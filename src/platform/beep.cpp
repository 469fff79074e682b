#include "platform/beep.h"

#include <utility>

namespace brevix {

namespace {
BeepHook& currentHook() {
    static BeepHook hook;
    return hook;
}
}  // namespace

BeepHook setBeepHook(BeepHook hook) { return std::exchange(currentHook(), std::move(hook)); }

void beep() {
    if (const BeepHook& hook = currentHook()) hook();
}

}  // namespace brevix
