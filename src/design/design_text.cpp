#include "design/design_text.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "design/measures.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

const char kDegree[] = "\xB0";
const char kCube[] = "\xB3";
constexpr double kIndexTolerance = 0.001;

// Appends formatted text; the texts are rebuilt on every view refresh, so
// the short pieces are formatted once into a local buffer.
__attribute__((format(printf, 2, 3))) void appendf(std::string& out, const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (size >= 0 && static_cast<size_t>(size) < sizeof buffer) {
        out.append(buffer, static_cast<size_t>(size));
    } else if (size > 0) {
        std::string longer(static_cast<size_t>(size) + 1, '\0');
        std::vsnprintf(longer.data(), longer.size(), format, again);
        out.append(longer.data(), static_cast<size_t>(size));
    }
    va_end(again);
}

// The heading or footnote lines up to the last one that is set.
std::string lineBlock(const std::array<std::string, 4>& lines) {
    int last = -1;
    for (int i = 0; i < 4; ++i)
        if (!lines[i].empty()) last = i;
    std::string out;
    for (int i = 0; i <= last; ++i) out += lines[i] + "\n";
    return out;
}

bool isWholeIndex(double i) {
    double f = i - std::trunc(i);
    while (f < -EPS) f += 1;
    while (f > NEAR_ONE) f -= 1;
    return f <= EPS;
}

// Breaks an instruction at blanks; the first lines get `narrow` columns,
// those beyond the count of index lines `wide` columns.
std::vector<std::string> breakInstruction(const std::string& text, int narrow, int wide,
                                          size_t indexLines) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string rest = text;
    for (;;) {
        // A printer narrower than the index column must not give a width
        // below one character.
        const int width = std::max(1, lines.size() > indexLines ? wide : narrow);
        if (static_cast<int>(rest.size()) <= width) break;
        size_t cut = std::string::npos;
        for (size_t p = static_cast<size_t>(width); p > 0; --p)
            if (rest[p] == ' ') {
                cut = p;
                break;
            }
        if (cut == std::string::npos) cut = rest.find(' ', static_cast<size_t>(width));
        if (cut == std::string::npos) break;
        lines.push_back(rest.substr(0, cut));
        rest.erase(0, cut + 1);
    }
    lines.push_back(rest);
    return lines;
}

struct Writer {
    const Stone& stone;
    int width;
    int& lineCounter;
    std::string& out;
    int w0 = 0;
    int digits = 1;
    double gearNotches = 0;
    size_t longest = 0;

    void row(const std::vector<double>& collected, double angle, double c, const std::string& name,
             const std::string& instruction);
};

void Writer::row(const std::vector<double>& collected, double angle, double c,
                 const std::string& name, const std::string& instruction) {
    std::vector<double> list = collected;
    std::sort(list.begin(), list.end());
    if (!list.empty() && std::fabs(list[0]) < kIndexTolerance) list[0] = gearNotches;
    out += "\t";
    out += name;
    if (angle >= 10)
        appendf(out, "\t%5.2f%s\t", angle, kDegree);
    else
        appendf(out, "\t %5.2f%s\t", angle, kDegree);
    if (list.size() == 1 && angle < kIndexTolerance) {
        out += c > EPS ? "Table" : "Culet";
        list.clear();
    }

    bool whole = true;
    for (double i : list) whole = whole && isWholeIndex(i);
    const std::string format =
        whole ? strprintf("%%0%d.0f", digits) : strprintf("%%0%d.1f", digits + 2);

    std::vector<std::string> indexLines;
    if (list.size() > 31 && std::fabs(angle - 90) < kIndexTolerance) {
        indexLines.push_back(strprintf("(%d total)", static_cast<int>(list.size())));
    } else {
        std::string current;
        for (size_t k = 0; k < list.size(); ++k) {
            std::string entry;
            appendf(entry, format.c_str(), list[k]);
            if (k + 1 < list.size()) entry += "-";
            if (!current.empty() && static_cast<int>(current.size() + entry.size()) > w0) {
                indexLines.push_back(current);
                current.clear();
            }
            current += entry;
        }
        if (!current.empty()) indexLines.push_back(current);
    }
    for (const std::string& l : indexLines) longest = std::max(longest, l.size());

    const int narrow = width - w0;
    const std::vector<std::string> words =
        breakInstruction(instruction, narrow, 3 * width / 2, indexLines.size());

    out += indexLines.empty() ? std::string() : indexLines[0];
    if (!words.empty()) out += "\t" + words[0];
    out += "\n";
    ++lineCounter;
    const size_t rows = std::max(indexLines.size(), words.size());
    for (size_t r = 1; r < rows; ++r) {
        const bool hasIndex = r < indexLines.size(), hasWords = r < words.size();
        if (hasIndex && hasWords)
            out += "\t\t\t" + indexLines[r] + "\t" + words[r] + "\n";
        else if (hasIndex)
            out += "\t\t\t" + indexLines[r] + "\n";
        else if (static_cast<int>(words[r].size()) <= narrow)
            out += "\t\t\t\t" + words[r] + "\n";
        else
            out += "\t\t" + words[r] + "\n";
        ++lineCounter;
    }
}

