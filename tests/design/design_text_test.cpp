#include "design/design_text.h"

#include <gtest/gtest.h>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "platform/messages.h"

namespace brevix {
namespace {

std::string instructionsOf(Stone& stone, int width, int* lines = nullptr, int* w = nullptr) {
    int counter = 0;
    InstructionText text;
    const int columns = instructionText(stone, width, counter, text);
    if (lines) *lines = counter;
    if (w) *w = columns;
    return text.instructions;
}

TEST(InstructionText, RoundBrilliantForTheClipboard) {
    Stone stone = makeRoundBrilliant();
    int lines = 0, w = 0;
    const std::string text = instructionsOf(stone, CLIPBOARD_WIDTH, &lines, &w);
    EXPECT_EQ(text,
              "PAVILION\n"
              "\tG\t90.00\xB0\t03-09-15-21-27-33-39-45-\tCut girdle to size\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "\tP1\t40.75\xB0\t96-12-24-36-48-60-72-84\tCut to centre point\n"
              "\tP2\t42.00\xB0\t03-09-15-21-27-33-39-45-\tMeet girdle and P1\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "CROWN\n"
              "\tC1\t34.50\xB0\t96-12-24-36-48-60-72-84\tLevel girdle\n"
              "\tC2\t21.50\xB0\t06-18-30-42-54-66-78-90\tMeet C1 at table line\n"
              "\tC3\t40.00\xB0\t03-09-15-21-27-33-39-45-\tMeet girdle and C1\n"
              "\t\t\t51-57-63-69-75-81-87-93\n"
              "\tT\t  0.00\xB0\tTable\tTable\n");
    EXPECT_EQ(lines, 12);
    EXPECT_EQ(w, 24);
    // Every facet knows the line of its tier's row.
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const std::string& name = stone.facets[i].name;
        const int expected = name == "G" ? 1 : name == "P1" ? 3 : name == "P2" ? 4 : name == "C1" ? 7
                             : name == "C2" ? 8 : name == "C3" ? 9 : 11;
        EXPECT_EQ(stone.facets[i].line, expected) << name;
    }
}

TEST(StatisticsText, RoundBrilliant) {
    Stone stone = makeRoundBrilliant();
    computeBounds(stone);
    const std::string text = statisticsText(stone);
    const std::string pairs = [] {
        std::string p;
        for (int i = 0; i < 8; ++i) p += "(G G)/W = 0.981\n";
        return p;
    }();
    EXPECT_EQ(text,
              "Standard Round Brilliant\n"
              "Angles for R.I. = 1.540\n"
              "57 + 16 girdles = 73 facets\n"
              "8-fold, mirror-image symmetry\n"
              "96 index\n"
              "L/W = 1.000  T/W = 0.586  U/W = 0.586\n"
              "P/W = 0.436  C/W = 0.147\n" +
                  pairs + "Vol./W\xB3 = 0.203\n");
}

}  // namespace
}  // namespace brevix
