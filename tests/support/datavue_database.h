#pragma once
// A small Datavue database made by the tests themselves, in the byte layouts
// the program reads: a dBase III index and stow libraries holding design
// texts (.ASC), thumbnails (.THB) and a metafile picture (.WMF). The tests,
// the benchmark and the guide's pictures all use it.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "design/sample_designs.h"
#include "files/asc_format.h"
#include "files/binary_io.h"
#include "files/stow_library.h"
#include "files/thumbnail.h"
#include "views/wmf_picture.h"

namespace brevix::testdb {

struct DbfField {
    std::string name;
    int length;
};

// The fields of the Datavue index, in its order.
inline std::vector<DbfField> datavueFields() {
    return {{"D_NAME", 30},    {"D_DESIGNER", 20}, {"D_CODE", 10},    {"D_LW", 6},
            {"D_INDEX", 4},    {"D_FACETS", 4},    {"D_VERSION", 4},  {"D_REFERENC", 20},
            {"D_REMARKS", 60}, {"BMP_FILE", 12}};
}

// A dBase III file: 32-byte header, 32-byte field descriptors ended by 0x0D,
// then each record as a deletion byte and its blank-padded values, and the
// end-of-file mark 0x1A (unless `endMark` is false). `announced` < 0 writes
// the true record count.
inline std::string dbfBytes(const std::vector<DbfField>& fields, const std::vector<std::vector<std::string>>& records,
                            bool endMark = true, int64_t announced = -1) {
    int recordLength = 1;
    for (const DbfField& f : fields) recordLength += f.length;
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    std::string out;
    out.push_back(0x03);
    out += std::string("\x7A\x0C\x08", 3);  // date of last update
    le::putU32(out, static_cast<uint32_t>(announced < 0 ? static_cast<int64_t>(records.size()) : announced));
    le::putU16(out, static_cast<uint16_t>(headerLength));
    le::putU16(out, static_cast<uint16_t>(recordLength));
    out.append(20, '\0');
    for (const DbfField& f : fields) {
        std::string d(32, '\0');
        d.replace(0, std::min<size_t>(f.name.size(), 10), f.name.substr(0, 10));
        d[11] = 'C';
        d[16] = static_cast<char>(f.length);
        out += d;
    }
    out.push_back(0x0D);
    for (const auto& record : records) {
        out.push_back(' ');
        for (size_t i = 0; i < fields.size(); ++i) {
            std::string value = i < record.size() ? record[i] : std::string();
            value.resize(static_cast<size_t>(fields[i].length), ' ');
            out += value;
        }
    }
    if (endMark) out.push_back(0x1A);
    return out;
}

struct StowEntry {
    std::string name;
    std::string data;
};

// Header, the members' bytes, then the table of contents (its own copy of
// the header, then one entry per member).
inline std::string stowBytes(const std::vector<StowEntry>& members, uint16_t version = 1100) {
    std::string out;
    le::putU32(out, STOW_MAGIC);
    le::putU16(out, version);
    le::putU32(out, 0);  // contents offset, known at the end
    le::putU16(out, static_cast<uint16_t>(members.size()));
    std::vector<uint32_t> offsets;
    for (const StowEntry& m : members) {
        offsets.push_back(static_cast<uint32_t>(out.size()));
        out += m.data;
    }
    const uint32_t contents = static_cast<uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) out[6 + i] = static_cast<char>((contents >> (8 * i)) & 0xFF);
    out += out.substr(0, 12);
    for (size_t i = 0; i < members.size(); ++i) {
        le::putU32(out, offsets[i]);
        le::putU32(out, static_cast<uint32_t>(members[i].data.size()));
        le::putU32(out, 0);
        le::putU32(out, 0);
        le::putU16(out, static_cast<uint16_t>(members[i].name.size()));
        out += members[i].name;
    }
    return out;
}

// Records of a Windows metafile, each as its function and 16-bit parameters.
class WmfBuilder {
public:
    void record(uint16_t function, const std::vector<int16_t>& words) {
        le::putU32(records_, static_cast<uint32_t>(3 + words.size()));
        le::putU16(records_, function);
        for (int16_t w : words) le::putU16(records_, static_cast<uint16_t>(w));
    }
    void rawRecord(uint16_t function, const std::string& params) {
        le::putU32(records_, static_cast<uint32_t>(3 + params.size() / 2));
        le::putU16(records_, function);
        records_ += params;
    }
    // With the placeable header (a box of left, top, right, bottom) or without.
    std::string bytes(bool placeable = true, int16_t right = 1000, int16_t bottom = 1000) const {
        std::string out;
        if (placeable) {
            le::putU32(out, WMF_PLACEABLE_KEY);
            le::putU16(out, 0);
            for (int16_t v : {int16_t(0), int16_t(0), right, bottom}) le::putU16(out, static_cast<uint16_t>(v));
            le::putU16(out, 1440);
            le::putU32(out, 0);
            le::putU16(out, 0);
        }
        std::string body = records_;
        le::putU32(body, 3);
        le::putU16(body, WMF_EOF);
        le::putU16(out, 1);
        le::putU16(out, 9);
        le::putU16(out, 0x0300);
        le::putU32(out, static_cast<uint32_t>((18 + body.size()) / 2));
        le::putU16(out, 4);
        le::putU32(out, 16);
        le::putU16(out, 0);
        return out + body;
    }

private:
    std::string records_;
};

inline std::string colourWords(uint8_t r, uint8_t g, uint8_t b) {
    std::string s;
    le::putU32(s, uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16);
    return s;
}

