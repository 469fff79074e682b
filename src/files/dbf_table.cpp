#include "files/dbf_table.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>

#include "files/datavue_messages.h"
#include "files/file_access.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr size_t HEADER_SIZE = 32;
constexpr size_t DESCRIPTOR_SIZE = 32;
constexpr unsigned char DESCRIPTORS_END = 0x0D;

uint32_t u32At(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t u16At(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `needle` (already in lower case) is inside `value` compared in lower case.
bool containsLower(std::string_view value, std::string_view needle) {
    if (needle.size() > value.size()) return false;
    const auto it = std::search(value.begin(), value.end(), needle.begin(), needle.end(),
                                [](char v, char n) { return lowerAscii(v) == n; });
    return it != value.end();
}

int notATable(DbfTable& table) {
    table = DbfTable{};
    return DBF_NOT_A_TABLE;
}

}  // namespace

int readDbf(DbfTable& table, std::istream& stream, std::ostream& notes) {
    table.values.clear();
    table.valuesLength = 0;
    table.fieldLengths.clear();
    table.fieldNames.clear();
    table.recordCount = table.fieldCount = 0;
    std::streambuf* in = stream.rdbuf();
    if (!in) return DBF_CANNOT_OPEN;

    unsigned char header[HEADER_SIZE];
    if (in->sgetn(reinterpret_cast<char*>(header), HEADER_SIZE) != HEADER_SIZE) return DBF_INCOMPLETE;
    const uint32_t announced = u32At(header + 4);
    const uint16_t headerLength = u16At(header + 8);
    const uint16_t recordLength = u16At(header + 10);

    // Only the first byte of the block that ends the descriptors must be
    // there: a small file may hold fewer than 31 bytes after it.
    unsigned char descriptor[DESCRIPTOR_SIZE];
    for (size_t end = HEADER_SIZE;; end += DESCRIPTOR_SIZE) {
        const int first = in->sbumpc();
        if (first == std::char_traits<char>::eof()) return DBF_INCOMPLETE;
        if (first == DESCRIPTORS_END) break;
        // The descriptors and the byte that ends them are part of the header.
        if (end + DESCRIPTOR_SIZE + 1 > headerLength) return notATable(table);
        descriptor[0] = static_cast<unsigned char>(first);
        if (in->sgetn(reinterpret_cast<char*>(descriptor + 1), DESCRIPTOR_SIZE - 1) != DESCRIPTOR_SIZE - 1)
            return DBF_INCOMPLETE;
        const char* name = reinterpret_cast<const char*>(descriptor);
        table.fieldNames.emplace_back(name, std::find(name, name + 11, '\0'));
        table.fieldLengths.push_back(descriptor[16]);
    }
    table.fieldCount = static_cast<int32_t>(table.fieldNames.size());
    // A record read is held in at most twice its bytes (a zero after each
    // field of at least one byte), so what is held follows the file's size.
    size_t widths = 1;
    for (int32_t length : table.fieldLengths) {
        if (length < 1) return notATable(table);
        widths += static_cast<size_t>(length);
    }
    if (table.fieldCount == 0 || widths != recordLength) return notATable(table);

    // The deletion byte of the first record is skipped; every later read
    // takes the next record's deletion byte at its end, so the values
    // always start the buffer.
    const size_t valuesLength = static_cast<size_t>(recordLength) - 1;
    table.valuesLength = valuesLength;
    std::vector<char> buffer(recordLength);
    int32_t read = 0;
    bool ended = recordLength == 0 ||
                 in->pubseekpos(std::streampos(headerLength) + std::streamoff(1), std::ios::in) ==
                     std::streampos(std::streamoff(-1));
    for (uint32_t r = 0; r < announced && !ended && read < INT32_MAX; ++r) {
        const std::streamsize got = in->sgetn(buffer.data(), recordLength);
        // The last record may lack the byte after it (a file without the
        // end-of-file mark): its values are all there.
        if (got < recordLength - 1 || (got == recordLength - 1 && r + 1 < announced)) {
            ended = true;
            break;
        }
        table.values.append(buffer.data(), valuesLength);
        ++read;
        if (got < recordLength) ended = true;
    }
    table.values.shrink_to_fit();
    if (ended && static_cast<uint32_t>(read) < announced) {
        notes << dbmsg::DBF_ENDED;
        notes << strprintf(dbmsg::DBF_RECORDS_READ, read, static_cast<long long>(announced));
    }
    table.recordCount = read;
    return DBF_READ;
}

int readDbf(DbfTable& table, const std::string& path, std::ostream& notes) {
    std::ifstream in;
    if (readProblem(path).empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        table = DbfTable{};
        return DBF_CANNOT_OPEN;
    }
    return readDbf(table, in, notes);
}

int readDbf(DbfTable& table, const std::string& path) { return readDbf(table, path, std::cerr); }

int fieldIndexOf(const DbfTable& table, std::string_view name) {
    for (int32_t i = 0; i < table.fieldCount; ++i)
        if (table.fieldNames[i] == name) return i;
    return -1;
}

namespace {

std::string_view trimmedField(const DbfTable& table, int32_t record, int32_t field) {
    size_t at = static_cast<size_t>(record) * table.valuesLength;
    for (int32_t i = 0; i < field; ++i) at += static_cast<size_t>(table.fieldLengths[i]);
    std::string_view value(table.values.data() + at, static_cast<size_t>(table.fieldLengths[field]));
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    return value;
}

}  // namespace

std::optional<std::string_view> fieldValue(const DbfTable& table, int32_t record, int32_t field) {
    if (record < 0 || record >= table.recordCount || field < 0 || field >= table.fieldCount) return std::nullopt;
    if (trimmedField(table, record, 0).empty()) return std::nullopt;
    return trimmedField(table, record, field);
}

int32_t findRecord(const DbfTable& table, const DbfQuery& query, int32_t start, int32_t step) {
    struct Wanted {
        int32_t field;
        std::string text;
    };
    std::vector<Wanted> wanted;
    for (size_t i = 0; i < query.size() && i < static_cast<size_t>(table.fieldCount); ++i) {
        if (query[i].empty()) continue;
        std::string lower = query[i];
        for (char& c : lower) c = lowerAscii(c);
        wanted.push_back({static_cast<int32_t>(i), std::move(lower)});
    }
    if (step == 0) step = 1;
    for (int64_t r = start; r >= 0 && r < table.recordCount; r += step) {
        bool matches = true;
        for (const Wanted& w : wanted) {
            const auto value = fieldValue(table, static_cast<int32_t>(r), w.field);
            if (!value || value->empty() || !containsLower(*value, w.text)) {
                matches = false;
                break;
            }
        }
        if (matches) return static_cast<int32_t>(r);
    }
    return table.recordCount;
}

}  // namespace brevix
