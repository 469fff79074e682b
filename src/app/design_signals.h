#pragma once
// The document's one change notification as a Qt signal: the frame, its
// panes and the Light Performance pane each connect to it, so a view comes
// and goes without wrapping the callbacks of the others, and every view
// hears of a command's change once.
#include <QObject>

namespace brevix {

class CGemDoc;

class DesignSignals : public QObject {
    Q_OBJECT
public:
    // Takes the document's change hook for as long as it lives.
    explicit DesignSignals(CGemDoc& doc, QObject* parent = nullptr);
    ~DesignSignals() override;

Q_SIGNALS:
    // `sender` is the view that asked for the change (null: none).
    void designChanged(const void* sender);

private:
    CGemDoc& doc_;
};

}  // namespace brevix
