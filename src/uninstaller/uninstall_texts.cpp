#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

const char* const PHASE_LABELS[PHASE_COUNT] = {
    "Shared program files...", "Standard program files...", "Folder items...",
    "Program folders...",      "Program directories...",    "Program registry entries...",
};

std::string replaceFirst(std::string text, std::string_view marker, std::string_view with) {
    size_t at = text.find(marker);
    if (at != std::string::npos) text.replace(at, marker.size(), with);
    return text;
}

std::string fillIn(std::string text, std::string_view first, std::string_view second) {
    // Both places are found in the text as given, so a file name that holds
    // "%2" itself is never taken for the second place.
    const size_t at1 = text.find("%1");
    const size_t at2 = text.find("%2");
    // The later place is filled first so the earlier one keeps its position.
    if (at1 != std::string::npos && (at2 == std::string::npos || at1 > at2)) {
        text.replace(at1, 2, first);
        if (at2 != std::string::npos) text.replace(at2, 2, second);
    } else if (at2 != std::string::npos) {
        text.replace(at2, 2, second);
        if (at1 != std::string::npos) text.replace(at1, 2, first);
    }
    return text;
}

std::string errorDetailsText(const std::vector<std::string>& errors) {
    std::string text;
    for (const std::string& line : errors) text += line + "\r\n";
    return text;
}

}  // namespace brevix::uninstall
