#pragma once
// The common end of every export: the text goes through a temporary file
// that replaces the target only when written completely.
#include <string>

namespace brevix {

// `cannotOpen` is the format of the message when the file cannot be created.
bool writeExportFile(const std::string& path, const std::string& bytes, const char* cannotOpen,
                     bool binary);

}  // namespace brevix
