#include "app/dialogs/reflect_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/choice_groups.h"
#include "document/stone_commands.h"

namespace brevix {

CReflectDlg::CReflectDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CReflectDlg"));
    setWindowTitle(QStringLiteral("Reflect"));
    QGroupBox* sides = radioGroup(QStringLiteral("Half to keep"),
                                  {QStringLiteral("-&Y"), QStringLiteral("&X"), QStringLiteral("-X"),
                                   QStringLiteral("Y")},
                                  1, sideGroup_, this);
    flipBox_ = new QCheckBox(QStringLiteral("&Flip reflection"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sides);
    layout->addWidget(flipBox_);
    layout->addWidget(okCancelButtons(this));
}

int CReflectDlg::side() const { return std::max(0, sideGroup_->checkedId()); }

bool CReflectDlg::flip() const { return flipBox_->isChecked(); }

void runReflectCommand(QWidget* parent, CGemDoc& doc) {
    CReflectDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return;
    reflectCommand(doc, dialog.side(), dialog.flip());
}

}  // namespace brevix
