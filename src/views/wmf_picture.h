#pragma once
// Windows metafile pictures (.WMF), as the database keeps some previews: a
// small renderer of the records such drawings are made of (pens, brushes,
// fonts, lines, polygons, rectangles, ellipses, text), drawn through the
// Canvas and stretched over a rectangle. Records it does not draw are
// skipped; objects they create still take their place in the object table,
// so that later selections pick the right ones.
#include <cstdint>
#include <span>

#include "views/canvas.h"

namespace brevix {

constexpr uint32_t WMF_PLACEABLE_KEY = 0x9AC6CDD7;

// Record functions the renderer knows.
enum WmfFunction : uint16_t {
    WMF_EOF = 0x0000,
    WMF_SAVEDC = 0x001E,
    WMF_RESTOREDC = 0x0127,
    WMF_SETWINDOWORG = 0x020B,
    WMF_SETWINDOWEXT = 0x020C,
    WMF_SETTEXTALIGN = 0x012E,
    WMF_SELECTOBJECT = 0x012D,
    WMF_DELETEOBJECT = 0x01F0,
    WMF_CREATEPENINDIRECT = 0x02FA,
    WMF_CREATEBRUSHINDIRECT = 0x02FC,
    WMF_CREATEFONTINDIRECT = 0x02FB,
    WMF_CREATEPALETTE = 0x00F7,
    WMF_CREATEPATTERNBRUSH = 0x01F9,
    WMF_DIBCREATEPATTERNBRUSH = 0x0142,
    WMF_CREATEREGION = 0x06FF,
    WMF_MOVETO = 0x0214,
    WMF_LINETO = 0x0213,
    WMF_RECTANGLE = 0x041B,
    WMF_ROUNDRECT = 0x061C,
    WMF_ELLIPSE = 0x0418,
    WMF_POLYGON = 0x0324,
    WMF_POLYLINE = 0x0325,
    WMF_POLYPOLYGON = 0x0538,
    WMF_TEXTOUT = 0x0521,
    WMF_EXTTEXTOUT = 0x0A32,
};

// Whether the bytes start like a metafile (with or without the placeable
// header) that drawWmf can walk.
bool isWmf(std::span<const unsigned char> bytes);

// Draws the picture into `target`: the picture's window (from its
// SETWINDOWORG/SETWINDOWEXT records, else the placeable header's box) is
// stretched over the rectangle, and nothing is drawn outside it. Returns
// false, drawing nothing, when the bytes are not a metafile; a picture
// damaged further on is drawn up to the damage.
bool drawWmf(std::span<const unsigned char> bytes, Canvas& canvas, const Rect& target);

}  // namespace brevix
