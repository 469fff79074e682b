#include "intent/intent_file.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "files/bounded_lines.h"
#include "files/design_value_checks.h"
#include "files/memory_input.h"
#include "intent/inference.h"
#include "intent/kernel_bridge.h"
#include "intent/recut.h"
#include "intent/tier_planes.h"
#include "kernel/kernel_error.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// Bounds that keep a damaged or hostile file from asking for unbounded work.
constexpr size_t MAX_TIERS = MAX_INTENT_TIERS;
constexpr size_t MAX_TIER_FACETS = MAX_INTENT_TIER_FACETS;
constexpr size_t MAX_POINT_DEPTH = 8;
// Every line but the tiers (and the preform's, as many again at most)
// comes once: more lines than that are no file this program wrote.
constexpr size_t MAX_RECORDS = 2 * MAX_TIERS + 16;

constexpr const char* LEGACY_HEADER = "Brevix intent 1";
constexpr const char* END_LINE = "end";

std::string number(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string encode(const std::string& text) {
    if (text.empty()) return "-";
    std::string out;
    for (unsigned char c : text) {
        if (c <= ' ' || c == '%' || c == '|' || c == 0x7F || (out.empty() && c == '-'))
            out += strprintf("%%%02X", c);
        else
            out += char(c);
    }
    return out;
}

std::optional<std::string> decode(const std::string& token) {
    if (token == "-") return std::string();
    std::string out;
    for (size_t k = 0; k < token.size(); ++k) {
        if (token[k] != '%') {
            out += token[k];
            continue;
        }
        if (k + 3 > token.size()) return std::nullopt;
        int value = 0;
        const auto r = std::from_chars(token.data() + k + 1, token.data() + k + 3, value, 16);
        if (r.ec != std::errc() || r.ptr != token.data() + k + 3) return std::nullopt;
        out += char(value);
        k += 2;
    }
    return out;
}

std::string refText(const FacetRef& ref) { return strprintf("%d:", int(ref.tier)) + number(ref.index); }

void writePoint(std::string& out, const PointDef& p) {
    const auto refs = [&](const std::vector<FacetRef>& list) {
        for (const FacetRef& r : list) out += " " + refText(r);
    };
    switch (p.kind) {
    case PointKind::Meet:
        out += strprintf(" meet %d", int(p.facets.size()));
        refs(p.facets);
        return;
    case PointKind::OnEdge:
        out += " edge";
        refs(p.facets);
        out += " " + number(p.fraction) + (p.ofWidth ? " w" : " l");
        for (const PointDef& part : p.parts) writePoint(out, part);
        return;
    case PointKind::Between:
        out += " between " + number(p.fraction) + (p.ofWidth ? " w" : " l");
        for (const PointDef& part : p.parts) writePoint(out, part);
        return;
    case PointKind::Pierce:
        out += " pierce " + number(p.at.x) + " " + number(p.at.y) + " " + number(p.at.z);
        return;
    case PointKind::ZIntercept:
        out += " zaxis";
        refs(p.facets);
        return;
    case PointKind::Centre:
        out += " centre " + number(p.at.z);
        return;
    }
}

std::string ruleText(const TierIntent& t) {
    std::string out;
    switch (t.depth) {
    case DepthRule::Typed:
        out = "typed";
        break;
    case DepthRule::FirstDefault:
        out = "default";
        break;
    case DepthRule::Points:
        out = strprintf("points %d %d %d", int(t.points.size()), t.angleFromPoints ? 1 : 0,
                        t.indexFromPoints ? 1 : 0);
        for (const PointDef& p : t.points) writePoint(out, p);
        break;
    }
    if (t.inferred) out += " inferred";
    return out;
}

// ---- reading ----------------------------------------------------------

class Tokens {
public:
    explicit Tokens(const std::string& text) {
        std::istringstream in(text);
        std::string word;
        while (in >> word) words_.push_back(word);
    }
    bool done() const { return next_ >= words_.size(); }
    std::optional<std::string> word() {
        if (done()) return std::nullopt;
        return words_[next_++];
    }
    std::optional<double> real() {
        const std::optional<std::string> w = word();
        if (!w) return std::nullopt;
        const std::optional<double> v = wholeNumber(*w, false);
        if (!v || !std::isfinite(*v)) return std::nullopt;
        return v;
    }
    std::optional<long> integer(long low, long high) {
        const std::optional<std::string> w = word();
        if (!w) return std::nullopt;
        long v = 0;
        const auto r = std::from_chars(w->data(), w->data() + w->size(), v);
        if (r.ec != std::errc() || r.ptr != w->data() + w->size() || v < low || v > high) return std::nullopt;
        return v;
    }

private:
    std::vector<std::string> words_;
    size_t next_ = 0;
};

std::vector<std::string> splitBars(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find('|', start);
        parts.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

struct RuleReader {
    const DesignIntent& intent;
    int32_t tier;
    int32_t gear;

    std::optional<FacetRef> ref(Tokens& in) const {
        const std::optional<std::string> w = in.word();
        if (!w) return std::nullopt;
        const size_t colon = w->find(':');
        if (colon == std::string::npos) return std::nullopt;
        long t = 0;
        const auto r1 = std::from_chars(w->data(), w->data() + colon, t);
        const std::optional<double> read = wholeNumber(std::string_view(*w).substr(colon + 1), false);
        if (r1.ec != std::errc() || r1.ptr != w->data() + colon || !read || !std::isfinite(*read))
            return std::nullopt;
        const double index = *read;
        // A point can only be made of facets cut before its tier.
        if (t < 0 || t >= tier || positionInTier(intent.tiers[t], index, gear) < 0) return std::nullopt;
        return FacetRef{int32_t(t), index};
    }

    std::optional<PointDef> point(Tokens& in, size_t depth) const {
        if (depth > MAX_POINT_DEPTH) return std::nullopt;
        const std::optional<std::string> kind = in.word();
        if (!kind) return std::nullopt;
        PointDef p;
        const auto fraction = [&]() -> bool {
            const std::optional<double> f = in.real();
            const std::optional<std::string> unit = in.word();
            if (!f || !unit || (*unit != "w" && *unit != "l")) return false;
            p.fraction = *f;
            p.ofWidth = *unit == "w";
            return true;
        };
        if (*kind == "meet") {
            p.kind = PointKind::Meet;
            const std::optional<long> n = in.integer(3, 64);
            if (!n) return std::nullopt;
            for (long k = 0; k < *n; ++k) {
                const std::optional<FacetRef> r = ref(in);
                if (!r) return std::nullopt;
                p.facets.push_back(*r);
            }
            return p;
        }
        if (*kind == "edge") {
            p.kind = PointKind::OnEdge;
            for (int k = 0; k < 2; ++k) {
                const std::optional<FacetRef> r = ref(in);
                if (!r) return std::nullopt;
                p.facets.push_back(*r);
            }
            if (!fraction()) return std::nullopt;
            const std::optional<PointDef> end = point(in, depth + 1);
            if (!end || end->kind != PointKind::Meet) return std::nullopt;
            p.parts.push_back(*end);
            return p;
        }
        if (*kind == "between") {
            p.kind = PointKind::Between;
            if (!fraction()) return std::nullopt;
            for (int k = 0; k < 2; ++k) {
                const std::optional<PointDef> part = point(in, depth + 1);
                if (!part) return std::nullopt;
                p.parts.push_back(*part);
            }
            return p;
        }
        if (*kind == "pierce") {
            p.kind = PointKind::Pierce;
            const std::optional<double> x = in.real(), y = in.real(), z = in.real();
            if (!x || !y || !z) return std::nullopt;
            p.at = {*x, *y, *z};
            return p;
        }
        if (*kind == "zaxis") {
            p.kind = PointKind::ZIntercept;
            const std::optional<FacetRef> r = ref(in);
            if (!r) return std::nullopt;
            p.facets.push_back(*r);
            return p;
        }
        if (*kind == "centre") {
            p.kind = PointKind::Centre;
            const std::optional<double> z = in.real();
            if (!z) return std::nullopt;
            p.at = {0, 0, *z};
            return p;
        }
        return std::nullopt;
    }

    bool rule(const std::string& text, TierIntent& t) const {
        Tokens in(text);
        const std::optional<std::string> kind = in.word();
        if (!kind) return false;
        if (*kind == "typed") {
            t.depth = DepthRule::Typed;
        } else if (*kind == "default") {
            t.depth = DepthRule::FirstDefault;
        } else if (*kind == "points") {
            t.depth = DepthRule::Points;
            const std::optional<long> n = in.integer(1, 3);
            const std::optional<long> a = in.integer(0, 1), i = in.integer(0, 1);
            if (!n || !a || !i) return false;
            t.angleFromPoints = *a == 1;
            t.indexFromPoints = *i == 1;
            for (long k = 0; k < *n; ++k) {
                const std::optional<PointDef> p = point(in, 0);
                if (!p) return false;
                t.points.push_back(*p);
            }
        } else {
            return false;
        }
        if (!in.done()) {
            if (in.word() != std::optional<std::string>("inferred") || !in.done()) return false;
            t.inferred = true;
        }
        return true;
    }
};

// Angle, depth, index, symmetry and mirror, then the index list.
bool readSettings(const std::string& head, const std::string& list, TierIntent& t, bool withRule) {
    Tokens in(head);
    const std::optional<double> angle = in.real(), ced = in.real();
    if (!angle || !ced || *angle < -90 || *angle > 90 || *ced == 0 || std::fabs(*ced) > 1e6) return false;
    // Only a level facet carries its direction in the depth's sign.
    if (*ced < 0 && *angle != 0) return false;
    t.angle = *angle;
    t.ced = *ced;
    if (withRule) {
        const std::optional<double> index = in.real();
        const std::optional<long> s = in.integer(0, MAX_GEAR_TEETH), m = in.integer(0, 1);
        if (!index || !s || !m) return false;
        t.index = *index;
        t.symmetry = int32_t(*s);
        t.mirror = int32_t(*m);
    }
    if (!in.done()) return false;
    Tokens indexes(list);
    while (!indexes.done()) {
        const std::optional<double> v = indexes.real();
        if (!v || t.indexes.size() >= MAX_TIER_FACETS) return false;
        t.indexes.push_back(*v);
    }
    if (!withRule && !t.indexes.empty()) t.index = t.indexes.front();
    return !t.indexes.empty();
}

}  // namespace

const char* intentFileHeader() { return "Brevix intent 2"; }

std::string intentLimitProblem(const DesignIntent& intent) {
    if (intent.tiers.size() > MAX_TIERS)
        return strprintf("The design has %zu tiers; a design file holds at most %zu.", intent.tiers.size(), MAX_TIERS);
    for (size_t t = 0; t < intent.tiers.size(); ++t) {
        const TierIntent& tier = intent.tiers[t];
        if (tier.symmetry != 0 && !symmetryProblem(tier.symmetry).empty())
            return strprintf("Tier %zu has a symmetry of %d; a design's symmetry is a whole number from 1 to %lld.",
                             t + 1, int(tier.symmetry), MAX_FILE_SYMMETRY);
        if (tier.indexes.size() > MAX_TIER_FACETS)
            return strprintf("Tier %zu has %zu facets; a tier holds at most %zu.", t + 1, tier.indexes.size(),
                             MAX_TIER_FACETS);
    }
    return {};
}

std::string writeIntentText(const Stone& stone, const DesignIntent& intent) {
    std::string out = std::string(intentFileHeader()) + "\n";
    out += strprintf("gear %d ", int(stone.gear)) + number(stone.indexOffset) + "\n";
    out += strprintf("symmetry %d %d\n", int(stone.symmetry), stone.mirror ? 1 : 0);
    out += "ri " + number(stone.refractiveIndex) + "\n";
    for (int k = 0; k < 4; ++k)
        if (!stone.heading[k].empty()) out += strprintf("heading %d ", k + 1) + encode(stone.heading[k]) + "\n";
    for (int k = 0; k < 4; ++k)
        if (!stone.footnote[k].empty()) out += strprintf("footnote %d ", k + 1) + encode(stone.footnote[k]) + "\n";
    if (stone.preform) {
        const DesignIntent preform = inferIntent(*stone.preform);
        for (const TierIntent& t : preform.tiers) {
            out += "preform " + number(t.angle) + " " + number(t.ced) + " |";
            for (double v : t.indexes) out += " " + number(v);
            out += "\n";
        }
    }
    for (const TierIntent& t : intent.tiers) {
        out += "tier " + number(t.angle) + " " + number(t.ced) + " " + number(t.index) +
               strprintf(" %d %d |", int(t.symmetry), int(t.mirror));
        for (double v : t.indexes) out += " " + number(v);
        out += " |";
        std::string instruction;
        bool onStone = false;
        for (size_t k = 0; k < t.planes.size(); ++k) {
            const Plane& p = t.planes[k];
            // A facet later tiers cut away entirely keeps the name it was cut with.
            std::string name = k < t.names.size() ? t.names[k] : std::string();
            for (int32_t i = 0; i < stone.nFacet; ++i) {
                const Facet& f = stone.facets[i];
                if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) {
                    name = f.name;
                    onStone = true;
                    if (instruction.empty()) instruction = f.instruction;
                    break;
                }
            }
            out += " " + encode(name);
        }
        if (!onStone) instruction = t.instruction;
        out += " | " + ruleText(t) + " | " + encode(instruction) + "\n";
    }
    out += std::string(END_LINE) + "\n";
    return out;
}

