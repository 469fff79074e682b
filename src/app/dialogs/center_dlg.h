#pragma once
// Stone > Center...: the "Center" dialog, which axes to slide the stone
// along and which point to bring to the centre.
#include <QDialog>

#include "document/center_command.h"

class QButtonGroup;
class QCheckBox;

namespace brevix {

class CGemDoc;

class CCenterDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCenterDlg(const CenterChoice& start, QWidget* parent = nullptr);

    CenterChoice choice() const;
    // X, Y, Z in this order.
    QCheckBox* axisBox(int i) const { return axisBoxes_[i]; }
    // "Center of mass", "(Max.+Min.)/2", "Use point 1 from New Facet Info".
    QButtonGroup* pointGroup() const { return pointGroup_; }

private:
    void showAxes();

    int axes_;
    QCheckBox* axisBoxes_[3] = {};
    QButtonGroup* pointGroup_ = nullptr;
};

// The whole command: the dialog again after each message, until OK with a
// choice that works or Cancel.
void runCenterCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
