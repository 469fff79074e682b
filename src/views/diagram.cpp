#include "views/diagram.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "views/stone_drawing.h"
#include "views/tabbed_text.h"

namespace brevix {

namespace {

constexpr int PAGE_MARGIN = 720;  // half an inch
constexpr int PANE_MARGIN = 100;
constexpr int HEADING_X = 4440, HEADING_Y = -4152;
constexpr double SHRINK = 0.9554427922043668;
constexpr int FIT_ATTEMPTS = 20;
const Pen DIAGRAM_PEN{PenStyle::Solid, 9, {0, 0, 0}};

struct PagePane {
    const char* name;
    Vec3 u, v;
};
constexpr PagePane PAGE_PANES[4] = {
    {"top", {1, 0, 0}, {0, -1, 0}},
    {"side", {0, 0, -1}, {0, -1, 0}},
    {"bottom", {-1, 0, 0}, {0, -1, 0}},
    {"end", {1, 0, 0}, {0, 0, 1}},
};

// Lines ended by '\n'; a last line without one counts too.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool startsWithLetter(std::string_view line) {
    return !line.empty() && std::isalpha(static_cast<unsigned char>(line[0]));
}

// The column count the instruction text is laid out for at a scale.
int textWidth(int scale, bool twoColumns, bool final) {
    return (twoColumns ? (final ? 408 : 384) : 864) / scale;
}

}  // namespace

Font DiagramPrinter::labelFont() { return Font{"Arial", 180, 0, 400}; }
Font DiagramPrinter::bodyFont() const { return Font{"Arial", scale * 20, 0, 400}; }
Font DiagramPrinter::titleFont() const { return Font{"Arial", scale * 100 / 4, 0, 700}; }

void DiagramPrinter::layoutViews(Canvas& canvas) {
    const int left = PAGE_MARGIN, top = -PAGE_MARGIN;
    const int right = static_cast<int>(PAGE_MARGIN + (pageWidth - 1.5) * TWIPS_PER_INCH);
    const int bottom = static_cast<int>(-PAGE_MARGIN - (pageHeight - 1.5) * TWIPS_PER_INCH);
    int w = right - left;
    const int h = bottom - top;
    // A short page narrows the row of views to keep the end view on the page.
    if (std::abs(h) < 2 * w / 3) w = static_cast<int>(std::abs(h) * 3.0 / 2);
    const int sigma = -1;
    canvas.setTextAlign({HAlign::Center, VAlign::Baseline});

    const int third = w / 3, twoThirds = 2 * w / 3;
    const int rowBottom = top + sigma * w / 3, endBottom = top + 2 * sigma * w / 3;
    struct Box {
        int x1, x2, y1, y2;
    };
    const Box boxes[4] = {
        {left, left + third, rowBottom, top},
        {left + third, left + twoThirds, rowBottom, top},
        {left + twoThirds, left + w, rowBottom, top},
        {left, left + third, endBottom, rowBottom},
    };
    paneCount = 4;
    for (int k = 0; k < 4; ++k) {
        View& view = panes[k];
        view = View{};
        view.setDC(&canvas);
        view.setXAxis(PAGE_PANES[k].u);
        view.setYAxis(PAGE_PANES[k].v);
        view.setWindow(-1.1, 1.1, -1.1, 1.1);
        view.setViewport(boxes[k].x1, boxes[k].x2, boxes[k].y1, boxes[k].y2, PANE_MARGIN);
        view.setName(PAGE_PANES[k].name);
        view.setInteractive(false);
        view.setup(0);
    }
}

int DiagramPrinter::printHeading(std::string_view text, Canvas& canvas, const Font& title,
                                 const Font& body) {
    canvas.setTextAlign({HAlign::Left, VAlign::Top});
    int y = HEADING_Y;
    bool first = true;
    for (std::string_view line : splitLines(text)) {
        if (first) {
            canvas.setFont(title);
            if (!line.empty()) canvas.text(HEADING_X, y, line);
            canvas.setFont(body);
            y -= scale * 30;
            first = false;
            continue;
        }
        if (!line.empty()) canvas.text(HEADING_X, y, line);
        y -= scale * 22;
    }
    return y;
}

