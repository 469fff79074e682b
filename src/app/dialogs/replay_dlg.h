#pragma once
// View > Replay: the "Current Facet" dialog shown after each facet of the
// replay, with the facet's name, angle and index.
#include <QDialog>

#include "document/replay_command.h"

class QLineEdit;
class QPushButton;

namespace brevix {

class CGemDoc;

class CCurrentFacetDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCurrentFacetDlg(QWidget* parent = nullptr);

    void showTexts(const CurrentFacetTexts& texts);
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* angleEdit() const { return angle_; }
    QLineEdit* indexEdit() const { return index_; }
    QPushButton* nextButton() const { return next_; }

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* angle_ = nullptr;
    QLineEdit* index_ = nullptr;
    QPushButton* next_ = nullptr;
};

// The replay with one dialog that stays where the user put it.
void runReplayCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
