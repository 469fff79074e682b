#include "app/dialogs/angle_index_dlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/message_box_sink.h"
#include "facet_placement/cut_facet_form.h"

namespace brevix {

CAngleIndexDlg::CAngleIndexDlg(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CAngleIndexDlg"));
    setWindowTitle(caption);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("valueEdit"));
    edit_->installEventFilter(this);

    auto* form = new QFormLayout;
    form->addRow(caption, edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    edit_->setFocus();
}

bool CAngleIndexDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusOut)
        onLeave_ = readCommandFieldOnLeave(toCore(edit_->text()));
    return QDialog::eventFilter(watched, event);
}

std::optional<double> CAngleIndexDlg::value() const {
    return readCommandFieldOnOk(toCore(edit_->text()));
}

std::optional<double> askAngleOrIndex(const QString& caption, QWidget* parent) {
    CAngleIndexDlg dialog(caption, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.value();
}

}  // namespace brevix
