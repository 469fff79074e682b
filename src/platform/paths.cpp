#include "platform/paths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text_encoding.h"

namespace brevix {

std::string pathForMessage(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    return utf8ToCp1252(path);
#endif
}

bool isPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

size_t lastPathSeparator(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;) {
        if (isPathSeparator(path[i])) return i;
    }
    return std::string_view::npos;
}

std::string fileExtension(std::string_view path) {
    size_t sep = lastPathSeparator(path);
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return std::string(name.substr(dot + 1));
}

std::string userConfigFolder() {
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"); appData && *appData)
        return std::string(appData) + "\\Brevix";
    return "Brevix";
#else
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/Brevix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config/Brevix";
    return ".brevix";
#endif
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool makeFolders(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

bool samePath(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
#else
    return a == b;
#endif
}

}  // namespace brevix
