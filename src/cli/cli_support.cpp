#include "cli/cli_support.h"

#include <unistd.h>

#include <cstdio>

#include "document/design_io.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

void CliSink::show(std::string_view text, Icon) {
    std::fprintf(stderr, "%s\n", cp1252ToUtf8(text).c_str());
}

Answer CliSink::ask(std::string_view text, Buttons, Icon, Answer fallback) {
    std::fprintf(stderr, "%s\n(answered %s)\n", cp1252ToUtf8(text).c_str(), answerName(fallback));
    return fallback;
}

void showNotes(const Diagnostics& notes) { showAll(notes, messageSink()); }

void reportError(std::string_view text) {
    std::fprintf(stderr, "brevix-cli: %s\n", std::string(text).c_str());
}

void ShowNotesAndDelete::operator()(Stone* stone) const {
    showNotes(stone->takeDiagnostics());
    delete stone;
}

LoadedStone loadDesign(const std::string& path, RunState& state) {
    const FileType type = fileTypeOf(path);
    if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) {
        reportError(strprintf("%s: not a design file (.gem, .asc or .brx)", path.c_str()));
        return nullptr;
    }
    // A new design starts 8-fold with mirror image, as in the program.
    DesignRead read = readDesignFile(path, type, 8, 1);
    showNotes(read.notes);
    // The kernel's notes on short edges and close vertices are about the
    // geometry of a design that read whole, not problems of the file.
    if (read.notes.hasProblems() || read.problems) state.readProblems = true;
    // The reader has said why ("Cannot open …", "Corrupt … file: …").
    // A file cut short is only part of a design: nothing is made from it.
    if (read.outcome != ReadOutcome::Read || read.damaged) return nullptr;
    return LoadedStone(read.stone.release());
}

ProgressLine::ProgressLine(const char* verb, size_t total)
    : verb_(verb), total_(total), shown_(::isatty(STDERR_FILENO) != 0) {}

void ProgressLine::update(size_t done, size_t failed) {
    if (!shown_) return;
    std::fprintf(stderr, "\r%s %zu of %zu, %zu failed", verb_, done, total_, failed);
    std::fflush(stderr);
}

void ProgressLine::finish() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
}

}  // namespace brevix::cli
