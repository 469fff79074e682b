#pragma once
// What the commands of brevix-cli share: loading a design the way the
// program opens one, reporting errors, and the messages sink that writes
// the program's messages to standard error without ever waiting for a
// person.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "kernel/stone.h"
#include "platform/messages.h"

namespace brevix::cli {

// Writes each message's text, as UTF-8, on a line of its own; a question is
// followed by the answer it was given: always its default.
class CliSink : public MessageSink {
public:
    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;
};

// Shows what an operation of the core noted, in order, through the run's
// sink (which tells each text once per run).
void showNotes(const Diagnostics& notes);

// "scored 37 of 200, 2 failed" kept on one line of the terminal while a
// long run over many designs works; nothing when standard error is not a
// terminal, so that logs and pipes get only the results.
class ProgressLine {
public:
    ProgressLine(const char* verb, size_t total);
    void update(size_t done, size_t failed);
    void finish();

private:
    const char* verb_;
    size_t total_;
    bool shown_;
};

// "brevix-cli: <text>" on standard error.
void reportError(std::string_view text);

// Reads a .gem, .asc or .brx design through the document's own dispatch. Null
// (after saying why) when the file cannot be read or is not a design.
// A design whose reading reported problems (a warning or an error, such as
// a record it skipped) is returned as far as it was read, as the program
// would show it, and the run ends with "failed" whatever the command does
// with it. A damaged file (one cut short) gives null: nothing is written
// from part of a design.
// What the command does with the stone may still make notes (a zero index
// gear asked for indexes): they are shown when the stone goes.
struct ShowNotesAndDelete {
    void operator()(Stone* stone) const;
};
using LoadedStone = std::unique_ptr<Stone, ShowNotesAndDelete>;
// Problems of the reading are noted in `state`.
LoadedStone loadDesign(const std::string& path, RunState& state);

}  // namespace brevix::cli
