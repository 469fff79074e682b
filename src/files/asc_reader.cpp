// Reading the text format: a stream of blank-separated tokens whose first
// character selects the record; three records (H, F, G) take the rest of
// their line.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <istream>

#include "files/asc_format.h"
#include "files/build_stone.h"
#include "files/c_numbers.h"
#include "files/design_value_checks.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/file_units.h"
#include "files/memory_input.h"
#include "kernel/index_azimuth.h"
#include "platform/diag_codes.h"
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

namespace {

// Reads the records after the header into a design record, one step for
// each kind of record. Settings, skipped indexes and notes are kept with the
// number of planes read before them (see design_record.h).
class AscParser {
public:
    AscParser(AscTokens& tokens, const DesignSettings& start) : tokens_(tokens), now_(start) {
        record_.instructionsFollowTier = true;
        record_.preformFromFirstLoss = true;
        // The symmetry is held aside and given when reading ends; until then
        // the design has none (and so has the preform it implies).
        now_.symmetry = 1;
        now_.mirror = 0;
        record_.tallies = {{DiagKind::Warning, DiagCode::FileIndexBeforeAngle, filemsg::INDEX_BEFORE_ANGLE, {}},
                           {DiagKind::Warning, DiagCode::FileIndexWithZeroGear, filemsg::INDEX_WITH_ZERO_GEAR, {}},
                           {DiagKind::Warning, DiagCode::FileIndexNotFinite, filemsg::INDEX_NOT_FINITE, {}},
                           {DiagKind::Warning, DiagCode::FileNameTruncated, filemsg::ASC_NAME_TRUNCATED, {}}};
    }

    DesignRecord read() {
        std::string_view token;
        while (tokens_.next(token)) {
            const char key = token[0];
            if (key != 'H' && key != 'F') lineCounter_ = 0;
            bool goOn = true;
            if (key == 'H' || key == 'F')
                readLine(key);
            else if (key == 'g')
                goOn = readGear();
            else if (key == 'y')
                readSymmetry();
            else if (key == 'I')
                readRefractiveIndex();
            else if (key == 'a')
                readTier();
            else if (isIndexKey(key))
                readIndex(token);
            else if (key == 'n')
                goOn = readName();
            else if (key == 'G')
                readInstruction();
            if (!goOn) break;
        }
        markStage();
        return std::move(record_);
    }

private:
    enum Tally { BEFORE_ANGLE, ZERO_GEAR, NOT_FINITE, NAME_TRUNCATED };

    void note(DiagCode code, std::string_view text) {
        record_.notes.push_back({record_.planes.size(), {DiagKind::Warning, std::string(text), code}});
    }
    void tally(Tally which) { record_.tallies[which].atPlane.push_back(record_.planes.size()); }

    // The settings as they stand, kept when they changed since the last stage.
    void markStage() {
        DesignSettings settings = now_;
        settings.symmetry = heldSymmetry_;
        settings.mirror = heldMirror_;
        if (!record_.stages.empty() && record_.stages.back().settings == settings) return;
        if (!record_.stages.empty() && record_.stages.back().atPlane == record_.planes.size())
            record_.stages.back().settings = std::move(settings);
        else
            record_.stages.push_back({record_.planes.size(), std::move(settings)});
    }

    void readLine(char key) {
        std::string rest = tokens_.restOfLine();
        if (lineCounter_ < 4) {
            (key == 'H' ? now_.heading : now_.footnote)[lineCounter_] = std::move(rest);
            ++lineCounter_;
        }
    }

    // False when the gear or offset is one no design may hold: reading stops.
    bool readGear() {
        std::string_view value;
        if (tokens_.next(value)) {
            const int gear = parseInt(value);
            if (const std::string problem = gearProblem(gear); !problem.empty()) {
                note(DiagCode::FileGearOutOfRange, problem);
                return false;
            }
            now_.gear = gear;
        }
        if (tokens_.next(value)) {
            const double offset = parseDouble(value);
            if (const std::string problem = indexOffsetProblem(offset); !problem.empty()) {
                note(DiagCode::FileIndexOffsetRefused, readingStoppedMessage(problem));
                return false;
            }
            now_.indexOffset = offset;
        }
        return true;
    }

    void readSymmetry() {
        std::string_view value;
        if (tokens_.next(value)) {
            const int symmetry = parseInt(value);
            if (const std::string problem = symmetryProblem(symmetry); !problem.empty())
                note(DiagCode::FileSymmetryRefused, valueKeptMessage(problem, strprintf("%d", heldSymmetry_)));
            else
                heldSymmetry_ = symmetry;
        }
        if (tokens_.next(value)) heldMirror_ = (value[0] == 'y' || value[0] == 'Y') ? 1 : 0;
    }

