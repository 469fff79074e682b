#include "uninstaller/install_log.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "uninstaller/app_exception.h"

namespace brevix::uninstall {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameNameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    text = buffer.str();
    return true;
}

// The line ending at `end` (exclusive of its line break) without the CR.
std::string_view lineText(std::string_view text, size_t begin, size_t end) {
    std::string_view line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

void InstallLog::open(const std::string& directory, const std::string& fileName) {
    const std::string path = directory + fileName;
    std::string text;
    if (readWhole(path, text)) {
        load(text);
        return;
    }
    const int error = errno;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(directory.empty() ? "." : directory, ec)) {
        const std::string name = item.path().filename().string();
        if (sameNameNoCase(name, fileName) && readWhole(directory + name, text)) {
            load(text);
            return;
        }
    }
    throw FileException(path, error);
}

void InstallLog::load(std::string_view text) {
    text_.clear();
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = lineText(text, begin, end);
        if (line.size() >= 3 && line.front() != ';') {
            text_ += line;
            text_ += "\r\n";
        }
        begin = next;
    }
}

size_t InstallLog::sectionStart(std::string_view name) const {
    const std::string header = "[" + std::string(name) + "]";
    size_t at = text_.find(header);
    if (at == std::string::npos) return std::string::npos;
    size_t lineEnd = text_.find('\n', at);
    return lineEnd == std::string::npos ? text_.size() : lineEnd + 1;
}

bool InstallLog::entry(std::string_view name, int index, std::string& line) const {
    line.clear();
    if (index < 0) return false;
    size_t at = sectionStart(name);
    if (at == std::string::npos) return false;
    for (int i = 0; at < text_.size() && text_[at] != '['; ++i) {
        size_t end = text_.find('\n', at);
        const size_t next = end == std::string::npos ? text_.size() : end + 1;
        if (end == std::string::npos) end = text_.size();
        if (i == index) {
            line = std::string(lineText(text_, at, end));
            return true;
        }
        at = next;
    }
    return false;
}

std::string InstallLog::entry(std::string_view name, int index) const {
    std::string line;
    entry(name, index, line);
    return line;
}

int InstallLog::sectionCount(std::string_view name) const {
    size_t at = sectionStart(name);
    if (at == std::string::npos) return 0;
    int count = 0;
    while (at < text_.size() && text_[at] != '[') {
        ++count;
        size_t end = text_.find('\n', at);
        at = end == std::string::npos ? text_.size() : end + 1;
    }
    return count;
}

std::string InstallLog::value(std::string_view section, std::string_view key) const {
    std::string line;
    for (int i = 0; entry(section, i, line); ++i) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && std::string_view(line).substr(0, eq) == key) return line.substr(eq + 1);
    }
    return {};
}

}  // namespace brevix::uninstall
