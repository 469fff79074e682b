#include "app/dialogs/optimise_lightings.h"

#include <iterator>

#include "platform/strformat.h"

namespace brevix {

std::vector<optics::Environment> tickedLightings(const std::vector<bool>& ticked) {
    std::vector<optics::Environment> out;
    for (size_t i = 0; i < ticked.size() && i < std::size(optics::ALL_ENVIRONMENTS); ++i)
        if (ticked[i]) out.push_back(optics::ALL_ENVIRONMENTS[i]);
    return out;
}

std::string lightingScoresText(const std::vector<optics::Environment>& lightings, const std::vector<double>& scores) {
    if (lightings.size() < 2 || scores.size() != lightings.size()) return {};
    std::string text = "    Under ";
    for (size_t i = 0; i < lightings.size(); ++i)
        text += strprintf("%s%s %.1f", i ? ", " : "", optics::environmentLabel(lightings[i]), scores[i]);
    return text + "\n";
}

}  // namespace brevix
