// Writing the text format. Texts are adjusted where the reader would split
// them (a name is one token, an instruction or heading line one line), and a
// design whose texts exceed the reader's line length is refused rather than
// written into a file that reads back different.
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "files/asc_format.h"
#include "files/c_numbers.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/file_units.h"
#include "files/replacing_file.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// The reader takes at most 511 characters a line (a line end after them
// reads as an empty line). Whatever it takes from a line, the writer writes:
// a heading, footnote or instruction record at the start of its line holds
// the key, one blank and 509 characters.
constexpr size_t MAX_LINE = 511;
constexpr size_t MAX_NAME = 255;
constexpr size_t MAX_HEADING = MAX_LINE - 2;      // "H " + text
constexpr size_t MAX_INSTRUCTION = MAX_LINE - 2;  // "G " + text on a line of its own

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

struct Adjustments {
    std::string blankName;  // first name that had blanks, as it was
    bool lineBreaks = false;
    Diagnostics gear;       // "Zero index gear", once for the whole text
};

std::string wordOf(const std::string& name, Adjustments& notes) {
    std::string word = name;
    for (char& c : word) {
        if (c == ' ' || c == '\t' || isLineBreak(c)) {
            if (notes.blankName.empty()) notes.blankName = name;
            c = '_';
        }
    }
    return word;
}

std::string lineOf(const std::string& text, Adjustments& notes) {
    std::string line = text;
    for (char& c : line) {
        if (isLineBreak(c)) {
            notes.lineBreaks = true;
            c = ' ';
        }
    }
    return line;
}

// Whether `f` of a stone with a preform lies in a plane of the preform, so
// that it is written with the preform.
bool matchesPreform(const Facet& f, const Stone& preform) {
    for (int32_t i = 0; i < preform.nFacet; ++i) {
        const Facet& p = preform.facets[i];
        if (p.a == f.a && p.b == f.b && p.c == f.c && p.d == f.d) return true;
    }
    return false;
}

// Text of a tier: lines end after 16 indexes, and earlier when the next
// piece would not fit the reader's line.
class AscText {
public:
    explicit AscText(std::string& out) : out_(out) {}

    void piece(const std::string& text) {
        if (lineLength_ > 0 && lineLength_ + text.size() > MAX_LINE) endLine();
        out_ += text;
        lineLength_ += text.size();
    }
    // A record too long for a line even of its own with its leading blank
    // starts a line without it: the reader needs no blank before a key.
    void record(const std::string& text) {
        if (text.size() <= MAX_LINE || text[0] != ' ') {
            piece(text);
            return;
        }
        if (lineLength_ > 0) endLine();
        out_.append(text, 1);
        lineLength_ = text.size() - 1;
    }
    void endLine() {
        out_ += '\n';
        lineLength_ = 0;
    }

private:
    std::string& out_;
    size_t lineLength_ = 0;
};

void facetsText(const Stone& s, std::string& out, Adjustments& notes) {
    AscText text(out);
    int32_t currentTier = -9999;
    std::string pending;
    bool havePending = false;
    bool atLineStart = true;
    int countOnLine = 0;
    std::string piece;
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const Facet& f = s.facets[i];
        if (f.isRough()) continue;
        if (s.preform && matchesPreform(f, *s.preform)) continue;

        const double index = notes.gear.empty() ? s.facetIndexOf(i, notes.gear) : s.facetIndexOf(i);
        double angle = std::fabs(s.facetAngleOf(i));
        if (f.c < 0) angle = -angle;
        double depth = f.d / FILE_SCALE;
        // A level facet on the underside carries its direction in the sign of
        // the depth. Only an angle that reads back as 0 is level to the
        // reader: a small non-zero angle keeps its sign and its depth.
        if (std::fabs(angle) < 0.0000005 && f.c < 0) depth = -depth;

        if (f.tier != currentTier) {
            currentTier = f.tier;
            countOnLine = 0;
            if (havePending) {
                text.record(" G " + lineOf(pending, notes));
                text.endLine();
            } else if (!atLineStart) {
                text.endLine();
            }
            piece = "a ";
            appendFixed(piece, angle, 6);
            piece += ' ';
            appendFixed(piece, depth, 8);
            text.piece(piece);
            pending = s.instructionOf(i);
            havePending = !pending.empty();
        }

        const double fraction = std::fmod(index, 1.0);
        piece = " ";
        appendFixed(piece, index, (fraction < 0.01 || fraction > 0.99) ? 0 : 2);
        text.piece(piece);
        atLineStart = false;
        if (++countOnLine == 16) {
            text.endLine();
            atLineStart = true;
            countOnLine = 0;
        }
        if (!f.name.empty()) {
            text.piece(" n " + wordOf(f.name, notes));
            atLineStart = false;
        }
    }
    if (havePending) {
        text.record(" G " + lineOf(pending, notes));
        text.endLine();
    } else if (!atLineStart) {
        text.endLine();
    }
}

