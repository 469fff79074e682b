#pragma once
// One message per command: while a command runs, a text it has already
// shown is not shown again. A condition met once per facet (a zero index
// gear when every index is worked out, a preform in each of 32 nested
// preforms) then costs the user one message box, not hundreds. Questions
// are always asked: their answers may differ.
#include <set>
#include <string>
#include <string_view>

#include "platform/messages.h"

namespace brevix {

// Stands in front of the sink that shows a command's notes, for the length
// of the command: the front end (the document, the command line) shows
// through it instead of through `next`. Nothing is installed anywhere; a
// command run by a command shows through the outer command's filter (put
// one in front of it), so that a text is told once in all.
class OncePerCommand : public MessageSink {
public:
    explicit OncePerCommand(MessageSink& next) : next_(next) {}
    OncePerCommand(const OncePerCommand&) = delete;
    OncePerCommand& operator=(const OncePerCommand&) = delete;

    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;

private:
    MessageSink& next_;
    std::set<std::string, std::less<>> shown_;
};

}  // namespace brevix
