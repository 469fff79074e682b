#pragma once
// Stone > Scale...: the "Scale: Stretch or Shrink" dialog, which sides of
// the stone to stretch and by how much, or "Automatic" to fit the unit cube.
#include <QDialog>

#include "document/scale_command.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace brevix {

class CGemDoc;

class CScaleDlg : public QDialog {
    Q_OBJECT
public:
    // exec() returns Rejected, Accepted (OK) or this (the "Automatic" button).
    static constexpr int Automatic = 2;

    explicit CScaleDlg(QWidget* parent = nullptr);

    QCheckBox* directionBox(ScaleBox box) const { return boxes_[static_cast<int>(box)]; }
    QLineEdit* multiplyEdit() const { return multiplyEdit_; }
    QLineEdit* divideEdit() const { return divideEdit_; }
    QPushButton* automaticButton() const { return automaticButton_; }

    int sides() const { return directions_.sides(); }
    // Multiply by / divide by, both fields read again as on leaving them.
    double factor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDirections();
    double readAmount(QLineEdit* edit);

    ScaleDirections directions_;
    QCheckBox* boxes_[6] = {};
    QLineEdit* multiplyEdit_ = nullptr;
    QLineEdit* divideEdit_ = nullptr;
    QPushButton* automaticButton_ = nullptr;
};

// The dialog, the scale and the gear ranking after it.
void runScaleCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
