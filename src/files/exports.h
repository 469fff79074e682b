#pragma once
// Polygon models of the design for other programs: VRML 1.0, DXF 3DFACE
// entities, the comma-separated B3D format, and the meshes of jewellery CAD
// and 3-D printing, binary STL and Wavefront OBJ. They write every facet of the
// stone (rough faces included, the preform not) as the ring of its corners
// or a fan of triangles over that ring; nothing reads them back.
#include <iosfwd>
#include <string>

#include "kernel/stone.h"

namespace brevix {

// The caller opens the stream (text mode) and checks it afterwards.
void writeVrml(const Stone& stone, std::ostream& out);

// The file writers below go through a temporary file that replaces `path`
// only when complete. They return whether the file was written; when it was
// not, `notes` says why ("Cannot open %s to write.", "Error writing %s. Disk
// full?").
bool writeVrmlFile(const Stone& stone, const std::string& path, Diagnostics& notes);
bool writeDxf(const Stone& stone, const std::string& path, Diagnostics& notes);
bool writeB3d(const Stone& stone, const std::string& path, Diagnostics& notes);

// The meshes: coordinates in millimetres at `millimetresPerUnit` (from the
// stone's real size), or in design units when it is 0. Each facet's corners run
// counter-clockwise seen from outside, so the mesh is closed and oriented.
// STL: a fan of triangles per facet with the facet's normal. OBJ: the
// vertices once, one polygon per facet, one group per tier under the tier's
// name ("tierN" for a tier without one, "rough" for faces of the block), the
// heading as a comment.
bool writeStl(const Stone& stone, const std::string& path, double millimetresPerUnit, Diagnostics& notes);
bool writeObj(const Stone& stone, const std::string& path, double millimetresPerUnit, Diagnostics& notes);
std::string stlBytes(const Stone& stone, double millimetresPerUnit = 0);
std::string objText(const Stone& stone, double millimetresPerUnit = 0);

// The texts written to the files, for the writers above and for tests.
std::string vrmlText(const Stone& stone);
std::string dxfText(const Stone& stone, const std::string& path);
std::string b3dText(const Stone& stone);

}  // namespace brevix
