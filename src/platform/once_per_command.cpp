#include "platform/once_per_command.h"

namespace brevix {

void OncePerCommand::show(std::string_view text, Icon icon) {
    if (shown_.contains(text)) return;
    shown_.emplace(text);
    next_.show(text, icon);
}

Answer OncePerCommand::ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) {
    return next_.ask(text, buttons, icon, fallback);
}

}  // namespace brevix
