// The registry where there is none: one text file per root,
//
//   [Software\Brevix\MainWnd]
//   "Length"=dword:0000002c
//   "Folder1"="/home/ann/designs/"
//
// Every call reads the file, and every change writes it anew through a
// temporary file that replaces the old one only when it was written in full,
// so a crash or a full disk never leaves a half-written settings file.
#ifndef _WIN32

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/registry.h"

namespace brevix {

namespace {

struct Value {
    std::string name;
    bool isDword = false;
    uint32_t dword = 0;
    std::string text;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

struct Hive {
    std::vector<Key> keys;
};

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upper(x) == upper(y); });
}

// "a\\b\\" → {"a", "b"}; nothing when a part holds a line break or a bracket
// that would break the file's layout.
std::optional<std::vector<std::string>> splitKey(std::string_view key) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : key) {
        if (c == '\n' || c == '\r' || c == '[' || c == ']') return std::nullopt;
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string joinKey(const std::vector<std::string>& parts, size_t count) {
    std::string path;
    for (size_t i = 0; i < count; ++i) {
        if (i) path += '\\';
        path += parts[i];
    }
    return path;
}

std::string hivePath(RegRoot root) {
    return registryFolder() + PATH_SEPARATOR + regRootName(root) + ".ini";
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out + '"';
}

// Reads a quoted text starting at `pos`; moves `pos` past the closing quote.
std::optional<std::string> unquote(const std::string& line, size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < line.size()) {
            char e = line[++pos];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<Value> parseValue(const std::string& line) {
    size_t pos = 0;
    auto name = unquote(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') return std::nullopt;
    ++pos;
    Value value;
    value.name = *name;
    if (line.compare(pos, 6, "dword:") == 0) {
        std::string digits = line.substr(pos + 6);
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        value.isDword = true;
        value.dword = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
        return value;
    }
    auto text = unquote(line, pos);
    if (!text) return std::nullopt;
    value.text = *text;
    return value;
}

// A missing file is an empty hive; lines that make no sense are dropped.
Hive load(RegRoot root) {
    Hive hive;
    std::ifstream in(hivePath(root), std::ios::binary);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            hive.keys.push_back({line.substr(1, line.size() - 2), {}});
            current = &hive.keys.back();
        } else if (current) {
            if (auto value = parseValue(line)) current->values.push_back(std::move(*value));
        }
    }
    return hive;
}

bool save(RegRoot root, const Hive& hive) {
    if (!makeFolders(registryFolder())) return false;
    std::string target = hivePath(root);
    std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << "; Brevix settings, " << regRootName(root) << "\n";
        for (const Key& key : hive.keys) {
            out << '[' << key.path << "]\n";
            for (const Value& v : key.values) {
                out << quote(v.name) << '=';
                if (v.isDword) {
                    char digits[9];
                    std::snprintf(digits, sizeof digits, "%08x", v.dword);
                    out << "dword:" << digits << '\n';
                } else {
                    out << quote(v.text) << '\n';
                }
            }
        }
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

Key* findKey(Hive& hive, std::string_view path) {
    for (Key& key : hive.keys) {
        if (sameName(key.path, path)) return &key;
    }
    return nullptr;
}

Value* findValue(Key& key, std::string_view name) {
    for (Value& v : key.values) {
        if (sameName(v.name, name)) return &v;
    }
    return nullptr;
}

// Adds the key and its missing parents; tells whether the key itself was new.
Key* createKey(Hive& hive, const std::vector<std::string>& parts, bool& created) {
    created = false;
    Key* key = nullptr;
    for (size_t n = 1; n <= parts.size(); ++n) {
        std::string path = joinKey(parts, n);
        key = findKey(hive, path);
        if (!key) {
            hive.keys.push_back({path, {}});
            key = &hive.keys.back();
            created = true;
        }
    }
    return key;
}

std::optional<std::string> normalKey(std::string_view key) {
    auto parts = splitKey(key);
    if (!parts || parts->empty()) return std::nullopt;
    return joinKey(*parts, parts->size());
}

bool isBelow(std::string_view path, std::string_view ancestor) {
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           sameName(path.substr(0, ancestor.size()), ancestor);
}

}  // namespace

RegOpen regCreateKey(RegRoot root, std::string_view key) {
    auto parts = splitKey(key);
    if (!parts || parts->empty()) return RegOpen::Failed;
    Hive hive = load(root);
    bool created = false;
    createKey(hive, *parts, created);
    if (!created) return RegOpen::Opened;
    return save(root, hive) ? RegOpen::Created : RegOpen::Failed;
}

bool regKeyExists(RegRoot root, std::string_view key) {
    auto path = normalKey(key);
    if (!path) return false;
    Hive hive = load(root);
    return findKey(hive, *path) != nullptr;
}

bool regDeleteKey(RegRoot root, std::string_view key) {
    auto path = normalKey(key);
    if (!path) return false;
    Hive hive = load(root);
    if (!findKey(hive, *path)) return false;
    std::erase_if(hive.keys, [&](const Key& k) { return sameName(k.path, *path) || isBelow(k.path, *path); });
    return save(root, hive);
}

std::optional<uint32_t> regGetDword(RegRoot root, std::string_view key, std::string_view name) {
    auto path = normalKey(key);
    if (!path) return std::nullopt;
    Hive hive = load(root);
    Key* k = findKey(hive, *path);
    Value* v = k ? findValue(*k, name) : nullptr;
    if (!v || !v->isDword) return std::nullopt;
    return v->dword;
}

std::optional<std::string> regGetString(RegRoot root, std::string_view key, std::string_view name) {
    auto path = normalKey(key);
    if (!path) return std::nullopt;
    Hive hive = load(root);
    Key* k = findKey(hive, *path);
    Value* v = k ? findValue(*k, name) : nullptr;
    if (!v || v->isDword) return std::nullopt;
    return v->text;
}

namespace {
bool setValue(RegRoot root, std::string_view key, Value value) {
    auto parts = splitKey(key);
    if (!parts || parts->empty()) return false;
    Hive hive = load(root);
    bool created = false;
    Key* k = createKey(hive, *parts, created);
    if (Value* existing = findValue(*k, value.name)) {
        value.name = existing->name;  // the first spelling stays, as in the registry
        *existing = std::move(value);
    } else {
        k->values.push_back(std::move(value));
    }
    return save(root, hive);
}
}  // namespace

bool regSetDword(RegRoot root, std::string_view key, std::string_view name, uint32_t value) {
    return setValue(root, key, Value{std::string(name), true, value, {}});
}

bool regSetString(RegRoot root, std::string_view key, std::string_view name, std::string_view value) {
    return setValue(root, key, Value{std::string(name), false, 0, std::string(value)});
}

bool regDeleteValue(RegRoot root, std::string_view key, std::string_view name) {
    auto path = normalKey(key);
    if (!path) return false;
    Hive hive = load(root);
    Key* k = findKey(hive, *path);
    if (!k) return false;
    size_t before = k->values.size();
    std::erase_if(k->values, [&](const Value& v) { return sameName(v.name, name); });
    if (k->values.size() == before) return false;
    return save(root, hive);
}

std::vector<std::string> regValueNames(RegRoot root, std::string_view key) {
    std::vector<std::string> names;
    auto path = normalKey(key);
    if (!path) return names;
    Hive hive = load(root);
    if (Key* k = findKey(hive, *path)) {
        for (const Value& v : k->values) names.push_back(v.name);
    }
    return names;
}

std::vector<std::string> regSubkeyNames(RegRoot root, std::string_view key) {
    std::vector<std::string> names;
    auto path = normalKey(key);
    if (!path) return names;
    Hive hive = load(root);
    for (const Key& k : hive.keys) {
        if (isBelow(k.path, *path) && k.path.find('\\', path->size() + 1) == std::string::npos)
            names.push_back(k.path.substr(path->size() + 1));
    }
    return names;
}

}  // namespace brevix

#endif  // !_WIN32
