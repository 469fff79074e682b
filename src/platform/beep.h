#pragma once
// The short warning sound of a mouse action that found nothing to act on (a
// ray that misses the stone). The GUI installs the toolkit's beep; the core,
// the command line and the tests keep the silent default or count the beeps.
#include <functional>

namespace brevix {

using BeepHook = std::function<void()>;

// Installs `hook` (empty: silence) and returns the previous one.
BeepHook setBeepHook(BeepHook hook);
void beep();

}  // namespace brevix