// A pear drawn the way a preview picture is: a pen, a brush, a filled
// outline, a table line and a caption.
inline std::string pearPicture() {
    WmfBuilder wmf;
    wmf.record(WMF_SETWINDOWORG, {0, 0});
    wmf.record(WMF_SETWINDOWEXT, {1000, 1000});
    std::string pen;
    le::putU16(pen, 0);
    le::putU16(pen, 10);
    le::putU16(pen, 0);
    pen += colourWords(0, 0, 160);
    wmf.rawRecord(WMF_CREATEPENINDIRECT, pen);
    std::string brush;
    le::putU16(brush, 0);
    brush += colourWords(200, 220, 255);
    le::putU16(brush, 0);
    wmf.rawRecord(WMF_CREATEBRUSHINDIRECT, brush);
    std::string font;
    for (int16_t v : {int16_t(-80), int16_t(0), int16_t(0), int16_t(0), int16_t(700)})
        le::putU16(font, static_cast<uint16_t>(v));
    font.append(8, '\0');
    font += "Arial";
    font.append(32 - 5, '\0');
    wmf.rawRecord(WMF_CREATEFONTINDIRECT, font);
    wmf.record(WMF_SELECTOBJECT, {0});
    wmf.record(WMF_SELECTOBJECT, {1});
    wmf.record(WMF_SELECTOBJECT, {2});
    wmf.record(WMF_SETTEXTALIGN, {6 | 24});
    wmf.record(WMF_POLYGON, {7, 500, 100, 650, 350, 720, 600, 640, 820, 360, 820, 280, 600, 350, 350});
    wmf.record(WMF_ELLIPSE, {700, 600, 500, 400});
    wmf.record(WMF_MOVETO, {600, 300});
    wmf.record(WMF_LINETO, {600, 700});
    const std::string caption = "PEAR";
    std::string text;
    le::putU16(text, static_cast<uint16_t>(caption.size()));
    text += caption;
    le::putU16(text, 900);  // y
    le::putU16(text, 500);  // x
    wmf.rawRecord(WMF_TEXTOUT, text);
    return wmf.bytes();
}

inline std::string ascText(const Stone& stone) {
    std::ostringstream out;
    Diagnostics notes;
    writeAsc(stone, out, notes);
    return out.str();
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The records of the sample index (record 0 is the index's own, never shown).
inline std::vector<std::vector<std::string>> sampleRecords() {
    return {
        {"INDEX", "", "00.000", "", "", "", "", "", "", "BM0000.BMP"},
        {"Square emerald", "A. Lapidary", "07.001", "1.000", "96", "57", "1", "Test set 1",
         "Step cut with a wide table", "BM0107.BMP"},
        {"Round brilliant", "B. Facetor", "01.002", "1.000", "96", "57", "2", "Test set 1",
         "The standard brilliant", "BM0512.BMP"},
        {"Oval brilliant", "C. Cutter", "02.003", "1.300", "96", "57", "1", "Test set 2", "", "BM2603.BMP"},
        {"Emerald cut", "A. Lapidary", "04.004P", "1.400", "96", "49", "1", "Test set 2",
         "Preform version of the emerald", "BM2704.BMP"},
        {"Pear fantasy", "D. Designer", "05.005", "1.500", "80", "61", "1", "Test set 3",
         "Picture preview only", "BM9905.WMF"},
        {"", "Nobody", "06.006", "", "", "", "", "", "First field empty", "BM0106.BMP"},
        {"Lost emerald", "E. Nobody", "07.007", "1.000", "96", "", "", "", "Members not in any library",
         "BM0700.BMP"},
    };
}

// Writes dlist.dbf and its libraries into `folder`.
inline void writeSampleDatabase(const std::filesystem::path& folder) {
    writeBytes(folder / "dlist.dbf", dbfBytes(datavueFields(), sampleRecords()));
    const std::string emerald = ascText(makeEmeraldCut()), round = ascText(makeRoundBrilliant()),
                      oval = ascText(makeOvalBrilliant());
    const std::string emeraldThb = thumbnailBytes(makeEmeraldCut()), roundThb = thumbnailBytes(makeRoundBrilliant()),
                      ovalThb = thumbnailBytes(makeOvalBrilliant());
    // Member names in the table of contents in either case: the search
    // compares them in upper case.
    writeBytes(folder / "GTHB0101.STO", stowBytes({{"pc0107.thb", emeraldThb}}));
    writeBytes(folder / "GASC0101.STO", stowBytes({{"PC0107.ASC", emerald}}));
    writeBytes(folder / "GTHB0208.STO", stowBytes({{"PC0512.THB", roundThb}}));
    writeBytes(folder / "GASC0208.STO", stowBytes({{"PC0512.ASC", round}}));
    writeBytes(folder / "GTHB0926.STO", stowBytes({{"PC2603.THB", ovalThb}}));
    writeBytes(folder / "GASC0926.STO", stowBytes({{"PC2603.ASC", oval}}));
    writeBytes(folder / "GTHB2799.STO", stowBytes({{"PF2704.THB", emeraldThb}}));
    writeBytes(folder / "GASC2799.STO", stowBytes({{"PF2704.ASC", emerald}}));
    writeBytes(folder / "GWMF.STO", stowBytes({{"GX9905.WMF", pearPicture()}}));
    writeBytes(folder / "GASCWMF.STO", stowBytes({{"PC9905W.ASC", round}}));
}

}  // namespace brevix::testdb
