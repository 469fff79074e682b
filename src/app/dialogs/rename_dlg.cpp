#include "app/dialogs/rename_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/choice_groups.h"
#include "app/dialogs/readable_title.h"
#include "document/command_messages.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"

namespace brevix {

CRenameDlg::CRenameDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CRenameDlg"));
    setWindowTitle(QStringLiteral("Rename Facets in Sequence"));
    QGroupBox* pavilion = radioGroup(QStringLiteral("Pavilion Style"),
                                     {QStringLiteral("&1,2,3,..."), QStringLiteral("&A,B,C,..."),
                                      QStringLiteral("&P1,P2,P3,...")},
                                     0, pavilionGroup_, this);
    QGroupBox* crown = radioGroup(QStringLiteral("Crown Style"),
                                  {QStringLiteral("1,2,&3,..."), QStringLiteral("A,&B,C,..."),
                                   QStringLiteral("C1,C&2,C3,...")},
                                  1, crownGroup_, this);
    auto* warning = new QLabel(QString::fromLatin1(cmdmsg::RENAME_WARNING), this);
    warning->setObjectName(QStringLiteral("warningLabel"));

    auto* row = new QHBoxLayout;
    row->addWidget(pavilion);
    row->addWidget(crown);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(warning);
    layout->addWidget(okCancelButtons(this));
    keepTitleReadable(*this);
}

int CRenameDlg::pavilionStyle() const { return std::max(0, pavilionGroup_->checkedId()); }

int CRenameDlg::crownStyle() const { return std::max(0, crownGroup_->checkedId()); }

void runRenameCommand(QWidget* parent, CGemDoc& doc) {
    CRenameDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted || !doc.stone()) return;
    renameCommand(doc, dialog.pavilionStyle(), dialog.crownStyle());
}

}  // namespace brevix