int DiagramPrinter::printInstructions(const InstructionText& text, int indexWidth, bool twoColumns,
                                      Canvas* canvas, std::string_view title) {
    if (canvas) canvas->setTextAlign({HAlign::Left, VAlign::Top});
    int x = PAGE_MARGIN;
    int y0 = static_cast<int>(-936 - 2 * (pageWidth - 1.5) * TWIPS_PER_INCH / 3);
    if (headingBottom < 0) y0 = std::min(y0, headingBottom);
    int y = y0;

    const std::vector<std::string_view> lines = splitLines(text.instructions);
    const int t3 = static_cast<int>(indexWidth * 8.5 + 140);
    std::array<int, 5> stops{10, 55, 125, t3, t3 + 50};
    size_t longestName = 0;
    for (std::string_view line : lines) {
        if (line.empty() || line[0] != '\t') continue;
        const size_t end = line.find('\t', 1);
        longestName = std::max(longestName, (end == std::string_view::npos ? line.size() : end) - 1);
    }
    if (longestName > 3) {
        const int grow = static_cast<int>((longestName - 3) * 8.5);
        for (size_t k = 1; k < stops.size(); ++k) stops[k] += grow;
    }
    for (int& stop : stops) stop *= scale;

    // The second column starts at the section heading nearest the middle.
    int breakLine = -1;
    if (twoColumns) {
        const int half = static_cast<int>(lines.size()) / 2;
        for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
            if (!startsWithLetter(lines[i])) continue;
            if (breakLine < 0 || std::abs(i - half) < std::abs(breakLine - half)) breakLine = i;
        }
    }

    int firstColumnBottom = 0;
    bool broken = false;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string_view line = lines[i];
        if (i == breakLine) {
            firstColumnBottom = y;
            broken = true;
            y = y0;
            x = static_cast<int>((pageWidth - 1.5) * 0.5 * TWIPS_PER_INCH + PAGE_MARGIN);
        }
        if (line.size() >= 2 && line[0] == '\t' && line[1] == '\t') y += scale * 4;
        if (canvas) tabbedText(*canvas, x, y, line, stops, x);
        y -= scale * 25;
        if (startsWithLetter(line)) y -= scale * 3;
    }

    x = PAGE_MARGIN;
    if (broken) y = std::min(y, firstColumnBottom);
    for (std::string_view line : splitLines(text.footnote)) {
        y -= scale * 25;
        if (canvas && !line.empty()) canvas->text(x, y, line);
    }
    if (!title.empty()) {
        y -= scale * 25;
        if (canvas) canvas->text(x, y, title);
        y -= scale * 20;
    }
    return y;
}

void DiagramPrinter::printPage(Canvas& canvas, const Stone* design, std::string_view title) {
    if (!design) return;
    // Drawing writes the stone's working fields; those of the design belong
    // to the views, so the page works on a copy.
    Stone copy(*design);
    Stone* stone = &copy;
    scale = 12;
    headingBottom = 0;
    const Font body = bodyFont(), heading = titleFont();

    layoutViews(canvas);
    canvas.setFont(labelFont());
    canvas.setPen(DIAGRAM_PEN);
    canvas.setBrush(WHITE_BRUSH);
    drawStonePanes(*stone, std::span<View>(panes.data(), paneCount),
                   DRAW_SILHOUETTE | DRAW_VISIBLE | DRAW_LABELS);
    paneCount = 0;

    headingBottom = printHeading(statisticsText(*stone) + extraStatistics, canvas, heading, body);

    bool twoColumns = false;
    InstructionText text;
    for (int attempt = 0; attempt < FIT_ATTEMPTS; ++attempt) {
        int lines = 0;
        const int indexWidth = instructionText(*stone, textWidth(scale, twoColumns, false), lines, text);
        const int y = printInstructions(text, indexWidth, twoColumns, nullptr, title);
        if (-y / double(TWIPS_PER_INCH) < pageHeight - 0.75) break;
        // Shrinking on to nothing would divide by zero; at the smallest
        // type the instructions run off the page instead.
        if (scale <= 1) break;
        scale = static_cast<int>(scale * SHRINK);
        canvas.setFont(bodyFont());
        twoColumns = true;
    }
    int lines = 0;
    const int indexWidth = instructionText(*stone, textWidth(scale, twoColumns, true), lines, text);
    canvas.setFont(bodyFont());
    printInstructions(text, indexWidth, twoColumns, &canvas, title);
}

}  // namespace brevix
