#pragma once
// The printed faceting diagram: one page with the four views of the stone
// across the top, the heading and statistics beside the end view, and the
// cutting instructions below, shrunk and split into two columns until they
// fit. Drawn in twips (1440 per inch) with y growing upward, so positions
// down the page are negative; the GUI gives the printer's canvas that mapping
// and tells the page size.
#include <array>
#include <string>
#include <string_view>

#include "design/design_text.h"
#include "kernel/stone.h"
#include "views/canvas.h"
#include "views/view.h"

namespace brevix {

constexpr int TWIPS_PER_INCH = 1440;

class DiagramPrinter {
public:
    std::array<View, 4> panes;
    int paneCount = 0;
    int scale = 12;  // type size unit: font heights and line advances are multiples of it
    double pageWidth = 8.5, pageHeight = 11;  // physical page, inches
    // Where the page's heading and statistics ended (0 before they are
    // printed). A design with many girdle pairs has statistics that reach
    // below the top of the instructions; the instructions then start under
    // them instead of being printed over them.
    int headingBottom = 0;
    // Lines printed under the statistics, each ending in a newline: the
    // stone's size and weight when Print Setup asks for them. Empty by
    // default, so the page is the faceting diagram as it always was.
    std::string extraStatistics;

    // The whole page; nothing without a stone. `title` (the document's) ends
    // the instructions.
    void printPage(Canvas& canvas, const Stone* stone, std::string_view title);

    // The four page panes in a row of squares across the top, the end view
    // under the top view.
    void layoutViews(Canvas& canvas);

    // First line in the title font, the rest in the body font; returns the y
    // below the last line.
    int printHeading(std::string_view text, Canvas& canvas, const Font& titleFont,
                     const Font& bodyFont);

    // The instruction table (split into two columns when asked), the footnote
    // and the title. Without a canvas it only measures. Returns the y below
    // the last line.
    int printInstructions(const InstructionText& text, int indexWidth, bool twoColumns,
                          Canvas* canvas, std::string_view title);

    // Fonts of the page at the current scale.
    static Font labelFont();
    Font bodyFont() const;
    Font titleFont() const;
};

}  // namespace brevix
