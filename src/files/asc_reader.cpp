// Reading the text format: a stream of blank-separated tokens whose first
// character selects the record; three records (H, F, G) take the rest of
// their line.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <istream>

#include "files/asc_format.h"
#include "files/c_numbers.h"
#include "files/design_value_checks.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/file_units.h"
#include "files/memory_input.h"
#include "files/plane_cutter.h"
#include "kernel/index_azimuth.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr size_t LINE_CHARS = 511;  // one read of the 512-byte line buffer
constexpr size_t NAME_CHARS = 255;  // the 256-byte name buffer
constexpr double READ_PI = 3.141592653589793;

// Lines as the original reads them with fgets into 512 bytes, in text mode:
// at most 511 characters a read (the rest of a longer line comes as the next
// line), "\r\n" taken as one line end, and nothing after a zero byte seen.
class AscTokens {
public:
    explicit AscTokens(std::streambuf* buffer) : buffer_(buffer) {}

    // The next token, reading further lines as needed; false at the end.
    bool next(std::string_view& token) {
        for (;;) {
            while (pos_ < line_.size() && isSeparator(line_[pos_])) ++pos_;
            if (pos_ < line_.size()) {
                const size_t start = pos_;
                while (pos_ < line_.size() && !isSeparator(line_[pos_])) ++pos_;
                tokenStart_ = start;
                token = std::string_view(line_).substr(start, pos_ - start);
                return true;
            }
            if (!readLine()) return false;
        }
    }

    // The text starting two characters after the current token's first
    // character, to the end of its line; reading goes on with the next line.
    std::string restOfLine() {
        const size_t start = tokenStart_ + 2;
        std::string rest = start < line_.size() ? line_.substr(start) : std::string();
        pos_ = line_.size();
        return rest;
    }

private:
    static bool isSeparator(char c) { return c == ' ' || c == '\t'; }

    bool readLine() {
        line_.clear();
        pos_ = 0;
        tokenStart_ = 0;
        if (!buffer_) return false;
        size_t count = 0;
        bool any = false;
        while (count < LINE_CHARS) {
            int c = buffer_->sbumpc();
            if (c == std::char_traits<char>::eof()) break;
            any = true;
            ++count;
            if (c == '\r' && buffer_->sgetc() == '\n') {
                buffer_->sbumpc();
                break;
            }
            if (c == '\n') break;
            line_.push_back(static_cast<char>(c));
        }
        if (size_t zero = line_.find('\0'); zero != std::string::npos) line_.resize(zero);
        return any;
    }

    std::streambuf* buffer_;
    std::string line_;
    size_t pos_ = 0;
    size_t tokenStart_ = 0;
};

bool headerOk(AscTokens& tokens) {
    std::string_view word, version;
    if (!tokens.next(word) || word != "Brevix") return false;
    if (!tokens.next(version)) return false;
    return parseDouble(version) >= 3.99;
}

bool isIndexKey(char c) { return c == '-' || (c >= '0' && c <= '9'); }

}  // namespace

bool isAscFile(std::istream& in) {
    std::streambuf* buffer = in.rdbuf();
    if (!buffer) return false;
    const auto position = buffer->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
    AscTokens tokens(buffer);
    const bool ok = headerOk(tokens);
    if (position != std::streambuf::pos_type(std::streambuf::off_type(-1)))
        buffer->pubseekpos(position, std::ios_base::in);
    in.clear();
    return ok;
}

bool isAscFile(std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return isAscFile(in);
}

