#include "document/heading_command.h"

#include "document/gem_doc.h"
#include "document/stone_commands.h"

namespace brevix {

std::string diagramLinesText(const DiagramLines& lines) {
    size_t used = lines.size();
    while (used > 0 && lines[used - 1].empty()) --used;
    std::string text;
    for (size_t i = 0; i < used; ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

DiagramLines diagramLinesOf(std::string_view text) {
    DiagramLines lines;
    size_t line = 0;
    for (size_t i = 0; i < text.size() && line < lines.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++line;
            continue;
        }
        lines[line] += c;
    }
    return lines;
}

void headingCommand(CGemDoc& doc, std::string_view heading, std::string_view footnote) {
    runStoneCommand(doc, "Heading", [&](Stone& stone) {
        stone.setHeading(diagramLinesOf(heading));
        stone.setFootnote(diagramLinesOf(footnote));
    }, NamesChanged);
}

}  // namespace brevix
