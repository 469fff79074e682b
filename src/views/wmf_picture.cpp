#include "views/wmf_picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "views/view.h"

namespace brevix {

namespace {

constexpr size_t PLACEABLE_SIZE = 22;
constexpr size_t HEADER_SIZE = 18;
constexpr size_t RECORD_HEADER = 6;
// Slots of the object table; a metafile that asks for more is cut down to these.
constexpr size_t MAX_OBJECTS = 4096;
constexpr int ELLIPSE_POINTS = 36;

uint16_t u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int16_t i16(const unsigned char* p) { return static_cast<int16_t>(u16(p)); }
uint32_t u32(const unsigned char* p) { return uint32_t(u16(p)) | uint32_t(u16(p + 2)) << 16; }

Rgb colourRef(uint32_t c) {
    return {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
            static_cast<uint8_t>((c >> 16) & 0xFF)};
}

// Where the records start (after the header(s)), or 0 when this is no metafile.
size_t recordsStart(std::span<const unsigned char> b, Rect* box) {
    size_t at = 0;
    if (b.size() >= PLACEABLE_SIZE && u32(b.data()) == WMF_PLACEABLE_KEY) {
        if (box) *box = {i16(&b[6]), i16(&b[8]), i16(&b[10]), i16(&b[12])};
        at = PLACEABLE_SIZE;
    }
    if (b.size() < at + HEADER_SIZE) return 0;
    const uint16_t type = u16(&b[at]), headerWords = u16(&b[at + 2]);
    if ((type != 1 && type != 2) || headerWords != HEADER_SIZE / 2) return 0;
    return at + HEADER_SIZE;
}

struct WmfObject {
    enum Kind { Free, PenObject, BrushObject, FontObject, Other } kind = Free;
    Pen pen{};
    Brush brush{};
    Font font{};
};

class Player {
public:
    Player(Canvas& canvas, const Rect& target, const Rect& box) : canvas_(canvas), target_(target) {
        if (box.right != box.left && box.bottom != box.top) {
            org_ = {box.left, box.top};
            ext_ = {box.right - box.left, box.bottom - box.top};
        }
    }

