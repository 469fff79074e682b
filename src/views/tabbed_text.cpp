#include "views/tabbed_text.h"

namespace brevix {

int tabbedText(Canvas& canvas, int x, int y, std::string_view line, std::span<const int> stops,
               int origin) {
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        const std::string_view field = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (!field.empty()) {
            canvas.text(x, y, field);
            x += canvas.textExtent(field).width;
        }
        if (tab == std::string_view::npos) return x;
        for (int stop : stops) {
            if (origin + stop > x) {
                x = origin + stop;
                break;
            }
        }
        start = tab + 1;
    }
}

}  // namespace brevix