namespace {

// A value check's sentence as a clause of "Reading stopped at line N: ...".
std::string clause(std::string problem) {
    if (!problem.empty() && problem.back() == '.') problem.pop_back();
    if (!problem.empty()) problem[0] = char(std::tolower(static_cast<unsigned char>(problem[0])));
    return problem;
}

// The text after a line's key, split at its bars.
std::vector<std::string> barPartsAfter(const std::string& line, const std::string& key) {
    return splitBars(line.substr(line.find(key) + key.size()));
}

// Reads the records after the header, one step for each kind of line, and
// cuts the tiers as they come. Each step returns why reading stops at its
// line, or "".
class IntentReader {
public:
    explicit IntentReader(IntentFileRead& read) : read_(read), stone_(read.stone) {}

    // The lines after the header, up to the end line.
    void readLines(BoundedLines& lines, bool withEndLine) {
        std::string line;
        size_t records = 0;
        bool ended = false;
        while (!ended && lines.next(line)) {
            // Blank lines cost no parsing: a file may hold millions of them.
            if (isBlankLine(line)) continue;
            Tokens in(line);
            const std::string key = *in.word();
            std::string why;
            if (key == END_LINE)
                ended = in.done();
            if (ended)
                why.clear();
            else if (++records > MAX_RECORDS)
                why = "more lines than a design file holds";
            else
                why = readLine(line, key, in);
            if (!why.empty()) return stopAt(lines.number(), why);
        }
        if (lines.tooLong()) return stopAt(lines.number(), "a line longer than any a design file holds");
        if (ended) {
            // What follows the end line belongs to no design: a file joined
            // onto another, or a damaged one.
            while (lines.next(line))
                if (!isBlankLine(line)) return stopAt(lines.number(), "text follows the end line");
            if (lines.tooLong()) return stopAt(lines.number(), "text follows the end line");
            return;
        }
        if (withEndLine)
            read_.problem = "The file ends without its end line: it was cut short; the design holds the tiers read";
        else
            read_.note = "This .brx file is from before the end line that marks a whole file: it was read as it "
                         "stands, but whether it was cut short cannot be told. Saving it again adds the end line.";
    }

