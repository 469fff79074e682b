#pragma once
// The lines a batch writes, one per design: JSON lines or CSV. Brightness
// is written as `brevix-cli light` prints it (per cent, one decimal), so the
// two can be compared as text.
#include <optional>
#include <string>

#include "collection/figures.h"

namespace brevix::collection {

enum class BatchFormat { JsonLines, Csv };

std::optional<BatchFormat> parseBatchFormat(const std::string& text);

// The CSV header line (with its line end); JSON lines have none. The sweep's
// columns follow the tilts of `sweep` when one was asked for, then the
// tilt means; scintillation has a column when it was asked for. Under a
// room light its figures follow, named by it ("aset_brightness"...).
std::string csvHeader(const std::optional<optics::TiltRange>& sweep, bool scintillation = false,
                      optics::Environment lighting = optics::Environment::Iso);

// One line, with its line end. The design-figures warnings are a list in
// JSON and one field in CSV, joined by "; ".
std::string jsonLine(const DesignFigures& figures);
std::string csvLine(const DesignFigures& figures, const std::optional<optics::TiltRange>& sweep,
                    bool scintillation = false, optics::Environment lighting = optics::Environment::Iso);

// A field quoted as CSV needs it (a comma, a quote or a line end in it).
std::string csvField(const std::string& text);

}  // namespace brevix::collection
