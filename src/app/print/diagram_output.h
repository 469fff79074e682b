#pragma once
// The printed diagram as a file, made without a printer or a display: a
// vector PDF of one letter or A4 page, an SVG of the same page, or a PNG at
// a chosen resolution. The page is the one the printer gets. The interface is
// free of Qt so that the command line needs no Qt headers.
#include <optional>
#include <string>
#include <string_view>

namespace brevix {

struct Stone;

enum class DiagramFormat { Pdf, Svg, Png };
enum class PaperSize { Letter, A4 };

struct DiagramOutputOptions {
    PaperSize paper = PaperSize::Letter;
    int dpi = 150;  // PNG only
};

// PNG resolutions accepted: below the lowest the text is unreadable, above
// the highest a page image takes hundreds of megabytes.
constexpr int MIN_DIAGRAM_DPI = 36;
constexpr int MAX_DIAGRAM_DPI = 600;

// The format an output path asks for by its extension (any case).
std::optional<DiagramFormat> diagramFormatOf(std::string_view path);

// Writes the diagram of `stone` with `title` as its last line. Any earlier
// file at `path` stays untouched unless the whole new file was written.
// False with the reason in `error` when it fails.
bool writeDiagramFile(const Stone& stone, std::string_view title, const std::string& path,
                      const DiagramOutputOptions& options, std::string& error);

}  // namespace brevix