// How wide the index column is: the cut list's fixed width, otherwise
// enough for the indexes of one tier of the design's symmetry.
int indexColumnWidth(const Stone& stone, int width) {
    if (width == CUT_LIST_WIDTH) return 48;
    if (stone.symmetry % 8 == 0) return 24;
    if (stone.symmetry % 5 == 0) return 15;
    if (stone.symmetry % 3 == 0) return 18;
    return 12;
}

// The first facet of the design that its preform does not carry: the
// instructions go on from there after the preform's own.
int32_t firstFacetPastPreform(const Stone& stone) {
    const Stone& pre = *stone.preform;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        bool matched = false;
        for (int32_t j = 0; j < pre.nFacet && !matched; ++j)
            matched = f.a == pre.facets[j].a && f.b == pre.facets[j].b && f.c == pre.facets[j].c;
        if (!matched) return i;
    }
    return stone.nFacet;
}

// The index a row lists for facet `i`: as set on the machine, the
// pavilion's and a pavilion-side girdle's counted from the other side.
double listedIndex(const Stone& stone, int32_t i, double gearNotches, int girdleSection, Diagnostics& notes) {
    const Facet& f = stone.facets[i];
    const auto fold = [gearNotches](double value) {
        return std::fabs(std::fabs(value) - gearNotches) < kIndexTolerance ? 0.0 : value;
    };
    double index = fold(stone.facetIndexOf(i, notes));
    if (std::fabs(f.c) <= EPS) {
        if (girdleSection == SECTION_PAVILION) index = gearNotches - index;
    } else if (f.c < -EPS) {
        index = fold(gearNotches - index);
    }
    return fold(index);
}

void writeSectionName(int section, int& lineCounter, std::string& out) {
    out += sectionName(section);
    out += "\n";
    ++lineCounter;
}

// Where the rows of one stone go, and where the rows' lines and the notes
// are kept: `preformLines` is null below the design's own preform.
struct Listing {
    int width;
    int& lineCounter;
    std::string& out;
    Diagnostics& notes;
    std::vector<int32_t>& lines;
    std::vector<int32_t>* preformLines;
};

