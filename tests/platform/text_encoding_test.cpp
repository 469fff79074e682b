#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace brevix {
namespace {

TEST(TextEncoding, DesignSignsSurviveTheRoundTrip) {
    const std::string degree = "34.50\xB0", cube = "cm\xB3", euro = "\x80", quotes = "\x93" "a\x94";
    EXPECT_EQ(cp1252ToUtf8(degree), "34.50\xC2\xB0");
    EXPECT_EQ(cp1252ToUtf8(cube), "cm\xC2\xB3");
    EXPECT_EQ(cp1252ToUtf8(euro), "\xE2\x82\xAC");
    for (const std::string& s : {degree, cube, euro, quotes}) EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(s)), s);
    // Every byte value comes back, the five the code page leaves undefined included.
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, ForeignAndBrokenInputNeverGetsLost) {
    EXPECT_EQ(utf8ToCp1252("\xE2\x88\x9A"), "?");           // a square root sign has no byte
    EXPECT_EQ(utf8ToCp1252("a\xF0\x9F\x92\x8E" "b"), "a?b");  // four-byte sequence
    EXPECT_EQ(utf8ToCp1252("\xB0"), "\xB0");                // a lone Windows byte passes through
    EXPECT_EQ(utf8ToCp1252("\xC3"), "\xC3");                // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xC0\xB0"), "\xC0\xB0");        // overlong form is not decoded
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "\xED\xA0\x80");  // a surrogate is not a character
}

TEST(Messages, RecorderAnswersFromItsScriptThenWithTheFallback) {
    RecordingSink sink;
    ScopedMessageSink guard(sink);
    sink.script = {Answer::No, Answer::Cancel};
    showMessage("Saved", Icon::Information);
    EXPECT_EQ(askQuestion("Keep?", Buttons::YesNo), Answer::No);
    EXPECT_EQ(askQuestion("Save?", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(askQuestion("Again?", Buttons::YesNo, Icon::Question, Answer::Yes), Answer::Yes);
    ASSERT_EQ(sink.entries.size(), 4u);
    EXPECT_FALSE(sink.entries[0].question);
    EXPECT_EQ(sink.entries[0].icon, Icon::Information);
    EXPECT_EQ(sink.entries[2].buttons, Buttons::YesNoCancel);
}

TEST(Messages, GuardsRestoreTheSinkBefore) {
    RecordingSink outer, inner;
    {
        ScopedMessageSink first(outer);
        {
            ScopedMessageSink second(inner);
            showMessage("inner");
        }
        showMessage("outer");
    }
    EXPECT_EQ(inner.texts(), std::vector<std::string>{"inner"});
    EXPECT_EQ(outer.texts(), std::vector<std::string>{"outer"});
    EXPECT_NE(&messageSink(), &outer);
}

}  // namespace
}  // namespace brevix
