#pragma once
// The rename list that old systems work through at start-up (WinInit.Ini):
// "NUL=path" deletes a file, "target=path" moves it. Lines go right after
// the [Rename] header, which is added at the end when the file has none.
#include <string>

namespace brevix::uninstall {

// The file's text with the line for `path` added.
std::string withRenameLine(const std::string& text, const std::string& path, const std::string& target = "NUL");

// Adds the line to the file (created when missing), replacing the file only
// once the new text is written in full. False when it could not be written.
bool addToRenameList(const std::string& iniPath, const std::string& path, const std::string& target = "NUL");

}  // namespace brevix::uninstall