// Writes the instruction part of `stone` (its preform's first) and returns
// the longest index line written.
size_t writeInstructions(const Stone& stone, const Listing& to, int& w0) {
    to.lines.assign(static_cast<size_t>(std::max(stone.nFacet, 0)), -1);
    if (stone.nFacet == 0) return 0;
    const int width = to.width;
    int& lineCounter = to.lineCounter;
    std::string& out = to.out;
    Writer w{stone, width, lineCounter, out};
    // In double: the magnitude of the most negative int32 gear is no int.
    w.gearNotches = std::fabs(static_cast<double>(stone.gear));
    // A zero gear has no notches to count digits of; one digit keeps the
    // formats valid. The width is the gear's count of digits, so at most ten
    // for any int32 gear, whatever the design file said.
    w.digits = w.gearNotches >= 1 ? static_cast<int>(std::trunc(std::log10(w.gearNotches))) + 1 : 1;
    w.digits = std::clamp(w.digits, 1, 10);
    w.w0 = indexColumnWidth(stone, width);
    w0 = w.w0;

    const Sections sections = findSections(stone);
    int32_t start = 0;
    size_t preformLongest = 0;
    if (stone.preform) {
        start = firstFacetPastPreform(stone);
        int preformW0 = 0;
        std::vector<int32_t> deeper;
        preformLongest = writeInstructions(
            *stone.preform, {width, lineCounter, out, to.notes, to.preformLines ? *to.preformLines : deeper, nullptr},
            preformW0);
    }
    const std::vector<bool> inPreform = preformMatches(stone);

    const auto listed = [&stone, &inPreform](int32_t i) {
        return !stone.facets[i].isRough() && !inPreform[static_cast<size_t>(i)];
    };
    const auto sectionOf = [&sections](const Facet& f) {
        return std::fabs(f.c) <= EPS ? sections.girdle : (f.c > EPS ? SECTION_CROWN : SECTION_PAVILION);
    };
    int current = sections.first;
    // After the preform's rows, the design's first heading would stand over
    // no row at all when every facet of the design lies in the preform (a
    // second "PREFORM" right after Copy to Preform), or when its first row
    // of its own opens another section (a "PAVILION" over a crown cut on a
    // pavilion-first preform): it is left out.
    bool firstHeading = true;
    if (stone.preform) {
        int32_t firstRow = start;
        while (firstRow < stone.nFacet && !listed(firstRow)) ++firstRow;
        firstHeading = firstRow < stone.nFacet &&
                       (current == SECTION_PREFORM || sectionOf(stone.facets[firstRow]) == current);
    }
    if (firstHeading) writeSectionName(current, lineCounter, out);

    std::vector<double> collected;
    std::string name;
    for (int32_t i = start; i < stone.nFacet; ++i) {
        if (!listed(i)) continue;
        const Facet& f = stone.facets[i];
        const int section = sectionOf(f);
        if (section != current) {
            if (current != SECTION_PREFORM) writeSectionName(section, lineCounter, out);
            current = section;
        }
        to.lines[static_cast<size_t>(i)] = lineCounter;

        // The row ends with the last listed facet of the tier; a facet that
        // is not listed must not keep the tier open, or its row would merge
        // into the next one or be lost.
        int32_t nextTier = -1;
        for (int32_t j = i + 1; j < stone.nFacet; ++j)
            if (listed(j)) {
                nextTier = stone.facets[j].tier;
                break;
            }

        const double angle = std::fabs(f.c) <= EPS ? 90 : std::fabs(stone.facetAngleOf(i));
        if (name.empty()) name = f.name;
        const std::string& instruction = stone.instructionOf(i);
        collected.push_back(listedIndex(stone, i, w.gearNotches, sections.girdle, to.notes));

        if (f.tier == nextTier) continue;
        w.row(collected, angle, f.c, name, instruction);
        name.clear();
        collected.clear();
    }
    return std::max(w.longest, preformLongest);
}

}  // namespace

const char* sectionName(int section) {
    switch (section) {
    case SECTION_PREFORM: return "PREFORM";
    case SECTION_PAVILION: return "PAVILION";
    case SECTION_CROWN: return "CROWN";
    default: return "";
    }
}

Sections findSections(const Stone& stone) {
    Sections s;
    bool crown = false, pavilion = false, girdle = false;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        if (f.c > EPS) {
            crown = true;
            if (s.first == SECTION_NONE) s.first = SECTION_CROWN;
        } else if (f.c < -EPS) {
            pavilion = true;
            if (s.first == SECTION_NONE) s.first = SECTION_PAVILION;
        } else {
            girdle = true;
        }
    }
    s.girdle = s.first == SECTION_PAVILION ? SECTION_PAVILION : SECTION_CROWN;
    if (girdle && !crown) {
        s.first = SECTION_PREFORM;
        s.girdle = SECTION_PAVILION;
    }
    if (girdle && !pavilion) {
        s.first = SECTION_PREFORM;
        s.girdle = SECTION_CROWN;
    }
    return s;
}

