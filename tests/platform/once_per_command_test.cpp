// One message per command: repeats within a command are dropped, questions
// are always asked, and the sink in place before the command comes back.
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/once_per_command.h"

namespace brevix {
namespace {

TEST(OncePerCommand, EachTextOncePerCommandQuestionsAlwaysAndTheSinkRestored) {
    RecordingSink sink;
    ScopedMessageSink guard(sink);
    {
        OncePerCommand command;
        for (int facet = 0; facet < 146; ++facet) showMessage("Zero index gear", Icon::Warning);
        showMessage("File has a preform", Icon::Information);
        sink.script = {Answer::No, Answer::Yes};
        EXPECT_EQ(askQuestion("Keep cut off facets as preform?", Buttons::YesNoCancel), Answer::No);
        EXPECT_EQ(askQuestion("Keep cut off facets as preform?", Buttons::YesNoCancel), Answer::Yes);
        {
            OncePerCommand nested;  // a command run by a command: still once in all
            showMessage("Zero index gear", Icon::Warning);
            showMessage("File has a preform", Icon::Information);
        }
    }
    EXPECT_EQ(&messageSink(), &sink);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Zero index gear", "File has a preform",
                                                      "Keep cut off facets as preform?",
                                                      "Keep cut off facets as preform?"}));
    // The next command tells it again.
    OncePerCommand next;
    showMessage("Zero index gear", Icon::Warning);
    EXPECT_EQ(sink.texts().size(), 5u);
}

}  // namespace
}  // namespace brevix
