// The steps of real designs against their cutting instructions, the machine
// settings they show and the moves of the keys.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "assistant/assistant_session.h"
#include "assistant/cutting_steps.h"
#include "assistant/step_texts.h"
#include "design/design_text.h"
#include "files/asc_format.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"

namespace brevix {
namespace {

std::string samplePath(const char* name) { return std::string(BREVIX_SOURCE_DIR) + "/samples/" + name; }

std::unique_ptr<Stone> readSample(const char* name) {
    auto stone = std::make_unique<Stone>();
    EXPECT_TRUE(readAscFile(*stone, samplePath(name)));
    return stone;
}

// The index lists of the instruction text, row by row, continuation lines joined.
std::vector<std::string> instructionIndexRows(Stone& stone) {
    InstructionText text;
    int lines = 0;
    instructionText(stone, CUT_LIST_WIDTH, lines, text);
    std::vector<std::string> rows;
    std::istringstream in(text.instructions);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] != '\t') continue;  // section headings
        std::vector<std::string> fields;
        std::string field;
        std::istringstream parts(line);
        while (std::getline(parts, field, '\t')) fields.push_back(field);
        if (line.rfind("\t\t\t", 0) == 0)
            rows.back() += fields[3];
        else
            rows.push_back(fields.size() > 3 ? fields[3] : "");
    }
    return rows;
}

TEST(CuttingSteps, RoundBrilliantFollowsItsInstructions) {
    auto stone = readSample("round_brilliant.asc");
    const CuttingPlan plan = cuttingPlan(*stone, false);
    ASSERT_EQ(plan.steps.size(), 74u);  // 73 facets and the transfer
    EXPECT_EQ(plan.facetCount, 73);
    EXPECT_EQ(plan.tierCount, 7);

    // Pavilion (girdle, P1, P2) first, then the one transfer, then the crown.
    int transfers = 0;
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const CuttingStep& s = plan.steps[i];
        if (i < 40) {
            EXPECT_EQ(s.section, SECTION_PAVILION) << i;
        } else if (i > 40) {
            EXPECT_EQ(s.section, SECTION_CROWN) << i;
        }
        if (s.kind == StepKind::Transfer) {
            ++transfers;
            EXPECT_EQ(i, 40u);
        } else {
            EXPECT_EQ(s.facets.size(), 1u);
        }
    }
    EXPECT_EQ(transfers, 1);

    // The indexes, step after step, are the instruction text's lists.
    std::vector<std::string> fromSteps;
    int tier = -1;
    for (const CuttingStep& s : plan.steps) {
        if (s.kind == StepKind::Transfer) continue;
        if (s.tier != tier) fromSteps.emplace_back();
        else fromSteps.back() += "-";
        tier = s.tier;
        fromSteps.back() += s.indexTexts[0];
    }
    EXPECT_EQ(fromSteps, instructionIndexRows(*stone));

    // Settings as set on the machine: pavilion angles positive, pavilion
    // indexes as the instructions list them (96 first), the table last.
    const CuttingStep& firstP1 = plan.steps[16];
    EXPECT_EQ(firstP1.tierName, "P1");
    EXPECT_DOUBLE_EQ(firstP1.angle, 40.75);
    EXPECT_EQ(firstP1.indexTexts[0], "96");
    EXPECT_EQ(plan.steps[17].indexTexts[0], "12");
    EXPECT_EQ(plan.steps[0].instruction, "Cut girdle to size");
    EXPECT_DOUBLE_EQ(plan.steps[0].angle, 90);
    EXPECT_EQ(plan.steps.back().indexTexts[0], "Table");
    EXPECT_TRUE(plan.steps.back().isTable);
    // Each facet knows its mirror partner in the tier; 96 and 48 are their own.
    EXPECT_EQ(plan.steps[24].indexTexts[0], "03");
    EXPECT_EQ(plan.steps[24].mirrorText, "93");
    EXPECT_EQ(firstP1.mirrorText, "");
    // Every facet of the design is in exactly one step.
    std::vector<int> seen(stone->nFacet, 0);
    for (const CuttingStep& s : plan.steps)
        for (int32_t f : s.facets) ++seen[f];
    for (int32_t i = 0; i < stone->nFacet; ++i) EXPECT_EQ(seen[i], stone->facets[i].isRough() ? 0 : 1);
}

