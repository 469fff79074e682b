#include "app/dialogs/rotate_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/choice_groups.h"
#include "app/message_box_sink.h"
#include "document/command_messages.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "platform/messages.h"

namespace brevix {

CRotateDlg::CRotateDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CRotateDlg"));
    setWindowTitle(QStringLiteral("Rotate or Tilt"));

    amountEdit_ = new QLineEdit(fromCore(rotateAmountText(amount_)), this);
    amountEdit_->setObjectName(QStringLiteral("amountEdit"));
    amountEdit_->installEventFilter(this);
    auto* amountLabel = new QLabel(QStringLiteral("&Rotation Amount\n(Clockwise)"), this);
    amountLabel->setBuddy(amountEdit_);

    QGroupBox* units = radioGroup(QStringLiteral("Units"),
                                  {QStringLiteral("&Degrees"), QStringLiteral("&Index notches"),
                                   QStringLiteral("&Quarter revolutions")},
                                  0, unitGroup_, this);
    QGroupBox* axes = radioGroup(QStringLiteral("Axis of Rotation"),
                                 {QStringLiteral("&X -- Tilt"), QStringLiteral("&Y -- Tilt"),
                                  QStringLiteral("&Z (dop) -- Rotate stone only"),
                                  QStringLiteral("Z -- Rotate index &gear with stone")},
                                 2, axisGroup_, this);

    auto* grid = new QGridLayout;
    grid->addWidget(amountLabel, 0, 0);
    grid->addWidget(amountEdit_, 0, 1);
    grid->addWidget(units, 1, 0);
    grid->addWidget(axes, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    amountEdit_->setFocus();
    amountEdit_->selectAll();
}

double CRotateDlg::readAmount() {
    amount_ = readRotateAmount(toCore(amountEdit_->text()));
    amountEdit_->setText(fromCore(rotateAmountText(amount_)));
    return amount_;
}

bool CRotateDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == amountEdit_ && event->type() == QEvent::FocusOut) readAmount();
    return QDialog::eventFilter(watched, event);
}

double CRotateDlg::amount() { return readAmount(); }

RotateUnit CRotateDlg::unit() const { return static_cast<RotateUnit>(std::max(0, unitGroup_->checkedId())); }

int CRotateDlg::axis() const { return std::max(0, axisGroup_->checkedId()); }

void runRotateCommand(QWidget* parent, CGemDoc& doc) {
    CRotateDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted || !doc.stone()) return;
    const std::optional<double> radians = rotationRadians(dialog.amount(), dialog.unit(), doc.stone()->gear);
    if (!radians) {
        showMessage(cmdmsg::ZERO_GEAR);
        return;
    }
    rotateCommand(doc, dialog.axis(), *radians);
}

}  // namespace brevix
