#pragma once
// Shows the core's messages and questions as modal message boxes.
#include <QString>
#include <string_view>

#include "platform/messages.h"

class QWidget;

namespace brevix {

class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void show(std::string_view text, Icon icon) override;
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override;

private:
    QWidget* parent_;
};

// The core's Windows-1252 bytes as a QString and back.
QString fromCore(std::string_view bytes);
std::string toCore(const QString& text);

// File paths are the file system's own bytes, never the design's code page:
// a path converted to Windows-1252 no longer names its file.
QString fromPath(const std::string& path);
std::string toPath(const QString& path);

}  // namespace brevix