TEST(CuttingSteps, ByTierAndOtherDesigns) {
    auto stone = readSample("round_brilliant.asc");
    const CuttingPlan tiers = cuttingPlan(*stone, true);
    ASSERT_EQ(tiers.steps.size(), 8u);
    EXPECT_EQ(tiers.steps[3].kind, StepKind::Transfer);
    EXPECT_EQ(joinedIndexes(tiers.steps[1]), "96-12-24-36-48-60-72-84");
    EXPECT_EQ(tiers.steps[1].facets.size(), 8u);

    // The oval's uneven tiers: same counts as its instruction rows.
    auto oval = readSample("oval_brilliant.asc");
    const CuttingPlan plan = cuttingPlan(*oval, false);
    std::vector<std::string> fromSteps;
    int tier = -1, transfers = 0;
    for (const CuttingStep& s : plan.steps) {
        if (s.kind == StepKind::Transfer) {
            ++transfers;
            continue;
        }
        if (s.tier != tier) fromSteps.emplace_back();
        else fromSteps.back() += "-";
        tier = s.tier;
        fromSteps.back() += s.indexTexts[0];
    }
    EXPECT_EQ(transfers, 1);
    EXPECT_EQ(fromSteps, instructionIndexRows(*oval));

    // A rough stone with nothing cut has no steps.
    Stone rough;
    EXPECT_TRUE(cuttingPlan(rough, false).steps.empty());
}

TEST(StepTexts, SettingsAndSpokenWords) {
    auto stone = readSample("round_brilliant.asc");
    const CuttingPlan plan = cuttingPlan(*stone, false);
    EXPECT_EQ(stepTitle(plan.steps[16]), "Pavilion: P1");
    EXPECT_EQ(stepSetting(plan.steps[16]), "40.75\xB0   index 96");
    EXPECT_EQ(spokenStep(plan.steps[16]), "P1, forty point seven five degrees, index ninety-six");
    EXPECT_EQ(spokenStep(plan.steps[25]), "P2, forty-two degrees, index nine");
    EXPECT_EQ(spokenStep(plan.steps.back()), "T, zero degrees, Table");
    EXPECT_EQ(stepTitle(plan.steps[40]), "Transfer the stone");
    EXPECT_EQ(nextStepLine(&plan.steps[41]), "Next: C1 34.50\xB0 index 96");
    EXPECT_EQ(nextStepLine(nullptr), "Next: done");
    EXPECT_EQ(numberWords(120), "one hundred and twenty");
    EXPECT_EQ(numberWords(3.5), "three point five");
}

