#include "platform/messages.h"

#include <cstdio>

#include "platform/text_encoding.h"

namespace brevix {

namespace {
StderrSink defaultSink;
// One per thread: a batch scores designs on several threads at once, each
// collecting the messages of its own file; a thread that installs nothing
// writes to standard error.
thread_local MessageSink* currentSink = &defaultSink;

const char* iconWord(Icon icon) {
    switch (icon) {
    case Icon::Information: return "info";
    case Icon::Warning: return "warning";
    case Icon::Error: return "error";
    case Icon::Question: return "question";
    case Icon::None: break;
    }
    return "message";
}

}  // namespace

const char* answerName(Answer answer) {
    switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Cancel: return "Cancel";
    }
    return "";
}

MessageSink* setMessageSink(MessageSink* sink) {
    MessageSink* previous = currentSink;
    currentSink = sink ? sink : &defaultSink;
    return previous == &defaultSink ? nullptr : previous;
}

MessageSink& messageSink() { return *currentSink; }

void showMessage(std::string_view text, Icon icon) { currentSink->show(text, icon); }

Answer askQuestion(std::string_view text, Buttons buttons, Icon icon, Answer fallback) {
    return currentSink->ask(text, buttons, icon, fallback);
}

void StderrSink::show(std::string_view text, Icon icon) {
    std::fprintf(stderr, "%s: %s\n", iconWord(icon), cp1252ToUtf8(text).c_str());
}

Answer StderrSink::ask(std::string_view text, Buttons, Icon, Answer fallback) {
    std::fprintf(stderr, "question: %s\n(answered %s)\n", cp1252ToUtf8(text).c_str(),
                 answerName(fallback));
    return fallback;
}

void RecordingSink::show(std::string_view text, Icon icon) {
    entries.push_back({std::string(text), icon, false, Buttons::Ok});
}

Answer RecordingSink::ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) {
    entries.push_back({std::string(text), icon, true, buttons});
    if (script.empty()) return fallback;
    Answer answer = script.front();
    script.pop_front();
    return answer;
}

std::vector<std::string> RecordingSink::texts() const {
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const Entry& e : entries) out.push_back(e.text);
    return out;
}

}  // namespace brevix
