#pragma once
// How the front ends talk to the user: a message with an icon, or a
// question with a fixed set of buttons. The GUI shows through a sink built
// on message boxes, the command line through one that writes to standard
// error, and tests through a recorder with scripted answers. The core never
// shows anything itself: it returns its notes (platform/diagnostics.h) and
// the document and the front ends show them through the sinks they own.
//
// Texts are in the core's single-byte code page (Windows-1252); a sink that
// shows them converts at its own boundary.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace brevix {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(std::string_view text, Icon icon) = 0;
    // `fallback` is what a sink that cannot ask answers.
    virtual Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) = 0;
};

// The front ends' sink for the calling thread (the window's message boxes,
// brevix-cli's standard error, a test's recorder); nothing in the core uses
// it. Installs `sink` (null restores the standard-error sink) and returns
// the previous one. Each thread starts with the standard-error sink.
MessageSink* setMessageSink(MessageSink* sink);
MessageSink& messageSink();

// "OK", "Yes", "No", "Cancel": how a batch run reports the answer it took.
const char* answerName(Answer answer);

void showMessage(std::string_view text, Icon icon = Icon::Warning);
Answer askQuestion(std::string_view text, Buttons buttons, Icon icon = Icon::Question,
                   Answer fallback = Answer::Yes);

// Writes every message to standard error as UTF-8; questions take their fallback.
class StderrSink : public MessageSink {
public:
    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;
};

// Keeps everything it is told; answers questions from a script, in order,
// and with the fallback once the script is used up.
class RecordingSink : public MessageSink {
public:
    struct Entry {
        std::string text;
        Icon icon;
        bool question;
        Buttons buttons;
    };
    std::vector<Entry> entries;
    std::deque<Answer> script;

    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;

    std::vector<std::string> texts() const;
    void clear() { entries.clear(); }
};

// Installs a sink for the lifetime of the guard (tests, batch runs).
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink) : previous_(setMessageSink(&sink)) {}
    ~ScopedMessageSink() { setMessageSink(previous_); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* previous_;
};

}  // namespace brevix