    // Plays one record's parameters; false ends the picture.
    bool play(uint16_t function, std::span<const unsigned char> p) {
        const size_t words = p.size() / 2;
        auto w = [&](size_t k) { return i16(&p[2 * k]); };
        switch (function) {
        case WMF_EOF: return false;
        case WMF_SETWINDOWORG:
            if (words >= 2) org_ = {w(1), w(0)};
            break;
        case WMF_SETWINDOWEXT:
            // An extent of zero would map the whole picture onto one line.
            if (words >= 2 && w(0) != 0 && w(1) != 0) ext_ = {w(1), w(0)};
            break;
        case WMF_SAVEDC: canvas_.save(); ++saved_; break;
        case WMF_RESTOREDC:
            if (saved_ > 1) {  // the first save is the renderer's own
                canvas_.restore();
                --saved_;
            }
            break;
        case WMF_SETTEXTALIGN:
            if (words >= 1) setTextAlign(static_cast<uint16_t>(w(0)));
            break;
        case WMF_CREATEPENINDIRECT:
            if (words >= 5) {
                WmfObject o;
                o.kind = WmfObject::PenObject;
                const uint16_t style = static_cast<uint16_t>(w(0)) & 0x0F;
                o.pen.style = style == 5 ? PenStyle::Null : style == 1 ? PenStyle::Dash
                              : style == 2 || style == 3 || style == 4 ? PenStyle::Dot : PenStyle::Solid;
                o.pen.width = scaledLength(w(1));
                o.pen.colour = colourRef(u32(&p[6]));
                add(o);
            } else {
                add({WmfObject::Other});
            }
            break;
        case WMF_CREATEBRUSHINDIRECT:
            if (words >= 3) {
                WmfObject o;
                o.kind = WmfObject::BrushObject;
                const uint16_t style = static_cast<uint16_t>(w(0));
                o.brush.style = style == 1 ? BrushStyle::Null : BrushStyle::Solid;
                o.brush.colour = colourRef(u32(&p[2]));
                add(o);
            } else {
                add({WmfObject::Other});
            }
            break;
        case WMF_CREATEFONTINDIRECT: {
            WmfObject o;
            o.kind = WmfObject::FontObject;
            if (words >= 5) {
                o.font.height = std::max(1, scaledLength(w(0)));
                o.font.pointSize = 0;
                o.font.weight = w(4) > 0 ? w(4) : 400;
            }
            if (p.size() > 18) {
                const char* face = reinterpret_cast<const char*>(p.data() + 18);
                const size_t room = std::min<size_t>(32, p.size() - 18);
                std::string name(face, std::find(face, face + room, '\0'));
                if (!name.empty()) o.font.face = name;
            }
            add(o);
            break;
        }
        case WMF_CREATEPALETTE:
        case WMF_CREATEPATTERNBRUSH:
        case WMF_DIBCREATEPATTERNBRUSH:
        case WMF_CREATEREGION: add({WmfObject::Other}); break;
        case WMF_SELECTOBJECT:
            if (words >= 1) select(static_cast<uint16_t>(w(0)));
            break;
        case WMF_DELETEOBJECT:
            if (words >= 1 && static_cast<uint16_t>(w(0)) < objects_.size())
                objects_[static_cast<uint16_t>(w(0))] = WmfObject{};
            break;
        case WMF_MOVETO:
            if (words >= 2) {
                const Point at = map(w(1), w(0));
                canvas_.moveTo(at.x, at.y);
            }
            break;
        case WMF_LINETO:
            if (words >= 2) {
                const Point at = map(w(1), w(0));
                canvas_.lineTo(at.x, at.y);
            }
            break;
        case WMF_RECTANGLE:
        case WMF_ROUNDRECT: {
            const size_t base = function == WMF_ROUNDRECT ? 2 : 0;
            if (words >= base + 4) {
                const Point a = map(w(base + 3), w(base + 2)), b = map(w(base + 1), w(base));
                canvas_.rectangle({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
            }
            break;
        }
        case WMF_ELLIPSE:
            if (words >= 4) ellipse(w(3), w(2), w(1), w(0));
            break;
        case WMF_POLYGON:
        case WMF_POLYLINE:
            if (words >= 1) {
                const size_t count = std::min<size_t>(static_cast<uint16_t>(w(0)), (words - 1) / 2);
                points_.clear();
                for (size_t k = 0; k < count; ++k) points_.push_back(map(w(1 + 2 * k), w(2 + 2 * k)));
                if (function == WMF_POLYGON)
                    canvas_.polygon(points_);
                else
                    canvas_.polyline(points_);
            }
            break;
        case WMF_POLYPOLYGON:
            if (words >= 1) polyPolygon(p);
            break;
        case WMF_TEXTOUT:
            if (words >= 1) {
                const size_t length = static_cast<uint16_t>(w(0));
                const size_t stringWords = (length + 1) / 2;
                if (words >= 1 + stringWords + 2) {
                    const Point at = map(w(2 + stringWords), w(1 + stringWords));
                    canvas_.text(at.x, at.y, std::string_view(reinterpret_cast<const char*>(&p[2]), length));
                }
            }
            break;
        case WMF_EXTTEXTOUT:
            if (words >= 4) {
                const size_t length = static_cast<uint16_t>(w(2));
                const uint16_t options = static_cast<uint16_t>(w(3));
                const size_t start = 8 + ((options & 0x0006) ? 8 : 0);
                if (start + length <= p.size()) {
                    const Point at = map(w(1), w(0));
                    canvas_.text(at.x, at.y, std::string_view(reinterpret_cast<const char*>(&p[start]), length));
                }
            }
            break;
        default: break;  // drawn by no preview: skipped
        }
        return true;
    }

    void finish() {
        while (saved_-- > 0) canvas_.restore();
    }
    void begin() {
        canvas_.save();
        saved_ = 1;
        canvas_.setPen(BLACK_PEN);
        canvas_.setBrush(WHITE_BRUSH);
        canvas_.setTextAlign({HAlign::Left, VAlign::Top});
        // Text before any font of the picture's own is in the screen's small font.
        canvas_.setFont(Font{});
        canvas_.setClip(target_);
    }

private:
    Point map(int x, int y) const {
        const double sx = static_cast<double>(target_.right - target_.left) / ext_.x;
        const double sy = static_cast<double>(target_.bottom - target_.top) / ext_.y;
        return {toPixel(target_.left + (x - org_.x) * sx), toPixel(target_.top + (y - org_.y) * sy)};
    }
    // The size of a length on the target (pen widths, font heights: their sign means nothing here).
    int scaledLength(int length) const {
        const double s = std::abs(static_cast<double>(target_.bottom - target_.top) / ext_.y);
        return toPixel(std::abs(length) * s);
    }

    void add(const WmfObject& o) {
        for (WmfObject& slot : objects_) {
            if (slot.kind == WmfObject::Free) {
                slot = o;
                return;
            }
        }
        if (objects_.size() < MAX_OBJECTS) objects_.push_back(o);
    }

    void select(uint16_t index) {
        if (index >= objects_.size()) return;
        const WmfObject& o = objects_[index];
        switch (o.kind) {
        case WmfObject::PenObject: canvas_.setPen(o.pen); break;
        case WmfObject::BrushObject: canvas_.setBrush(o.brush); break;
        case WmfObject::FontObject: canvas_.setFont(o.font); break;
        default: break;
        }
    }

    void setTextAlign(uint16_t flags) {
        TextAlign align;
        align.h = (flags & 0x0006) == 6 ? HAlign::Center : (flags & 0x0006) == 2 ? HAlign::Right : HAlign::Left;
        align.v = (flags & 0x0018) == 24 ? VAlign::Baseline : (flags & 0x0018) == 8 ? VAlign::Bottom : VAlign::Top;
        canvas_.setTextAlign(align);
    }

    void ellipse(int left, int top, int right, int bottom) {
        const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
        const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
        points_.clear();
        for (int k = 0; k < ELLIPSE_POINTS; ++k) {
            const double t = 2 * std::numbers::pi * k / ELLIPSE_POINTS;
            points_.push_back(mapExact(cx + rx * std::cos(t), cy + ry * std::sin(t)));
        }
        canvas_.polygon(points_);
    }
    Point mapExact(double x, double y) const {
        const double sx = static_cast<double>(target_.right - target_.left) / ext_.x;
        const double sy = static_cast<double>(target_.bottom - target_.top) / ext_.y;
        return {toPixel(target_.left + (x - org_.x) * sx), toPixel(target_.top + (y - org_.y) * sy)};
    }

    void polyPolygon(std::span<const unsigned char> p) {
        const size_t words = p.size() / 2;
        const size_t polygons = u16(&p[0]);
        if (words < 1 + polygons) return;
        size_t at = 1 + polygons;  // the first point's word
        for (size_t k = 0; k < polygons; ++k) {
            const size_t count = u16(&p[2 + 2 * k]);
            if (at + 2 * count > words) return;
            points_.clear();
            for (size_t j = 0; j < count; ++j, at += 2) points_.push_back(map(i16(&p[2 * at]), i16(&p[2 * at + 2])));
            canvas_.polygon(points_);
        }
    }

    Canvas& canvas_;
    Rect target_;
    Point org_{0, 0};
    Point ext_{1, 1};
    std::vector<WmfObject> objects_;
    std::vector<Point> points_;
    int saved_ = 0;
};

}  // namespace

bool isWmf(std::span<const unsigned char> bytes) { return recordsStart(bytes, nullptr) != 0; }

bool drawWmf(std::span<const unsigned char> bytes, Canvas& canvas, const Rect& target) {
    Rect box{};
    size_t at = recordsStart(bytes, &box);
    if (at == 0) return false;
    // Without a window of its own the picture keeps its units: one to a pixel.
    if (box.right == box.left || box.bottom == box.top)
        box = {0, 0, target.right - target.left, target.bottom - target.top};
    Player player(canvas, target, box);
    player.begin();
    while (at + RECORD_HEADER <= bytes.size()) {
        const uint64_t size = uint64_t(u32(&bytes[at])) * 2;
        const uint16_t function = u16(&bytes[at + 4]);
        if (size < RECORD_HEADER || size > bytes.size() - at) break;
        if (!player.play(function, bytes.subspan(at + RECORD_HEADER, static_cast<size_t>(size) - RECORD_HEADER)))
            break;
        at += static_cast<size_t>(size);
    }
    player.finish();
    return true;
}

}  // namespace brevix
