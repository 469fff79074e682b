#include <gtest/gtest.h>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {
namespace {

// A batch run counts a file's warnings and errors as problems, and a broken
// polyhedron, but not the kernel's warnings on short edges and close
// vertices; the window shows all of them with their icons.
TEST(Diagnostics, KindsDecideIconAndWhatCountsAsAProblem) {
    Diagnostics notes;
    notes.add(DiagKind::InternalWarning, DiagCode::KernelBadEdge, "Internal warning: Bad edge");
    notes.info(DiagCode::FileGemHasPreform, "File has a preform");
    EXPECT_FALSE(notes.hasProblems());
    EXPECT_FALSE(notes.hasErrors());
    notes.add(DiagKind::InternalError, DiagCode::KernelEulerFailed, "Internal error: flunked");
    EXPECT_TRUE(notes.hasProblems());
    EXPECT_TRUE(notes.hasErrors());
    notes.warning(DiagCode::FileGearOutOfRange, "Gear out of range");
    EXPECT_TRUE(notes.hasProblems());
    Diagnostics warned;
    warned.warning(DiagCode::FileGearOutOfRange, "Gear out of range");
    EXPECT_TRUE(warned.hasProblems());
    EXPECT_FALSE(warned.hasErrors());

    RecordingSink sink;
    showAll(notes, sink);
    ASSERT_EQ(sink.entries.size(), 4u);
    EXPECT_EQ(sink.entries[0].icon, Icon::Warning);
    EXPECT_EQ(sink.entries[1].icon, Icon::Information);
    EXPECT_EQ(sink.entries[2].icon, Icon::Error);
    EXPECT_EQ(sink.entries[3].icon, Icon::Warning);
    EXPECT_EQ(sink.texts(), notes.texts());
    EXPECT_EQ(notes.codes(), (std::vector<DiagCode>{DiagCode::KernelBadEdge, DiagCode::FileGemHasPreform,
                                                    DiagCode::KernelEulerFailed, DiagCode::FileGearOutOfRange}));
}

TEST(Diagnostics, AppendKeepsOrderAndTruncateForgetsAFailedAttempt) {
    Diagnostics first, second;
    first.warning(DiagCode::FileGemBadRing, "a");
    second.error(DiagCode::FileBrokenAfterCut, "b");
    second.info(DiagCode::FileGemHasPreform, "c");
    first.append(second);
    EXPECT_EQ(first.texts(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(second.size(), 2u);
    Diagnostics empty;
    empty.append(std::move(second));
    EXPECT_EQ(empty.texts(), (std::vector<std::string>{"b", "c"}));
    first.truncate(1);
    EXPECT_EQ(first.texts(), std::vector<std::string>{"a"});
    first.truncate(5);
    EXPECT_EQ(first.size(), 1u);

    Diagnostics collected;
    CollectingSink sink(collected);
    sink.show("boxed", Icon::Error);
    EXPECT_EQ(sink.ask("?", Buttons::YesNo, Icon::Question, Answer::No), Answer::No);
    ASSERT_EQ(collected.size(), 1u);
    EXPECT_EQ(collected[0], (Diagnostic{DiagKind::Error, "boxed"}));
    EXPECT_EQ(collected[0].code, DiagCode::FromSink);  // a sink's text has no code of its own
}

}  // namespace
}  // namespace brevix