    void readRefractiveIndex() {
        std::string_view value;
        if (!tokens_.next(value)) return;
        const double refractiveIndex = parseDouble(value);
        if (const std::string problem = refractiveIndexProblem(refractiveIndex); !problem.empty())
            note(DiagCode::FileRefractiveIndexRefused, valueKeptMessage(problem, strprintf("%.2f", now_.refractiveIndex)));
        else
            now_.refractiveIndex = refractiveIndex;
    }

    void readTier() {
        std::string_view value;
        if (tokens_.next(value)) {
            angle_ = parseDouble(value);
            tilt_ = angle_ * READ_PI / 180;
        }
        if (tokens_.next(value)) {
            depth_ = parseDouble(value) * FILE_SCALE;
            if (angle_ < 0) depth_ = -depth_;
        }
        haveTier_ = true;
        ++tier_;
    }

    void readIndex(std::string_view token) {
        lastIndexPlane_ = false;
        double index = parseDouble(token);
        if (!haveTier_) return tally(BEFORE_ANGLE);
        if (now_.gear == 0) return tally(ZERO_GEAR);
        if (angle_ == 0) index = 0;
        const double azimuth = azimuthOf(index, now_.gear, now_.indexOffset);
        // Within the kernel's tolerance of the centre is through it.
        if (std::fabs(depth_) <= EPS) return note(DiagCode::FileFacetThroughCentre, filemsg::FACET_THROUGH_CENTER);
        if (!std::isfinite(azimuth) || !std::isfinite(tilt_) || !std::isfinite(depth_)) return tally(NOT_FINITE);
        markStage();
        FacetPlane plane;
        plane.form = FacetPlane::Angle;
        plane.azimuth = azimuth;
        plane.tilt = tilt_;
        plane.depth = depth_;
        plane.angle = angle_;
        plane.index = index;
        plane.tier = tier_;
        record_.planes.push_back(std::move(plane));
        lastIndexPlane_ = true;
    }

    // A name that follows an index which made no plane belongs to that
    // missing facet, not to the one before it.
    bool readName() {
        std::string_view value;
        if (!tokens_.next(value)) return false;
        if (value.size() > NAME_CHARS) {
            value = value.substr(0, NAME_CHARS);
            tally(NAME_TRUNCATED);
        }
        if (lastIndexPlane_) record_.planes.back().name = std::string(value);
        return true;
    }

    void readInstruction() {
        std::string rest = tokens_.restOfLine();
        if (rest.empty())
            note(DiagCode::FileInstructionWithoutText, filemsg::G_WITHOUT_TEXT);
        else if (!record_.planes.empty() && record_.planes.back().tier == tier_)
            record_.planes.back().instruction = std::move(rest);
    }

    AscTokens& tokens_;
    DesignRecord record_;
    DesignSettings now_;
    int32_t heldSymmetry_ = 1, heldMirror_ = 0;
    int lineCounter_ = 0;
    bool haveTier_ = false;  // an a record has been read
    int32_t tier_ = 0;       // a records read
    double angle_ = 0, tilt_ = 0, depth_ = 0;
    bool lastIndexPlane_ = false;  // the most recent index gave a plane
};

}  // namespace

DesignRecord readAscRecord(std::istream& in, const DesignSettings& start) {
    AscTokens tokens(in.rdbuf());
    if (!headerOk(tokens)) {
        DesignRecord record;
        record.notes.push_back({0, {DiagKind::Warning, filemsg::NOT_ASC, DiagCode::FileNotAsc}});
        return record;
    }
    return AscParser(tokens, start).read();
}

DesignRecord readAscRecord(std::span<const unsigned char> bytes, const DesignSettings& start) {
    MemoryInput in(bytes);
    return readAscRecord(in, start);
}

void readAsc(Stone& stone, std::istream& in) { buildStone(stone, readAscRecord(in, settingsOf(stone))); }

void readAsc(Stone& stone, std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    readAsc(stone, in);
}

bool readAscFile(Stone& stone, const std::string& path) {
    std::string problem = readProblem(path);
    std::ifstream in;
    if (problem.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        stone.addNote(DiagKind::Warning, DiagCode::FileCannotOpenToRead, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, problem));
        return false;
    }
    readAsc(stone, in);
    return true;
}

}  // namespace brevix
