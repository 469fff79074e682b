#include "app/help_file.h"

#include <QDir>
#include <QFileInfo>

namespace brevix {

QString findHelpFile(const QString& startFolder, const QString& programFolder) {
    const QString guide = QStringLiteral("UsersGuide/brevixman.html");
    const QString candidates[] = {
        startFolder + QLatin1Char('/') + guide,
        programFolder + QStringLiteral("/../share/doc/brevix/") + guide,
        programFolder + QLatin1Char('/') + guide,
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) return QDir::toNativeSeparators(QDir::cleanPath(candidate));
    }
    return QDir::toNativeSeparators(candidates[0]);
}

}  // namespace brevix
