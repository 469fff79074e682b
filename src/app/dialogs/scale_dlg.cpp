#include "app/dialogs/scale_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/index_gear_dlg.h"
#include "app/message_box_sink.h"

namespace brevix {

namespace {

struct BoxInfo {
    ScaleBox box;
    const char* text;
    int row, column;
};
// Laid out as the stone lies in the top and side views.
constexpr BoxInfo kBoxes[] = {
    {ScaleBox::X, "&X <->", 1, 0},           {ScaleBox::MinusY, "-&Y", 2, 1},
    {ScaleBox::PlusY, "+Y", 0, 1},           {ScaleBox::Crown, "&Z (Crown)", 0, 2},
    {ScaleBox::Pavilion, "-Z (&Pavilion)", 2, 2}, {ScaleBox::All, "A&ll", 1, 1},
};

QLineEdit* amountEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(fromCore(scaleAmountText(1)), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->installEventFilter(parent);
    return edit;
}

}  // namespace

CScaleDlg::CScaleDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CScaleDlg"));
    setWindowTitle(QStringLiteral("Scale: Stretch or Shrink"));

    auto* directionGroup = new QGroupBox(QStringLiteral("Direction"), this);
    auto* grid = new QGridLayout(directionGroup);
    for (const BoxInfo& info : kBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(info.text), directionGroup);
        boxes_[static_cast<int>(info.box)] = box;
        grid->addWidget(box, info.row, info.column);
        const ScaleBox which = info.box;
        connect(box, &QCheckBox::clicked, this, [this, which](bool checked) {
            directions_.toggle(which, checked);
            showDirections();
        });
    }

    auto* amountGroup = new QGroupBox(QStringLiteral("Amount"), this);
    auto* amounts = new QFormLayout(amountGroup);
    multiplyEdit_ = amountEdit(this, "multiplyEdit");
    divideEdit_ = amountEdit(this, "divideEdit");
    amounts->addRow(QStringLiteral("&Multiply by:"), multiplyEdit_);
    amounts->addRow(QStringLiteral("&Divide by:"), divideEdit_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    automaticButton_ = buttons->addButton(QStringLiteral("&Automatic"), QDialogButtonBox::ActionRole);
    automaticButton_->setObjectName(QStringLiteral("automaticButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(automaticButton_, &QPushButton::clicked, this, [this] { done(Automatic); });

    auto* row = new QHBoxLayout;
    row->addWidget(directionGroup);
    row->addWidget(amountGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    showDirections();
}

void CScaleDlg::showDirections() {
    for (const BoxInfo& info : kBoxes) {
        QCheckBox* box = boxes_[static_cast<int>(info.box)];
        const QSignalBlocker block(box);
        box->setChecked(directions_.isChecked(info.box));
    }
    automaticButton_->setEnabled(directions_.automaticEnabled());
}

double CScaleDlg::readAmount(QLineEdit* edit) {
    const double amount = readScaleAmount(toCore(edit->text()));
    edit->setText(fromCore(scaleAmountText(amount)));
    return amount;
}

bool CScaleDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == multiplyEdit_ || watched == divideEdit_) && event->type() == QEvent::FocusOut)
        readAmount(static_cast<QLineEdit*>(watched));
    return QDialog::eventFilter(watched, event);
}

double CScaleDlg::factor() { return readAmount(multiplyEdit_) / readAmount(divideEdit_); }

void runScaleCommand(QWidget* parent, CGemDoc& doc) {
    CScaleDlg dialog(parent);
    const int result = dialog.exec();
    if (result == QDialog::Rejected) return;
    const double factor = result == CScaleDlg::Automatic ? 0 : dialog.factor();
    scaleCommand(doc, dialog.sides(), factor, [parent, &doc] { runIndexGearDialog(parent, doc); });
}

}  // namespace brevix
