// The Datavue index: reading a 20 000-record dlist.dbf and running a
// substring search over every record, as one Find Next that finds nothing
// does (target: under 100 ms together).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "files/dbf_table.h"
#include "support/datavue_database.h"

namespace {

using namespace brevix;

constexpr int RECORDS = 20000;

std::string indexPath() {
    static const std::string path = [] {
        std::vector<std::vector<std::string>> records;
        records.reserve(RECORDS);
        const char* shapes[] = {"Square emerald", "Round brilliant", "Oval", "Pear fantasy", "Trilliant"};
        for (int i = 0; i < RECORDS; ++i) {
            char code[16], file[16];
            std::snprintf(code, sizeof code, "%02d.%04d", i % 47, i % 10000);
            std::snprintf(file, sizeof file, "BM%02d%02d.BMP", i % 100, (i / 100) % 100);
            records.push_back({std::string(shapes[i % 5]) + " " + std::to_string(i), "Designer " + std::to_string(i % 300),
                               code, "1.000", "96", "57", "1", "Volume " + std::to_string(i % 30),
                               "Remarks on design number " + std::to_string(i) + " with some more words", file});
        }
        const auto p = std::filesystem::temp_directory_path() / ("brevix-bench-dlist-" + std::to_string(::getpid()) + ".dbf");
        testdb::writeBytes(p, testdb::dbfBytes(testdb::datavueFields(), records));
        static const std::string made = p.string();
        std::atexit([] { std::filesystem::remove(made); });
        return made;
    }();
    return path;
}

void BM_ReadIndexAndSearchAll(benchmark::State& state) {
    const std::string path = indexPath();
    for (auto _ : state) {
        DbfTable table;
        std::ostringstream notes;
        readDbf(table, path, notes);
        DbfQuery query(static_cast<size_t>(table.fieldCount));
        query[fieldIndexOf(table, "D_REMARKS")] = "NUMBER 19999 WITH";
        const int32_t found = findRecord(table, query, 1, 1);
        benchmark::DoNotOptimize(found);
        if (table.recordCount != RECORDS || found != RECORDS - 1) state.SkipWithError("wrong result");
    }
    state.SetLabel("20000 records");
}
BENCHMARK(BM_ReadIndexAndSearchAll)->Unit(benchmark::kMillisecond);

void BM_SearchAll(benchmark::State& state) {
    DbfTable table;
    std::ostringstream notes;
    readDbf(table, indexPath(), notes);
    DbfQuery query(static_cast<size_t>(table.fieldCount));
    query[fieldIndexOf(table, "D_NAME")] = "EMERALD 1999";
    for (auto _ : state) {
        int count = 0;
        for (int32_t r = findRecord(table, query, 1, 1); r < table.recordCount; r = findRecord(table, query, r + 1, 1))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_SearchAll)->Unit(benchmark::kMillisecond);

}  // namespace
