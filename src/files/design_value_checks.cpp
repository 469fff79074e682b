#include "files/design_value_checks.h"

#include <cmath>

#include "files/file_messages.h"
#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

std::string numberText(double value) {
    if (std::isnan(value)) return "not a number";
    if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
    return strprintf("%g", value);
}

}  // namespace

std::string refractiveIndexProblem(double refractiveIndex) {
    if (refractiveIndex >= MIN_FILE_REFRACTIVE_INDEX && refractiveIndex <= MAX_FILE_REFRACTIVE_INDEX) return {};
    return strprintf("The refractive index in this file is %s; a design's refractive index lies between "
                     "%.2f and %.2f.",
                     numberText(refractiveIndex).c_str(), MIN_FILE_REFRACTIVE_INDEX, MAX_FILE_REFRACTIVE_INDEX);
}

std::string symmetryProblem(long long symmetry) {
    if (symmetry >= 1 && symmetry <= MAX_FILE_SYMMETRY) return {};
    return strprintf("The symmetry in this file is %lld; a design's symmetry is a whole number from 1 to %lld.",
                     symmetry, MAX_FILE_SYMMETRY);
}

std::string indexOffsetProblem(double indexOffset) {
    if (std::isfinite(indexOffset)) return {};
    return strprintf("The index offset in this file is %s; a design's index offset is a number of notches.",
                     numberText(indexOffset).c_str());
}

std::string gearProblem(long long gear) {
    if (gear >= -MAX_GEAR_TEETH && gear <= MAX_GEAR_TEETH) return {};
    return strprintf(filemsg::GEAR_OUT_OF_RANGE, gear);
}

std::string valueKeptMessage(const std::string& problem, const std::string& kept) {
    return problem + "\nThe design keeps " + kept + ".";
}

std::string readingStoppedMessage(const std::string& problem) {
    return problem + "\nReading stopped there: the design holds what came before it.";
}

}  // namespace brevix