    std::unique_ptr<Stone> takePreform() { return std::move(preform_); }

private:
    void stopAt(size_t line, const std::string& why) {
        read_.problem = strprintf("Reading stopped at line %zu: %s; the design holds the tiers before it", line,
                                  why.c_str());
    }

    std::string readLine(const std::string& line, const std::string& key, Tokens& in) {
        if (key == "gear") return readGear(in);
        if (key == "symmetry") return readSymmetry(in);
        if (key == "ri") return readRefractiveIndex(in);
        if (key == "heading" || key == "footnote") return readLineText(key, in);
        if (key == "preform") return readPreformTier(barPartsAfter(line, key));
        if (key == "tier") return readTier(barPartsAfter(line, key));
        return "unknown record";
    }

    std::string readGear(Tokens& in) {
        const std::optional<long> g = in.integer(-MAX_GEAR_TEETH, MAX_GEAR_TEETH);
        const std::optional<double> offset = in.real();
        if (!g || *g == 0 || !offset || !in.done() || !read_.intent.tiers.empty() || preform_)
            return "the gear is not a count of teeth and an offset before the first tier";
        stone_.gear = int32_t(*g);
        stone_.indexOffset = *offset;
        return {};
    }

    std::string readSymmetry(Tokens& in) {
        const std::optional<long> s = in.integer(LONG_MIN, LONG_MAX), m = in.integer(0, 1);
        if (!s || !m || !in.done()) return "the symmetry is not a fold and 0 or 1";
        if (std::string problem = symmetryProblem(*s); !problem.empty()) return clause(problem);
        stone_.symmetry = int32_t(*s);
        stone_.mirror = int32_t(*m);
        return {};
    }

