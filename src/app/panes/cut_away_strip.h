#pragma once
// The strip above the views that says a tier was cut away entirely by a
// later one. The cut list no longer shows such a tier, and the warning in
// Design Figures may be out of sight; the intent still holds the tier, so
// the strip offers to change it and bring it back.
#include <QFrame>
#include <functional>
#include <string>
#include <vector>

#include "live/design_warnings.h"

class QLabel;
class QPushButton;

namespace brevix {

class CutAwayStrip : public QFrame {
    Q_OBJECT
public:
    explicit CutAwayStrip(QWidget* parent = nullptr);

    // Shows the tiers cut away among `warnings`, or hides the strip when
    // there are none. True when a tier is cut away that was not before.
    bool showWarnings(const std::vector<DesignWarning>& warnings);
    // "P1 cut away entirely by P2", one line a tier; empty when hidden.
    QString text() const;
    // The tier the button changes, as the cut list names it ("" when hidden).
    const std::string& tier() const { return tier_; }
    QPushButton* changeButton() const { return change_; }

    // The button was pressed: change the tier so that it can come back.
    std::function<void(const std::string& tier)> onChangeTier;

private:
    QLabel* text_ = nullptr;
    QPushButton* change_ = nullptr;
    std::string tier_;
    std::vector<std::string> shown_;  // the warnings' texts last shown
};

}  // namespace brevix
