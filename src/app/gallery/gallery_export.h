#pragma once
// Several designs of a gallery written out at once, each through the
// program's own export: the printed diagram as a PDF, or an STL mesh.
#include <QString>
#include <QStringList>
#include <vector>

#include "collection/design_files.h"

namespace brevix {

enum class GalleryExport { DiagramPdf, Stl };

// The file name a design gets in the export folder: its own name with the
// export's extension ("#N" of a database design as "_N").
QString exportFileName(const collection::DesignEntry& entry, GalleryExport kind);

// Writes every entry into `folder`; returns one line per design that could
// not be written (empty when all were).
QStringList exportDesigns(const std::vector<collection::DesignEntry>& entries, const QString& folder,
                          GalleryExport kind);

}  // namespace brevix