    std::string readRefractiveIndex(Tokens& in) {
        const std::optional<double> ri = in.real();
        if (!ri || !in.done()) return "the refractive index is not a number";
        if (std::string problem = refractiveIndexProblem(*ri); !problem.empty()) return clause(problem);
        stone_.refractiveIndex = *ri;
        return {};
    }

    std::string readLineText(const std::string& key, Tokens& in) {
        const std::optional<long> k = in.integer(1, 4);
        const std::optional<std::string> word = in.word();
        const std::optional<std::string> text = word ? decode(*word) : std::nullopt;
        if (!k || !text || !in.done()) return "a heading or footnote line is not a number from 1 to 4 and a text";
        (key == "heading" ? stone_.heading : stone_.footnote)[*k - 1] = *text;
        return {};
    }

    std::string readPreformTier(const std::vector<std::string>& parts) {
        TierIntent t;
        if (parts.size() != 2 || !read_.intent.tiers.empty() || !readSettings(parts[0], parts[1], t, false))
            return "a preform tier is not angle, depth and indexes before the first tier";
        if (!preform_) {
            preform_ = std::make_unique<Stone>(ROUGH_HALF);
            preform_->gear = stone_.gear;
            preform_->indexOffset = stone_.indexOffset;
        }
        try {
            for (const Plane& p : planesOfTier(t, stone_.gear, stone_.indexOffset)) cutPlane(*preform_, p);
        } catch (const KernelError&) {
            return "the preform's planes do not make a stone";
        }
        return {};
    }