// The settings line's usual decimals, unless they would change the value
// (an offset of 0.25, an index of 1.544): then as many as it takes.
void appendSetting(std::string& out, double value, int decimals) {
    std::string fixed;
    appendFixed(fixed, value, decimals);
    if (parseDouble(fixed) == value || !std::isfinite(value))
        out += fixed;
    else
        appendShortest(out, value);
}

std::string designText(const Stone& stone, Adjustments& notes) {
    std::string out = "Brevix 5.0\n";
    out += "g ";
    appendInt(out, stone.gear);
    out += ' ';
    appendSetting(out, stone.indexOffset, 1);
    out += "\ny ";
    appendInt(out, stone.symmetry);
    out += stone.mirror ? " y\n" : " n\n";
    out += "I ";
    appendSetting(out, stone.refractiveIndex, 2);
    out += '\n';
    for (const std::string& line : stone.heading)
        if (!line.empty()) out += "H " + lineOf(line, notes) + '\n';
    if (stone.preform) facetsText(*stone.preform, out, notes);
    facetsText(stone, out, notes);
    for (const std::string& line : stone.footnote)
        if (!line.empty()) out += "F " + lineOf(line, notes) + '\n';
    return out;
}

std::string tooLong(const char* what, size_t length, size_t limit) {
    return strprintf(filemsg::ASC_TOO_LONG, what, static_cast<int>(length), static_cast<int>(limit));
}

std::string facetProblem(const Stone& s, const char* design) {
    int number = 0;  // as the user counts them: the rough block's faces left out
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const Facet& f = s.facets[i];
        if (f.isRough()) continue;
        ++number;
        const std::string label = strprintf("%s facet %d%s%s%s", design, number,
                                            f.name.empty() ? "" : " (", f.name.c_str(),
                                            f.name.empty() ? "" : ")");
        if (f.name.size() > MAX_NAME)
            return tooLong(("the name of " + label).c_str(), f.name.size(), MAX_NAME);
        if (f.instruction.size() > MAX_INSTRUCTION)
            return tooLong(("the cutting instruction of " + label).c_str(), f.instruction.size(),
                           MAX_INSTRUCTION);
    }
    return {};
}

}  // namespace

std::string ascSaveProblem(const Stone& stone) {
    if (std::llabs(stone.gear) > MAX_GEAR_TEETH)
        return strprintf(filemsg::GEAR_TOO_LARGE_TO_SAVE, static_cast<long long>(stone.gear));
    for (int k = 0; k < 4; ++k) {
        if (stone.heading[k].size() > MAX_HEADING)
            return tooLong(strprintf("heading line %d", k + 1).c_str(), stone.heading[k].size(),
                           MAX_HEADING);
        if (stone.footnote[k].size() > MAX_HEADING)
            return tooLong(strprintf("footnote line %d", k + 1).c_str(), stone.footnote[k].size(),
                           MAX_HEADING);
    }
    if (stone.preform) {
        if (std::string problem = facetProblem(*stone.preform, "preform"); !problem.empty())
            return problem;
    }
    return facetProblem(stone, "design");
}

bool writeAsc(const Stone& stone, std::ostream& out, Diagnostics& said) {
    if (std::string problem = ascSaveProblem(stone); !problem.empty()) {
        said.warning(DiagCode::FileFormatCannotHold, problem);
        out.setstate(std::ios::failbit);
        return false;
    }
    Adjustments notes;
    const std::string text = designText(stone, notes);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!notes.blankName.empty())
        said.info(DiagCode::FileNameBlanks, strprintf(filemsg::ASC_NAME_BLANKS, notes.blankName.c_str()));
    if (notes.lineBreaks) said.info(DiagCode::FileLineBreaks, filemsg::ASC_LINE_BREAKS);
    said.append(std::move(notes.gear));
    return true;
}

void writeAscFacets(const Stone& stone, std::ostream& out) {
    Adjustments notes;
    std::string text;
    facetsText(stone, text, notes);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool writeAscFile(const Stone& stone, const std::string& path, Diagnostics& notes) {
    if (std::string problem = ascSaveProblem(stone); !problem.empty()) {
        notes.warning(DiagCode::FileFormatCannotHold, problem);
        return false;
    }
    ReplacingFile file(path, false);
    if (!file.isOpen()) {
        notes.warning(DiagCode::FileCannotOpenToWrite, fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem()));
        return false;
    }
    writeAsc(stone, file.stream(), notes);
    if (!file.commit()) {
        notes.warning(DiagCode::FileErrorWriting, fileMessage(filemsg::ERROR_WRITING, path, file.problem()));
        return false;
    }
    return true;
}

}  // namespace brevix
