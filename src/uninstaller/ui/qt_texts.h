#pragma once
// The uninstaller's texts reach the screen through these: the log's texts
// are the installer's bytes (UTF-8 here).
#include <QString>
#include <string>

namespace brevix::uninstall {

inline QString qtText(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }
inline std::string coreText(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace brevix::uninstall
