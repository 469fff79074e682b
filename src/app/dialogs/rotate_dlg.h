#pragma once
// Stone > Rotate/Tilt...: the "Rotate or Tilt" dialog, an amount in one of
// three units about one of four axes.
#include <QDialog>

#include "document/rotate_amount.h"

class QButtonGroup;
class QLineEdit;

namespace brevix {

class CGemDoc;

class CRotateDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRotateDlg(QWidget* parent = nullptr);

    QLineEdit* amountEdit() const { return amountEdit_; }
    QButtonGroup* unitGroup() const { return unitGroup_; }
    QButtonGroup* axisGroup() const { return axisGroup_; }

    // The amount read again from the field, as OK reads it.
    double amount();
    RotateUnit unit() const;
    int axis() const;  // 0 x tilt, 1 y tilt, 2 z stone only, 3 z with the gear

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double readAmount();

    QLineEdit* amountEdit_ = nullptr;
    QButtonGroup* unitGroup_ = nullptr;
    QButtonGroup* axisGroup_ = nullptr;
    double amount_ = 0;
};

void runRotateCommand(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
