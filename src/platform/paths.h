#pragma once
// The few facts about the file system the core needs: which character
// separates folders, where the user's settings live, whether a file is there.
#include <string>
#include <string_view>

namespace brevix {

#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = '\\';
#else
inline constexpr char PATH_SEPARATOR = '/';
#endif

// Paths in the core are the file system's own strings (UTF-8 here, the ANSI
// code page on Windows), never converted to the design's Windows-1252: a
// path converted so would no longer name its file. Messages, which are
// Windows-1252, take a path through pathForMessage.
std::string pathForMessage(const std::string& path);

// On Windows both slashes separate folders; elsewhere only '/'.
bool isPathSeparator(char c);
// Position of the last separator, or npos.
size_t lastPathSeparator(std::string_view path);
// The extension after the last dot of the file name part, without the dot;
// empty when the name has none.
std::string fileExtension(std::string_view path);

// The folder for this program's settings: %APPDATA%\Brevix on Windows,
// $XDG_CONFIG_HOME/Brevix or ~/.config/Brevix elsewhere. Not created here.
std::string userConfigFolder();

// Whether two paths name the same file as the file system compares names:
// without regard to case on Windows, byte for byte elsewhere.
bool samePath(const std::string& a, const std::string& b);

bool fileExists(const std::string& path);

// Creates the folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder);

}  // namespace brevix
