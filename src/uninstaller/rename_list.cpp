#include "uninstaller/rename_list.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace brevix::uninstall {

std::string withRenameLine(const std::string& text, const std::string& path, const std::string& target) {
    static const std::string header = "[Rename]\r\n";
    const std::string line = target + "=" + path + "\r\n";
    std::string result = text;
    const size_t at = result.find(header);
    if (at != std::string::npos) {
        result.insert(at + header.size(), line);
    } else {
        result += header;
        result += line;
    }
    return result;
}

bool addToRenameList(const std::string& iniPath, const std::string& path, const std::string& target) {
    std::string text;
    {
        std::ifstream in(iniPath, std::ios::binary);
        if (in) {
            std::ostringstream buffer;
            buffer << in.rdbuf();
            text = buffer.str();
        }
    }
    const std::string temporary = iniPath + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << withRenameLine(text, path, target);
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), iniPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace brevix::uninstall