void readAsc(Stone& stone, std::istream& in) {
    AscTokens tokens(in.rdbuf());
    if (!headerOk(tokens)) {
        stone.addNote(DiagKind::Warning, filemsg::NOT_ASC);
        return;
    }
    stone.symmetry = 1;
    stone.mirror = 0;
    int32_t heldSymmetry = 1, heldMirror = 0;

    PlaneCutter cutter(stone);
    int lineCounter = 0;
    bool haveTier = false;  // an a record has been read
    double angle = 0, tilt = 0, depth = 0;
    bool lastIndexCut = false;  // the most recent index made a facet
    bool tierCut = false;       // some index of the current a record made a facet
    int beforeAngle = 0, zeroGear = 0, notFinite = 0;
    bool truncatedName = false;

    std::string_view token;
    while (tokens.next(token)) {
        const char key = token[0];
        if (key != 'H' && key != 'F') lineCounter = 0;
        std::string_view value;
        if (key == 'H' || key == 'F') {
            std::string rest = tokens.restOfLine();
            if (lineCounter < 4) {
                (key == 'H' ? stone.heading : stone.footnote)[lineCounter] = std::move(rest);
                ++lineCounter;
            }
        } else if (key == 'g') {
            if (tokens.next(value)) {
                const int gear = parseInt(value);
                if (const std::string problem = gearProblem(gear); !problem.empty()) {
                    stone.addNote(DiagKind::Warning, problem);
                    break;
                }
                stone.gear = gear;
            }
            if (tokens.next(value)) {
                const double offset = parseDouble(value);
                if (const std::string problem = indexOffsetProblem(offset); !problem.empty()) {
                    stone.addNote(DiagKind::Warning, readingStoppedMessage(problem));
                    break;
                }
                stone.indexOffset = offset;
            }
        } else if (key == 'y') {
            if (tokens.next(value)) {
                const int symmetry = parseInt(value);
                if (const std::string problem = symmetryProblem(symmetry); !problem.empty())
                    stone.addNote(DiagKind::Warning, valueKeptMessage(problem, strprintf("%d", heldSymmetry)));
                else
                    heldSymmetry = symmetry;
            }
            if (tokens.next(value)) heldMirror = (value[0] == 'y' || value[0] == 'Y') ? 1 : 0;
        } else if (key == 'I') {
            if (tokens.next(value)) {
                const double refractiveIndex = parseDouble(value);
                if (const std::string problem = refractiveIndexProblem(refractiveIndex); !problem.empty())
                    stone.addNote(DiagKind::Warning, valueKeptMessage(problem, strprintf("%.2f", stone.refractiveIndex)));
                else
                    stone.refractiveIndex = refractiveIndex;
            }
        } else if (key == 'a') {
            if (tokens.next(value)) {
                angle = parseDouble(value);
                tilt = angle * READ_PI / 180;
            }
            if (tokens.next(value)) {
                depth = parseDouble(value) * FILE_SCALE;
                if (angle < 0) depth = -depth;
            }
            haveTier = true;
            tierCut = false;
        } else if (isIndexKey(key)) {
            lastIndexCut = false;
            double index = parseDouble(token);
            if (!haveTier) {
                ++beforeAngle;
                continue;
            }
            if (stone.gear == 0) {
                ++zeroGear;
                continue;
            }
            if (angle == 0) index = 0;
            const double azimuth = azimuthOf(index, stone.gear, stone.indexOffset);
            // Within the kernel's tolerance of the centre is through it.
            if (std::fabs(depth) <= EPS) {
                stone.addNote(DiagKind::Warning, filemsg::FACET_THROUGH_CENTER);
                continue;
            }
            if (!std::isfinite(azimuth) || !std::isfinite(tilt) || !std::isfinite(depth)) {
                ++notFinite;
                continue;
            }
            const int result = cutter.cutByAngle(azimuth, tilt, depth);
            if (result == PlaneCutter::BROKEN) break;
            // The preform is the stone before the first cut that wiped out a facet.
            if (result > 0 && !stone.preform) stone.setPreform(cutter.stoneBeforeLastCut());
            lastIndexCut = result >= 0;
            tierCut = tierCut || lastIndexCut;
        } else if (key == 'n') {
            if (!tokens.next(value)) break;
            if (value.size() > NAME_CHARS) {
                value = value.substr(0, NAME_CHARS);
                truncatedName = true;
            }
            // A name that follows an index which made no facet belongs to
            // that missing facet, not to the one cut before it.
            if (lastIndexCut) cutter.setName(stone.nFacet - 1, value);
        } else if (key == 'G') {
            std::string rest = tokens.restOfLine();
            if (rest.empty())
                stone.addNote(DiagKind::Warning, filemsg::G_WITHOUT_TEXT);
            else if (tierCut)
                cutter.setInstruction(stone.nFacet - 1, rest);
        }
    }
    stone.symmetry = heldSymmetry;
    stone.mirror = heldMirror;

    if (beforeAngle > 0) stone.addNote(DiagKind::Warning, strprintf(filemsg::INDEX_BEFORE_ANGLE, beforeAngle));
    if (zeroGear > 0) stone.addNote(DiagKind::Warning, strprintf(filemsg::INDEX_WITH_ZERO_GEAR, zeroGear));
    if (notFinite > 0) stone.addNote(DiagKind::Warning, strprintf(filemsg::INDEX_NOT_FINITE, notFinite));
    if (truncatedName) stone.addNote(DiagKind::Warning, filemsg::ASC_NAME_TRUNCATED);
}

void readAsc(Stone& stone, std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    readAsc(stone, in);
}

bool readAscFile(Stone& stone, const std::string& path) {
    std::string problem = readProblem(path);
    std::ifstream in;
    if (problem.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        stone.addNote(DiagKind::Warning, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, problem));
        return false;
    }
    readAsc(stone, in);
    return true;
}

}  // namespace brevix
