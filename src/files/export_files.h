#pragma once
// The common end of every export: the text goes through a temporary file
// that replaces the target only when written completely.
#include <string>

#include "platform/diagnostics.h"

namespace brevix {

// `cannotOpen` is the format of the note when the file cannot be created;
// it and "Error writing %s. Disk full?" go to `notes` with a false return.
bool writeExportFile(const std::string& path, const std::string& bytes, const char* cannotOpen,
                     bool binary, Diagnostics& notes);

}  // namespace brevix
