#include "app/gallery/gallery_export.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "app/print/diagram_output.h"
#include "collection/design_read.h"
#include "files/exports.h"
#include "platform/diagnostics.h"
#include "platform/text_encoding.h"

namespace brevix {

QString exportFileName(const collection::DesignEntry& entry, GalleryExport kind) {
    QString base = QFileInfo(QString::fromStdString(entry.path)).completeBaseName();
    if (entry.inDatabase()) base += QStringLiteral("_%1").arg(entry.record);
    return base + (kind == GalleryExport::Stl ? QStringLiteral(".stl") : QStringLiteral(".pdf"));
}

QStringList exportDesigns(const std::vector<collection::DesignEntry>& entries, const QString& folder,
                          GalleryExport kind) {
    QStringList failures;
    QSet<QString> used;
    for (const collection::DesignEntry& entry : entries) {
        QString name = exportFileName(entry, kind);
        // Designs of the same name from different folders each keep their file.
        if (used.contains(name)) {
            const QFileInfo info(name);
            for (int n = 2; used.contains(name); ++n)
                name = QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
        }
        used.insert(name);
        collection::ReadEntry read = collection::readEntry(entry);
        if (!read.stone) {
            failures << name + QStringLiteral(": ") + QString::fromStdString(read.error);
            continue;
        }
        const std::string path = QDir(folder).filePath(name).toStdString();
        // The writers' own notes go into the summary rather than being
        // shown one box at a time.
        bool written = false;
        std::string error;
        if (kind == GalleryExport::Stl) {
            Diagnostics notes;
            written = writeStl(*read.stone, path, 0, notes);
            for (const Diagnostic& note : notes) error += (error.empty() ? "" : "; ") + cp1252ToUtf8(note.text);
        } else {
            const std::string title = QFileInfo(QString::fromStdString(entry.path)).fileName().toStdString();
            written = writeDiagramFile(*read.stone, title, path, DiagramOutputOptions{}, error);
        }
        if (!written) failures << name + QStringLiteral(": ") + QString::fromStdString(error);
    }
    return failures;
}

}  // namespace brevix
