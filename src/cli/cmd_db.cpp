// db search DBF [FIELD=TEXT ...] and db extract DBF RECORD OUT.asc: the
// Datavue database search for batch work. The libraries are looked for
// beside the index, as the program's own search does.
#include <climits>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <ostream>
#include <string_view>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "files/datavue_members.h"
#include "files/datavue_messages.h"
#include "files/datavue_search.h"
#include "files/dbf_table.h"
#include "files/export_files.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "platform/diag_codes.h"
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

struct SearchArguments {
    std::string dbf;
    std::vector<std::string> criteria;  // FIELD=TEXT
};

int runSearch(const SearchArguments& a, std::ostream& out) {
    struct Criterion {
        int field;
        std::string text;
    };
    std::vector<Criterion> criteria;
    for (const std::string& given : a.criteria) {
        const size_t equals = given.find('=');
        int field = -1;
        for (int f = 0; f < DV_EDIT_COUNT && equals != std::string::npos; ++f)
            if (std::string_view(given).substr(0, equals) == DATAVUE_FIELDS[f].name) field = f;
        if (field < 0)
            throw UsageError(strprintf("'%s' is not FIELD=TEXT with FIELD one of D_NAME, D_DESIGNER, D_CODE, D_LW, "
                                       "D_INDEX, D_FACETS, D_VERSION, D_REFERENC, D_REMARKS",
                                       given.c_str()));
        criteria.push_back({field, utf8ToCp1252(given.substr(equals + 1))});
    }
    DbfTable table;
    if (!readIndex(table, a.dbf)) return EXIT_FAILED;
    DbfQuery query(static_cast<size_t>(table.fieldCount));
    for (const Criterion& c : criteria) {
        const int index = fieldIndexOf(table, DATAVUE_FIELDS[c.field].name);
        if (index < 0) {
            reportError(strprintf("%s has no field %s", a.dbf.c_str(), DATAVUE_FIELDS[c.field].name));
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

struct ExtractArguments {
    std::string dbf;
    int32_t record = 0;
    std::string out;
};

int runExtract(const ExtractArguments& a, std::ostream&) {
    DbfTable table;
    if (!readIndex(table, a.dbf)) return EXIT_FAILED;
    const int32_t r = a.record;
    std::optional<std::string> text;
    Diagnostics notes;
    if (r > 0 && r < table.recordCount)
        text = designTextBytes(libraryFolderOf(a.dbf), valueOf(table, r, "BMP_FILE"), valueOf(table, r, "D_CODE"),
                               notes);
    if (!text) notes.warning(DiagCode::FileDatabaseNoSuchDesign, dbmsg::NO_SUCH_DESIGN);
    else if (writeExportFile(a.out, *text, filemsg::CANNOT_OPEN_TO_WRITE, true, notes)) {
        showNotes(notes);
        return EXIT_DONE;
    }
    showNotes(notes);
    return EXIT_FAILED;
}

Run defineDb(CLI::App& app) {
    app.require_subcommand(1);
    CLI::App* search = app.add_subcommand("search", "the records of the index that match every FIELD=TEXT: "
                                                    "record, code, name and designer of each on a line");
    setUsage(*search, "brevix-cli db search DBF [FIELD=TEXT ...]");
    auto s = std::make_shared<SearchArguments>();
    addFile(*search, "DBF", "the Datavue index (dlist.dbf)", s->dbf);
    search->add_option("CRITERIA", s->criteria,
                       "FIELD=TEXT: records whose FIELD (D_NAME, D_DESIGNER, D_CODE, D_LW, D_INDEX, D_FACETS, "
                       "D_VERSION, D_REFERENC, D_REMARKS) holds TEXT in any case")
        ->type_name("FIELD=TEXT ...");

    CLI::App* extract = app.add_subcommand("extract", "write a record's design out of its library as a text design");
    setUsage(*extract, "brevix-cli db extract DBF RECORD OUT.asc");
    auto e = std::make_shared<ExtractArguments>();
    addFile(*extract, "DBF", "the Datavue index (dlist.dbf)", e->dbf);
    extract
        ->add_option_function<std::string>(
            "RECORD",
            [e](const std::string& text) {
                char* end = nullptr;
                const long record = std::strtol(text.c_str(), &end, 10);
                if (text.empty() || *end != '\0' || record < 0 || record > INT32_MAX)
                    throw UsageError(strprintf("'%s' is not a record number", text.c_str()));
                e->record = static_cast<int32_t>(record);
            },
            "the record's number, as db search prints it")
        ->required()
        ->type_name("");
    addFile(*extract, "OUT.asc", "the text design to write", e->out);

    return [search, s, e](std::ostream& out, RunState&) { return search->parsed() ? runSearch(*s, out) : runExtract(*e, out); };
}

}  // namespace

extern const Command dbCommand{"db", "search DBF [FIELD=TEXT ...] | extract DBF RECORD OUT.asc",
                               "search the Datavue index; write a design's text out of its library", defineDb};

}  // namespace brevix::cli
