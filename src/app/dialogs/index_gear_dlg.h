#pragma once
// The "Index Gear" dialog: the number of teeth, which way the indexes run
// and where the last notch lies. Edit > Index Gear..., its toolbar button, a
// click on the gear label of the top view and the gear choice after Scale
// all open it.
#include <QDialog>
#include <optional>

#include "facet_placement/index_gear.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace brevix {

class CGemDoc;

class CIndexGearDlg : public QDialog {
    Q_OBJECT
public:
    CIndexGearDlg(const IndexGearDialog& start, QWidget* parent = nullptr);

    const IndexGearDialog& state() const { return state_; }

    QComboBox* teethBox() const { return teeth_; }
    QCheckBox* clockwiseBox() const { return clockwise_; }
    QLineEdit* offsetEdit() const { return offset_; }
    QButtonGroup* locations() const { return locations_; }
    // Says inside the dialog why OK was refused; hidden until then.
    QLabel* problemLabel() const { return problem_; }

    void accept() override;

private:
    // Shows the state; the widgets' own signals are held back meanwhile.
    void showState();
    void readTeeth();

    IndexGearDialog state_;
    QComboBox* teeth_ = nullptr;
    QCheckBox* clockwise_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QButtonGroup* locations_ = nullptr;
    QLabel* problem_ = nullptr;
    bool showing_ = false;
};

// The dialog from `start`; the state on OK, nothing on Cancel. It serves as
// the Index Gear command's GearDialogRunner.
std::optional<IndexGearDialog> showIndexGearDialog(QWidget* parent, const IndexGearDialog& start);

// The dialog on the document's stone; on OK the stone takes its gear and
// offset, the design is marked changed and every view is updated. True on OK.
bool runIndexGearDialog(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
