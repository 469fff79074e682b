// db search DBF [FIELD=TEXT ...] and db extract DBF RECORD OUT.asc: the
// Datavue database search for batch work. The libraries are looked for
// beside the index, as the program's own search does.
#include <climits>
#include <cstdlib>
#include <iostream>
#include <ostream>
#include <string_view>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "files/datavue_members.h"
#include "files/datavue_messages.h"
#include "files/datavue_search.h"
#include "files/dbf_table.h"
#include "files/export_files.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

bool readIndex(DbfTable& table, const std::string& path) {
    switch (readDbf(table, path, std::cerr)) {
    case DBF_READ: return true;
    case DBF_CANNOT_OPEN:
        // Said as every command says it of a design file.
        showMessage(fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, readProblem(path)), Icon::Warning);
        return false;
    case DBF_NOT_A_TABLE: reportError(strprintf("%s is not a dBase table", path.c_str())); return false;
    default: reportError(strprintf("%s is not a complete dBase file", path.c_str())); return false;
    }
}

std::string valueOf(const DbfTable& table, int32_t record, const char* field) {
    const auto value = fieldValue(table, record, fieldIndexOf(table, field));
    return value ? std::string(*value) : std::string();
}

int runSearch(std::span<const std::string> args, std::ostream& out) {
    if (args.empty()) {
        reportError("usage: brevix-cli db search DBF [FIELD=TEXT ...]");
        return EXIT_USAGE;
    }
    struct Criterion {
        int field;
        std::string text;
    };
    std::vector<Criterion> criteria;
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t equals = args[i].find('=');
        int field = -1;
        for (int f = 0; f < DV_EDIT_COUNT && equals != std::string::npos; ++f)
            if (std::string_view(args[i]).substr(0, equals) == DATAVUE_FIELDS[f].name) field = f;
        if (field < 0) {
            reportError(strprintf("'%s' is not FIELD=TEXT with FIELD one of D_NAME, D_DESIGNER, D_CODE, D_LW, "
                                  "D_INDEX, D_FACETS, D_VERSION, D_REFERENC, D_REMARKS",
                                  args[i].c_str()));
            return EXIT_USAGE;
        }
        criteria.push_back({field, utf8ToCp1252(args[i].substr(equals + 1))});
    }
    DbfTable table;
    if (!readIndex(table, args[0])) return EXIT_FAILED;
    DbfQuery query(static_cast<size_t>(table.fieldCount));
    for (const Criterion& c : criteria) {
        const int index = fieldIndexOf(table, DATAVUE_FIELDS[c.field].name);
        if (index < 0) {
            reportError(strprintf("%s has no field %s", args[0].c_str(), DATAVUE_FIELDS[c.field].name));
            return EXIT_FAILED;
        }
        query[index] = c.text;
    }
    int matches = 0;
    // Record 0 is never shown, as in the search dialog.
    for (int32_t r = findRecord(table, query, 1, 1); r < table.recordCount; r = findRecord(table, query, r + 1, 1)) {
        out << r << '\t' << cp1252ToUtf8(valueOf(table, r, "D_CODE")) << '\t'
            << cp1252ToUtf8(valueOf(table, r, "D_NAME")) << '\t' << cp1252ToUtf8(valueOf(table, r, "D_DESIGNER"))
            << '\n';
        ++matches;
    }
    return matches > 0 ? EXIT_DONE : EXIT_FAILED;
}

int runExtract(std::span<const std::string> args, std::ostream&) {
    if (args.size() != 3) {
        reportError("usage: brevix-cli db extract DBF RECORD OUT.asc");
        return EXIT_USAGE;
    }
    char* end = nullptr;
    const long record = std::strtol(args[1].c_str(), &end, 10);
    if (args[1].empty() || *end != '\0' || record < 0 || record > INT32_MAX) {
        reportError(strprintf("'%s' is not a record number", args[1].c_str()));
        return EXIT_USAGE;
    }
    DbfTable table;
    if (!readIndex(table, args[0])) return EXIT_FAILED;
    const auto r = static_cast<int32_t>(record);
    std::optional<std::string> text;
    if (r > 0 && r < table.recordCount)
        text = designTextBytes(libraryFolderOf(args[0]), valueOf(table, r, "BMP_FILE"), valueOf(table, r, "D_CODE"));
    if (!text) {
        showMessage(dbmsg::NO_SUCH_DESIGN, Icon::Warning);
        return EXIT_FAILED;
    }
    return writeExportFile(args[2], *text, filemsg::CANNOT_OPEN_TO_WRITE, true) ? EXIT_DONE : EXIT_FAILED;
}

int runDb(std::span<const std::string> args, std::ostream& out) {
    const std::span<const std::string> rest = args.subspan(1);
    if (args[0] == "search") return runSearch(rest, out);
    if (args[0] == "extract") return runExtract(rest, out);
    reportError(strprintf("unknown db command '%s' (search or extract)", args[0].c_str()));
    return EXIT_USAGE;
}

}  // namespace

extern const Command dbCommand{"db",
                               "search DBF [FIELD=TEXT ...] | extract DBF RECORD OUT.asc",
                               "search the Datavue index; write a design's text out of its library",
                               2, runDb, 64};

}  // namespace brevix::cli