std::vector<bool> preformMatches(const Stone& stone) {
    std::vector<bool> matches(static_cast<size_t>(std::max(stone.nFacet, 0)), false);
    if (!stone.preform) return matches;
    const Stone& pre = *stone.preform;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        for (int32_t j = 0; j < pre.nFacet; ++j) {
            const Facet& p = pre.facets[j];
            if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) {
                matches[static_cast<size_t>(i)] = true;
                break;
            }
        }
    }
    return matches;
}

std::string statisticsText(const Stone& stone) {
    std::string out = lineBlock(stone.heading);
    if (out.empty()) out.push_back('\n');
    appendf(out, "Angles for R.I. = %.3f\n", stone.refractiveIndex);
    const int n = stone.nFacet - stone.nRough;
    if (stone.nGirdle != 0)
        appendf(out, "%d + %d girdles = %d facets\n", n - stone.nGirdle, stone.nGirdle, n);
    else
        appendf(out, "%d facets\n", n);
    if (stone.mirror)
        appendf(out, "%d-fold, mirror-image symmetry\n", stone.symmetry);
    else
        appendf(out, "%d-fold radial symmetry\n", stone.symmetry);
    appendf(out, "%lld index\n", std::llabs(stone.gear));

    const Proportions pr = proportionsOf(stone.stats);
    const double L = pr.L, W = pr.W;
    if (L < EPS || W < EPS) return out;

    if (L > EPS) appendf(out, "L/W = %.3f", L / W);
    if (pr.T > EPS) appendf(out, "  T/W = %.3f", pr.T / W);
    if (pr.U > EPS) appendf(out, "  U/W = %.3f", pr.U / W);
    out += "\n";
    if (pr.overlapping) {
        appendf(out, "H/W = %.3f", pr.H / W);
    } else {
        if (pr.P > EPS) appendf(out, "P/W = %.3f  ", pr.P / W);
        if (pr.C > EPS) appendf(out, "C/W = %.3f", pr.C / W);
    }
    out += "\n";
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& fi = stone.facets[i];
        if (std::fabs(fi.c) > EPS || fi.name.empty()) continue;
        for (int32_t j = i + 1; j < stone.nFacet; ++j) {
            const Facet& fj = stone.facets[j];
            if (std::fabs(fj.c) > EPS || fj.name.empty()) continue;
            if (std::fabs(fi.a * fj.a + fi.b * fj.b + 1) > EPS) continue;
            appendf(out, "(%s %s)/W = %.3f\n", fi.name.c_str(), fj.name.c_str(), (fi.d + fj.d) / W);
        }
    }
    const double volume = volumeOf(stone).volume;
    appendf(out, "Vol./W%s = %.3f\n", kCube, volume / (W * W * W));
    return out;
}

std::string InstructionText::raw() const {
    std::string buffer = instructions;
    buffer += '\0';
    buffer += footnote;
    buffer += '\0';
    return buffer;
}

int instructionText(const Stone& stone, int width, int& lineCounter, InstructionText& out) {
    out.instructions.clear();
    out.footnote.clear();
    out.lineOfFacet.assign(static_cast<size_t>(std::max(stone.nFacet, 0)), -1);
    out.lineOfPreformFacet.assign(stone.preform ? static_cast<size_t>(std::max(stone.preform->nFacet, 0)) : 0, -1);
    out.notes.clear();
    if (stone.nFacet == 0) return 0;
    int w0 = 0;
    const size_t longest = writeInstructions(
        stone, {width, lineCounter, out.instructions, out.notes, out.lineOfFacet, &out.lineOfPreformFacet}, w0);
    out.footnote = lineBlock(stone.footnote);
    return std::min(w0, static_cast<int>(longest));
}

ListedFacet facetOnLine(const InstructionText& text, int32_t line) {
    const auto first = [line](const std::vector<int32_t>& lines) {
        const auto at = std::find(lines.begin(), lines.end(), line);
        return at == lines.end() ? -1 : static_cast<int32_t>(at - lines.begin());
    };
    if (line < 0) return {};
    if (const int32_t facet = first(text.lineOfFacet); facet >= 0) return {facet, false};
    if (const int32_t facet = first(text.lineOfPreformFacet); facet >= 0) return {facet, true};
    return {};
}

}  // namespace brevix
