#include "assistant/step_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "design/design_text.h"
#include "intent/design_intent.h"
#include "intent/intent_words.h"

namespace brevix {

namespace {

const char kDegree[] = "\xB0";

std::string twoDecimals(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string wholeWords(long long n) {
    static const char* const ones[] = {"zero",    "one",     "two",       "three",    "four",
                                       "five",    "six",     "seven",     "eight",    "nine",
                                       "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                                       "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
    static const char* const tens[] = {"", "", "twenty", "thirty", "forty",
                                       "fifty", "sixty", "seventy", "eighty", "ninety"};
    if (n < 0) return "minus " + wholeWords(-n);
    if (n < 20) return ones[n];
    if (n < 100) return std::string(tens[n / 10]) + (n % 10 ? std::string("-") + ones[n % 10] : "");
    if (n < 1000)
        return std::string(ones[n / 100]) + " hundred" + (n % 100 ? " and " + wholeWords(n % 100) : "");
    if (n < 1000000)
        return wholeWords(n / 1000) + " thousand" + (n % 1000 ? " " + wholeWords(n % 1000) : "");
    return std::to_string(n);
}

std::string indexPart(const CuttingStep& step) {
    if (step.isTable) return step.indexTexts.empty() ? std::string() : step.indexTexts[0];
    return (step.indexes.size() > 1 ? "indexes " : "index ") + joinedIndexes(step);
}

}  // namespace

std::string numberWords(double value) {
    if (!std::isfinite(value)) return "unknown";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = buffer;
    // Trailing zeros of the fraction are not spoken: 42.00 is "forty-two".
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    const size_t dot = text.find('.');
    const bool negative = !text.empty() && text[0] == '-';
    const long long whole = std::llabs(std::atoll(text.substr(0, dot).c_str()));
    std::string out = (negative ? "minus " : "") + wholeWords(whole);
    if (dot != std::string::npos) {
        out += " point";
        for (size_t k = dot + 1; k < text.size(); ++k) out += " " + wholeWords(text[k] - '0');
    }
    return out;
}

std::string stepSide(const CuttingStep& step) {
    if (step.kind == StepKind::Transfer) return "Transfer the stone";
    switch (step.section) {
    case SECTION_PAVILION: return "Pavilion";
    case SECTION_CROWN: return "Crown";
    case SECTION_PREFORM: return "Preform";
    default: return "";
    }
}

std::string stepTitle(const CuttingStep& step) {
    if (step.kind == StepKind::Transfer) return stepSide(step);
    return step.tierName.empty() ? stepSide(step) : stepSide(step) + ": " + step.tierName;
}

std::string stepSetting(const CuttingStep& step) {
    if (step.kind == StepKind::Transfer) return "Turn the dop over to cut the other side";
    return twoDecimals(step.angle) + kDegree + "   " + indexPart(step);
}

std::string nextStepLine(const CuttingStep* next) {
    if (!next) return "Next: done";
    if (next->kind == StepKind::Transfer) return "Next: transfer the stone";
    std::string line = "Next: ";
    if (!next->tierName.empty()) line += next->tierName + " ";
    return line + twoDecimals(next->angle) + kDegree + " " + indexPart(*next);
}

std::string progressLine(const AssistantSession& session) {
    const CuttingPlan& plan = session.plan();
    if (session.finished()) {
        if (session.cutCount() >= plan.facetCount)
            return "All " + std::to_string(plan.facetCount) + " facets cut";
        return "End: " + std::to_string(session.cutCount()) + " of " +
               std::to_string(plan.facetCount) + " facets cut";
    }
    // A transfer cuts no facet: it is counted among the steps, not given
    // the number of a facet or tier it is not.
    if (session.currentStep() && session.currentStep()->kind == StepKind::Transfer)
        return "Step " + std::to_string(session.current() + 1) + " of " + std::to_string(plan.steps.size()) +
               ": transfer the stone";
    return "Facet " + std::to_string(session.facetNumber()) + " of " +
           std::to_string(plan.facetCount) + "    Tier " + std::to_string(session.tierNumber()) +
           " of " + std::to_string(plan.tierCount);
}

std::string recordedMeetLine(const Stone& stone, const DesignIntent& intent, const CuttingStep& step) {
    if (step.kind == StepKind::Transfer || step.facets.empty()) return {};
    const int32_t tier = intentTierOfFacet(stone, intent, step.facets[0]);
    if (tier < 0) return {};
    const TierIntent& placed = intent.tiers[tier];
    if (placed.depth != DepthRule::Points) return {};
    std::string line;
    for (const PointDef& point : placed.points) {
        if (!line.empty()) line += "; ";
        if (point.kind != PointKind::Meet) {
            std::string words = pointWords(stone, intent, point);
            if (!words.empty() && words[0] >= 'a' && words[0] <= 'z') words[0] = char(words[0] - 'a' + 'A');
            line += words;
            continue;
        }
        // In cutting order, as the cutter finds them on the stone.
        std::vector<FacetRef> facets = point.facets;
        std::stable_sort(facets.begin(), facets.end(), [](const FacetRef& x, const FacetRef& y) {
            return x.tier != y.tier ? x.tier < y.tier : x.index < y.index;
        });
        line += "Meet ";
        for (size_t k = 0; k < facets.size(); ++k) line += (k ? ", " : "") + facetWords(stone, intent, facets[k]);
    }
    return line;
}

std::string spokenStep(const CuttingStep& step) {
    if (step.kind == StepKind::Transfer) return "Transfer the stone";
    std::string out = step.tierName.empty() ? stepSide(step) : step.tierName;
    out += ", " + numberWords(step.angle) + " degrees, ";
    if (step.isTable) return out + (step.indexTexts.empty() ? "" : step.indexTexts[0]);
    out += step.indexes.size() > 1 ? "indexes" : "index";
    for (size_t k = 0; k < step.indexes.size(); ++k)
        out += (k ? ", " : " ") + numberWords(step.indexes[k]);
    return out;
}

}  // namespace brevix
