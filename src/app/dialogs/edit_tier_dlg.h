#pragma once
// The "Edit Tier" dialog a click on a row of the cut list opens: the tier's
// name, its cutting instruction and a new angle, and the buttons that apply
// the edit, delete the tier, take it out to recut it or move it.
#include <QDialog>

#include "document/tier_edit.h"

class QLineEdit;
class QPushButton;

namespace brevix {

class CEditTierDlg : public QDialog {
    Q_OBJECT
public:
    CEditTierDlg(const TierEditFields& fields, bool angleEditable, QWidget* parent = nullptr);

    // The button that closed the dialog (Cancel for Escape and the close box).
    TierEditAction action() const { return action_; }
    // The fields as the user left them.
    TierEditFields typed() const;

    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* instructionEdit() const { return instruction_; }
    QLineEdit* angleEdit() const { return angle_; }
    QPushButton* button(TierEditAction action) const;

private:
    void finish(TierEditAction action);

    QLineEdit* name_ = nullptr;
    QLineEdit* instruction_ = nullptr;
    QLineEdit* angle_ = nullptr;
    QPushButton* buttons_[6] = {};
    TierEditAction action_ = TierEditAction::Cancel;
};

}  // namespace brevix
