// Writing the binary format. The writer refuses a design whose texts the
// reader would reject (it never writes a file it cannot read back).
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "files/binary_io.h"
#include "files/facet_ring.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/file_units.h"
#include "files/gem_format.h"
#include "files/gem_pole.h"
#include "files/replacing_file.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr size_t DOS_LINE = 79;

// A tab would end the name early: the tab separates name and instruction.
std::string nameForGem(const std::string& name, bool& changed) {
    std::string out = name;
    for (char& c : out) {
        if (c == '\t') {
            c = ' ';
            changed = true;
        }
    }
    return out;
}

void putText(std::string& out, const std::string& text) {
    out.push_back(static_cast<char>(text.size() & 0xFF));
    out += text;
}

// One design without its preform; returns whether a line is too long for DOS.
bool designBytes(const Stone& s, std::string& out, bool& tabsChanged) {
    std::vector<int32_t> ring;
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const Facet& f = s.facets[i];
        if (f.isRough()) continue;
        for (double component : poleOf(f)) le::putDouble(out, component);
        le::putI32(out, f.tier);
        putText(out, nameForGem(f.name, tabsChanged) + '\t' + s.instructionOf(i));
        facetRing(s, i, ring);
        for (int32_t v : ring) {
            le::putI32(out, 1);
            le::putDouble(out, s.vertices[v].x / FILE_SCALE);
            le::putDouble(out, s.vertices[v].y / FILE_SCALE);
            le::putDouble(out, s.vertices[v].z / FILE_SCALE);
        }
        le::putI32(out, 0);
    }
    le::putDouble(out, END_OF_FACETS);
    le::putI32(out, s.symmetry);
    le::putI32(out, s.mirror);
    le::putI32(out, s.gear);
    le::putDouble(out, s.refractiveIndex);
    le::putI32(out, OFFSET_AS_DOUBLE);
    le::putDouble(out, s.indexOffset);
    bool longLine = false;
    for (int k = 0; k < 8; ++k) {
        const std::string& line = k < 4 ? s.heading[k] : s.footnote[k - 4];
        putText(out, line);  // a null line is the single byte 0
        longLine = longLine || line.size() > DOS_LINE;
    }
    return longLine;
}

std::string designProblem(const Stone& s, const std::string& design) {
    if (std::llabs(s.gear) > MAX_GEAR_TEETH)
        return strprintf(filemsg::GEAR_TOO_LARGE_TO_SAVE, static_cast<long long>(s.gear));
    int number = 0;  // as the user counts them: the rough block's faces left out
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const Facet& f = s.facets[i];
        if (f.isRough()) continue;
        ++number;
        const std::string facet = strprintf("%s facet %d%s%s%s", design.c_str(), number,
                                            f.name.empty() ? "" : " (", f.name.c_str(),
                                            f.name.empty() ? "" : ")");
        // The reader refuses a pole longer than the limit as a corrupt file,
        // so such a facet must not go into one.
        const std::array<double, 3> pole = poleOf(f);
        const double poleLength = std::sqrt(pole[0] * pole[0] + pole[1] * pole[1] + pole[2] * pole[2]);
        if (!(poleLength > 0 && poleLength <= GEM_MAX_POLE))
            return strprintf(filemsg::GEM_TOO_NEAR_CENTRE, facet.c_str(), f.d);
        const size_t length = f.name.size() + 1 + s.instructionOf(i).size();
        if (length > static_cast<size_t>(GEM_MAX_FACET_TEXT)) {
            const std::string what = "the name, a tab and the cutting instruction of " + facet;
            return strprintf(filemsg::GEM_TOO_LONG, what.c_str(), static_cast<int>(length),
                             GEM_MAX_FACET_TEXT);
        }
    }
    for (int k = 0; k < 8; ++k) {
        const std::string& line = k < 4 ? s.heading[k] : s.footnote[k - 4];
        if (line.size() > static_cast<size_t>(GEM_MAX_LINE)) {
            const std::string what = strprintf("%s line %d of the %s", k < 4 ? "heading" : "footnote",
                                               k % 4 + 1, design.c_str());
            return strprintf(filemsg::GEM_TOO_LONG, what.c_str(), static_cast<int>(line.size()),
                             GEM_MAX_LINE);
        }
    }
    return {};
}

}  // namespace

std::string gemSaveProblem(const Stone& stone) {
    std::string design = "design";
    for (const Stone* s = &stone; s; s = s->preform.get()) {
        if (std::string problem = designProblem(*s, design); !problem.empty()) return problem;
        design = "preform";
    }
    return {};
}

bool writeGem(const Stone& stone, std::ostream& out, Diagnostics& notes) {
    if (std::string problem = gemSaveProblem(stone); !problem.empty()) {
        notes.warning(DiagCode::FileFormatCannotHold, problem);
        out.setstate(std::ios::failbit);
        return false;
    }
    std::string bytes;
    std::vector<bool> longLines;
    bool tabsChanged = false;
    for (const Stone* s = &stone; s; s = s->preform.get()) {
        if (s != &stone) putText(bytes, "preform");
        longLines.push_back(designBytes(*s, bytes, tabsChanged));
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (tabsChanged)
        notes.info(DiagCode::FileGemNameTabs, filemsg::GEM_NAME_TABS);
    // Each design warns after its preform is written, as the nested writes did.
    for (auto it = longLines.rbegin(); it != longLines.rend(); ++it)
        if (*it) notes.warning(DiagCode::FileGemDosWarning, filemsg::GEM_DOS_WARNING);
    return true;
}

bool writeGemFile(const Stone& stone, const std::string& path, Diagnostics& notes) {
    if (std::string problem = gemSaveProblem(stone); !problem.empty()) {
        notes.warning(DiagCode::FileFormatCannotHold, problem);
        return false;
    }
    ReplacingFile file(path, true);
    if (!file.isOpen()) {
        notes.warning(DiagCode::FileCannotOpenToWrite, fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem()));
        return false;
    }
    writeGem(stone, file.stream(), notes);
    if (!file.commit()) {
        notes.warning(DiagCode::FileErrorWriting, fileMessage(filemsg::ERROR_WRITING, path, file.problem()));
        return false;
    }
    return true;
}

}  // namespace brevix
