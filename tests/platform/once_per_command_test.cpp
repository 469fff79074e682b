// One message per command: repeats within a command are dropped, also when
// a command runs a command; questions are always asked; the next command
// tells everything again.
#include <gtest/gtest.h>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "platform/once_per_command.h"

namespace brevix {
namespace {

TEST(OncePerCommand, EachTextOncePerCommandQuestionsAlways) {
    RecordingSink sink;
    {
        OncePerCommand command(sink);
        Diagnostics notes;
        for (int facet = 0; facet < 146; ++facet) notes.warning(DiagCode::KernelZeroGear, "Zero index gear");
        notes.info(DiagCode::FileGemHasPreform, "File has a preform");
        showAll(notes, command);
        sink.script = {Answer::No, Answer::Yes};
        EXPECT_EQ(command.ask("Keep cut off facets as preform?", Buttons::YesNoCancel, Icon::Question, Answer::Yes),
                  Answer::No);
        EXPECT_EQ(command.ask("Keep cut off facets as preform?", Buttons::YesNoCancel, Icon::Question, Answer::Yes),
                  Answer::Yes);
        {
            MessageSink& outer = command;
            OncePerCommand nested(outer);  // a command run by a command: still once in all
            nested.show("Zero index gear", Icon::Warning);
            nested.show("File has a preform", Icon::Information);
            nested.show("Only in the nested command", Icon::Information);
        }
        command.show("Only in the nested command", Icon::Information);
    }
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Zero index gear", "File has a preform",
                                                      "Keep cut off facets as preform?",
                                                      "Keep cut off facets as preform?",
                                                      "Only in the nested command"}));
    EXPECT_EQ(sink.entries[0].icon, Icon::Warning);
    EXPECT_EQ(sink.entries[1].icon, Icon::Information);
    // The next command tells it again.
    OncePerCommand next(sink);
    next.show("Zero index gear", Icon::Warning);
    EXPECT_EQ(sink.texts().size(), 6u);
}

}  // namespace
}  // namespace brevix
