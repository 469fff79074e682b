// libFuzzer target: reading a dBase index and searching it as the Datavue
// dialog does, forward and backward, with every field value read back.
#include <cstdint>
#include <sstream>

#include "files/dbf_table.h"
#include "files/memory_input.h"
#include "fuzz_support.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryInput in(fuzz::bytes(data, size));
    DbfTable table;
    std::ostringstream notes;
    readDbf(table, in, notes);
    // Nothing read may outgrow the file: each record but the last took a byte,
    // and the values held are bytes of the file.
    if (static_cast<size_t>(table.recordCount) > size + 1 || table.values.size() > size ||
        table.values.size() != static_cast<size_t>(table.recordCount) * table.valuesLength)
        std::abort();
    for (int32_t r = 0; r < table.recordCount; ++r)
        for (int32_t f = 0; f < table.fieldCount; ++f) fieldValue(table, r, f);
    DbfQuery query(static_cast<size_t>(table.fieldCount));
    if (!query.empty()) query[size % query.size()].assign(1, 'E');
    for (int32_t r = findRecord(table, query, 1, 1); r < table.recordCount; r = findRecord(table, query, r + 1, 1)) {
    }
    findRecord(table, query, table.recordCount - 1, -1);
    return 0;
}
