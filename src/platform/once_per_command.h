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

// Installs itself over the current sink for its lifetime; nested commands
// share the outer command's record through the sinks they pass on to.
class OncePerCommand : public MessageSink {
public:
    OncePerCommand();
    ~OncePerCommand() override;
    OncePerCommand(const OncePerCommand&) = delete;
    OncePerCommand& operator=(const OncePerCommand&) = delete;

    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;

private:
    MessageSink& next_;
    MessageSink* previous_;
    std::set<std::string, std::less<>> shown_;
};

}  // namespace brevix
