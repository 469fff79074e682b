#include "uninstaller/ui/uninstaller_dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "uninstaller/ui/qt_texts.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

bool confirmRemoval(QWidget* parent, const UninstallContext& context) {
    QMessageBox box(QMessageBox::Question, qtText(context.text(TEXT_CONFIRM_TITLE)),
                    qtText(fillIn(context.text(TEXT_CONFIRM), context.appName)),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("ConfirmDialog"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

SharedAnswer askRemoveSharedFile(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(MSG_REMOVE_SHARED_TITLE), qtText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll, parent);
    box.setObjectName(QStringLiteral("RemoveSharedFileDialog"));
    // Another program may still need the file: Enter keeps it.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return SharedAnswer::Yes;
    case QMessageBox::YesToAll: return SharedAnswer::YesToAll;
    case QMessageBox::NoToAll: return SharedAnswer::NoToAll;
    default: return SharedAnswer::No;
    }
}

ErrorDetailsDialog::ErrorDetailsDialog(const UninstallContext& context, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ErrorDetailsDialog"));
    setWindowTitle(qtText(context.text(TEXT_DETAILS_TITLE)));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(qtText(context.text(TEXT_DETAILS_LABEL)), this);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("ErrorLines"));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The lines end in CR LF as they would on paper; the box wants LF only.
    box->setPlainText(qtText(errorDetailsText(context.errors)).remove(QLatin1Char('\r')));
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 260);
}

}  // namespace brevix::uninstall
