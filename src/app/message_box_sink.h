#pragma once
// Shows the core's messages and questions as modal message boxes, each
// text once for each thing the user does: a condition met for every facet
// (a zero index gear while the cut list is built) is one box, not hundreds.
#include <QObject>
#include <QString>
#include <functional>
#include <set>
#include <string>
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
    // The texts shown since the program last went back to waiting for the
    // user: a box's own event loop does not count, so a command that goes
    // on after a box still shows each text once.
    void noteShown(std::string_view text);
    void endOfAction();
    int runBox(const std::function<int()>& exec);

    QWidget* parent_;
    std::set<std::string, std::less<>> shown_;
    bool endArmed_ = false;
    bool endWaiting_ = false;  // the end came while a box was open
    int openBoxes_ = 0;
    QObject timerContext_;  // cancels a pending end of action with the sink
};

// What the document shows, passed to the program's sink of the moment (the
// message boxes; a test's recorder): the window gives the document this.
class ProgramSink : public MessageSink {
public:
    void show(std::string_view text, Icon icon) override { messageSink().show(text, icon); }
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override {
        return messageSink().ask(text, buttons, icon, fallback);
    }
};

// The core's Windows-1252 bytes as a QString and back.
QString fromCore(std::string_view bytes);
std::string toCore(const QString& text);

// File paths are the file system's own bytes, never the design's code page:
// a path converted to Windows-1252 no longer names its file.
QString fromPath(const std::string& path);
std::string toPath(const QString& path);

}  // namespace brevix