    // The facet names of a tier, one for each index; nullopt when one cannot be read.
    static std::optional<std::vector<std::string>> facetNames(const std::string& part) {
        Tokens names(part);
        std::vector<std::string> facetNames;
        bool namesOk = true;
        while (!names.done()) {
            const std::optional<std::string> name = decode(*names.word());
            namesOk = namesOk && name.has_value();
            if (name) facetNames.push_back(*name);
        }
        if (!namesOk) return std::nullopt;
        return facetNames;
    }

    static std::optional<std::string> instructionOf(const std::string& part) {
        Tokens instructionTokens(part);
        const std::optional<std::string> word = instructionTokens.word();
        const std::optional<std::string> instruction = word ? decode(*word) : std::nullopt;
        if (!instruction || !instructionTokens.done()) return std::nullopt;
        return instruction;
    }

    std::string readTier(const std::vector<std::string>& parts) {
        TierIntent t;
        if (read_.intent.tiers.size() >= MAX_TIERS) return "too many tiers";
        if (parts.size() != 5 || !readSettings(parts[0], parts[1], t, true))
            return "a tier is not angle, depth, index, symmetry, mirror and its indexes";
        // A symmetry of 0 keeps the indexes as listed; any other makes them anew on a re-cut.
        if (t.symmetry != 0)
            if (std::string problem = symmetryProblem(t.symmetry); !problem.empty()) return clause(problem);
        const std::optional<std::vector<std::string>> names = facetNames(parts[2]);
        if (!names || names->size() != t.indexes.size()) return "a tier does not name each of its facets";
        const RuleReader rules{read_.intent, int32_t(read_.intent.tiers.size()), stone_.gear};
        if (!rules.rule(parts[3], t)) return "a tier's depth rule cannot be read";
        const std::optional<std::string> instruction = instructionOf(parts[4]);
        if (!instruction) return "a tier's instruction cannot be read";
        t.planes = planesOfTier(t, stone_.gear, stone_.indexOffset);
        t.names = *names;
        t.instruction = *instruction;
        if (!cutTier(t)) return "the tier's planes do not make a stone";
        read_.intent.tiers.push_back(std::move(t));
        return {};
    }

    // The tier's instruction goes to the first of its facets that reaches the stone.
    bool cutTier(const TierIntent& t) {
        try {
            bool first = true;
            for (size_t k = 0; k < t.planes.size(); ++k) {
                const int r = cutPlane(stone_, t.planes[k], t.names[k], first ? t.instruction : std::string());
                if (r >= 0) first = false;
            }
        } catch (const KernelError&) {
            return false;
        }
        return true;
    }

    IntentFileRead& read_;
    Stone& stone_;
    std::unique_ptr<Stone> preform_;
};

}  // namespace

IntentFileRead readIntentText(std::istream& input) {
    IntentFileRead read;
    std::streambuf* buffer = input.rdbuf();
    if (!buffer) {
        read.problem = "Not a Brevix intent file";
        return read;
    }
    BoundedLines lines(*buffer, MAX_INTENT_LINE_BYTES);
    std::string header;
    lines.next(header);
    const bool legacy = header == LEGACY_HEADER;
    if (header != intentFileHeader() && !legacy) {
        read.problem = "Not a Brevix intent file";
        return read;
    }
    read.isIntentFile = true;
    IntentReader reader(read);
    reader.readLines(lines, !legacy);
    Stone& stone = read.stone;
    if (std::unique_ptr<Stone> preform = reader.takePreform()) stone.setPreform(std::move(preform));
    // A tier none of whose facets reached the stone leaves an intent that
    // no longer describes the planes; what stands is kept, the rest inferred.
    if (!intentMatches(stone, read.intent)) read.intent = reconcileIntent(stone, read.intent);
    keepNamesOfCutAwayFacets(stone, read.intent);
    return read;
}

IntentFileRead readIntentText(std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return readIntentText(in);
}

}  // namespace brevix