TEST(AssistantSession, KeysAcrossTierBoundaryAndTransfer) {
    auto stone = readSample("round_brilliant.asc");
    AssistantSession session;
    EXPECT_TRUE(session.start(*stone, false, {}).empty());
    EXPECT_EQ(session.current(), 0);
    EXPECT_EQ(progressLine(session), "Facet 1 of 73    Tier 1 of 7");

    // Over the boundary from the girdle to P1 and back again.
    for (int k = 0; k < 16; ++k) session.markAndNext();
    EXPECT_EQ(session.currentStep()->tierName, "P1");
    EXPECT_EQ(progressLine(session), "Facet 17 of 73    Tier 2 of 7");
    EXPECT_EQ(session.cutCount(), 16);
    session.back();
    EXPECT_EQ(session.currentStep()->tierName, "G");
    EXPECT_EQ(session.cutCount(), 15);
    EXPECT_FALSE(session.isCut(session.currentStep()->facets[0]));
    session.markAndNext();

    // T jumps over the rest of a tier without marking it.
    session.nextTier();
    EXPECT_EQ(session.currentStep()->tierName, "P2");
    EXPECT_EQ(session.cutCount(), 16);
    for (int k = 0; k < 15; ++k) session.markAndNext();
    EXPECT_EQ(session.currentStep()->indexTexts[0], "93");
    session.markAndNext();
    ASSERT_EQ(session.currentStep()->kind, StepKind::Transfer);
    // A step of its own: not the facet before it nor the tier after it.
    EXPECT_EQ(progressLine(session), "Step 41 of 74: transfer the stone");
    session.markAndNext();
    EXPECT_EQ(session.currentStep()->tierName, "C1");
    EXPECT_EQ(session.cutCount(), 32);  // the transfer marks no facet
    session.back();
    EXPECT_EQ(session.currentStep()->kind, StepKind::Transfer);
    session.back();
    EXPECT_EQ(session.currentStep()->indexTexts[0], "93");
    EXPECT_EQ(session.cutCount(), 31);

    // Marking skips steps that are already cut; a click jumps anywhere.
    const int32_t table = session.plan().steps.back().facets[0];
    EXPECT_TRUE(session.goToFacet(table));
    session.markAndNext();
    EXPECT_EQ(session.currentStep()->tierName, "P1");  // back to the open work T skipped
    while (!session.finished()) session.markAndNext();
    EXPECT_EQ(progressLine(session), "All 73 facets cut");
    EXPECT_EQ(session.cutCount(), 73);
    session.startOver();
    EXPECT_EQ(session.cutCount(), 0);
    EXPECT_EQ(session.current(), 0);
    // Back at the start stays there; T at the last tier ends the plan.
    session.back();
    EXPECT_EQ(session.current(), 0);
}

TEST(AssistantSession, TierModeKeepsTheFacet) {
    auto stone = readSample("round_brilliant.asc");
    AssistantSession session;
    session.start(*stone, false, {});
    for (int k = 0; k < 20; ++k) session.markAndNext();
    session.setByTier(*stone, true);
    EXPECT_EQ(session.currentStep()->kind, StepKind::Tier);
    EXPECT_EQ(session.currentStep()->tierName, "P1");
    session.markAndNext();  // the rest of P1 at once
    EXPECT_EQ(session.cutCount(), 24);
    EXPECT_EQ(session.currentStep()->tierName, "P2");
    session.markAndNext();
    EXPECT_EQ(session.currentStep()->kind, StepKind::Transfer);
    EXPECT_EQ(progressLine(session), "Step 4 of 8: transfer the stone");
    session.setByTier(*stone, false);
    EXPECT_EQ(session.currentStep()->kind, StepKind::Transfer);
    EXPECT_EQ(session.facetNumber(), 40);
}

// A design that gives its tiers no instructions still tells the cutter
// what each tier was placed by: the facets that meet where it ends.
TEST(StepTexts, TheRecordedMeetStandsInForAMissingInstruction) {
    std::ifstream in(samplePath("round_brilliant_meets.brx"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IntentFileRead read =
        readIntentText({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(read.problem.empty()) << read.problem;
    const DesignIntent intent = intentOf(read.stone, &read.intent);
    for (bool byTier : {false, true}) {
        const CuttingPlan plan = cuttingPlan(read.stone, byTier);
        std::map<std::string, std::string> meets;
        for (const CuttingStep& step : plan.steps) {
            const std::string line = recordedMeetLine(read.stone, intent, step);
            if (step.kind == StepKind::Transfer) {
                EXPECT_EQ(line, "");
                continue;
            }
            EXPECT_TRUE(step.instruction.empty()) << step.tierName;
            // Every facet of a tier says the same.
            if (meets.count(step.tierName)) {
                EXPECT_EQ(meets[step.tierName], line) << step.tierName;
            }
            meets[step.tierName] = line;
        }
        EXPECT_EQ(meets["P2"], "Meet G 3, G 93, P1 96");
        EXPECT_EQ(meets["C3"], "Meet G 3, G 93, C1 96");
        EXPECT_EQ(meets["G"], "");  // a typed depth: nothing to look for on the stone
        EXPECT_EQ(meets["T"], "");
    }
}

}  // namespace
}  // namespace brevix
