#pragma once
// The "Facet" dialog a click on a facet opens: where the facet was picked,
// its angle, index, depth and area, each with a button that copies it into
// the Cut Facet form, and the edits of its name, tier instruction and angle.
#include <QDialog>

#include "document/pick_dialogs.h"

class QLineEdit;
class QPushButton;

namespace brevix {

class CFacetDlg : public QDialog {
    Q_OBJECT
public:
    CFacetDlg(const FacetDialogFields& fields, bool angleEditable, bool zoomed,
              QWidget* parent = nullptr);

    // The button that closed the dialog (Cancel for Escape and the close box).
    FacetDialogResult result() const { return result_; }
    // The editable fields as the user left them.
    TierEditFields typed() const;
    QPushButton* button(FacetDialogResult result) const;
    QLineEdit* nameEdit() const { return name_; }

private:
    void finish(FacetDialogResult result);

    QLineEdit* name_ = nullptr;
    QLineEdit* instruction_ = nullptr;
    QLineEdit* newAngle_ = nullptr;
    std::vector<std::pair<FacetDialogResult, QPushButton*>> buttons_;
    FacetDialogResult result_ = FacetDialogResult::Cancel;
};

}  // namespace brevix
