#pragma once
// The Datavue index (dlist.dbf, a dBase III file): read whole into memory,
// the records' values kept as the file holds them, one block for all, and
// searched by example. What is held is no larger than the file, however
// small its records (an object per record would cost far more than a
// record of a few bytes).
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevix {

struct DbfTable {
    int32_t recordCount = 0;
    int32_t fieldCount = 0;
    std::vector<int32_t> fieldLengths;
    std::vector<std::string> fieldNames;  // up to 11 characters each
    // The records' values as in the file, without their deletion bytes:
    // record r takes `valuesLength` bytes from r * valuesLength, its fields
    // in order at the widths above.
    std::string values;
    size_t valuesLength = 0;
};

enum DbfResult : int { DBF_READ = 0, DBF_CANNOT_OPEN = 1, DBF_INCOMPLETE = 2, DBF_NOT_A_TABLE = 3 };

// Reads the whole index. Notes on a file cut short go to `notes` (standard
// error in the program). A record count or lengths that do not fit the file
// never make the reader allocate or read beyond what the file holds.
// Not a table: descriptors that run past the header, a field of no width,
// or fields that do not fill the record exactly (a dBase record is its
// deletion byte and its fields). What is held then grows with the bytes
// read, never with fields times records.
// Only regular files are opened (a pipe named dlist.dbf would never end).
int readDbf(DbfTable& table, const std::string& path, std::ostream& notes);
int readDbf(DbfTable& table, const std::string& path);
int readDbf(DbfTable& table, std::istream& in, std::ostream& notes);

// Exact, case-sensitive; -1 when there is no such field.
int fieldIndexOf(const DbfTable& table, std::string_view name);

// Nothing when the record or field is out of range, or when the record's
// first field is empty (every field of such a record reads as nothing).
std::optional<std::string_view> fieldValue(const DbfTable& table, int32_t record, int32_t field);

// One text per field; an empty text leaves its field out of the comparison.
using DbfQuery = std::vector<std::string>;

// The first record start, start + step, ... that matches the query, or the
// record count when none does. A record matches when each non-empty query
// text is contained, without regard to the case of A to Z, in a value at
// least as long as it.
int32_t findRecord(const DbfTable& table, const DbfQuery& query, int32_t start, int32_t step);

}  // namespace brevix
