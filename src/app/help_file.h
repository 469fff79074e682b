#pragma once
// Where Help > Contents finds the user's guide: below the folder Brevix was
// started in (a build or a copied folder), else where an installation puts
// it beside the program (PREFIX/share/doc/brevix for PREFIX/bin/brevix).
#include <QString>

namespace brevix {

// The first guide that exists; the start folder's when there is none, so
// the message names the place the user is most likely to look.
QString findHelpFile(const QString& startFolder, const QString& programFolder);

}  // namespace brevix
