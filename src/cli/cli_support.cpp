#include "cli/cli_support.h"

#include <cstdio>

#include "document/design_io.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {
bool readProblems = false;

// Passes every message on and notes whether any of them was a problem.
class ProblemCounter : public MessageSink {
public:
    explicit ProblemCounter(MessageSink& inner) : inner_(inner) {}
    void show(std::string_view text, Icon icon) override {
        // The kernel's notes on short edges and close vertices are about the
        // geometry of a design that read whole, not problems of the file.
        const bool kernelNote = text.starts_with("Internal warning:");
        problems += !kernelNote && (icon == Icon::Warning || icon == Icon::Error);
        inner_.show(text, icon);
    }
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override {
        return inner_.ask(text, buttons, icon, fallback);
    }
    int problems = 0;

private:
    MessageSink& inner_;
};

}  // namespace

void CliSink::show(std::string_view text, Icon) {
    std::fprintf(stderr, "%s\n", cp1252ToUtf8(text).c_str());
}

Answer CliSink::ask(std::string_view text, Buttons, Icon, Answer fallback) {
    std::fprintf(stderr, "%s\n(answered %s)\n", cp1252ToUtf8(text).c_str(), answerName(fallback));
    return fallback;
}

void reportError(std::string_view text) {
    std::fprintf(stderr, "brevix-cli: %s\n", std::string(text).c_str());
}

std::unique_ptr<Stone> loadDesign(const std::string& path) {
    const FileType type = fileTypeOf(path);
    if (type != FileType::Gem && type != FileType::Asc) {
        reportError(strprintf("%s: not a design file (.gem or .asc)", path.c_str()));
        return nullptr;
    }
    // A new design starts 8-fold with mirror image, as in the program.
    ProblemCounter counter(messageSink());
    DesignRead read;
    {
        ScopedMessageSink guard(counter);
        read = readDesignFile(path, type, 8, 1);
    }
    if (counter.problems > 0) readProblems = true;
    // The reader has said why ("Cannot open …", "Corrupt … file: …").
    // A file cut short is only part of a design: nothing is made from it.
    if (read.outcome != ReadOutcome::Read || read.damaged) return nullptr;
    return std::move(read.stone);
}

bool readProblemsReported() { return readProblems; }

}  // namespace brevix::cli
