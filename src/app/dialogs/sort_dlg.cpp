#include "app/dialogs/sort_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/choice_groups.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"

namespace brevix {

CSortDlg::CSortDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CSortDlg"));
    setWindowTitle(QStringLiteral("Sort Cutting Order"));
    QGroupBox* orders = radioGroup(
        QStringLiteral("Cutting Order"),
        {QStringLiteral("&Pavilion-Girdle-Crown"), QStringLiteral("&Girdle-Pavilion-Crown"),
         QStringLiteral("Girdle-C&rown-Pavilion"), QStringLiteral("Cro&wn-Girdle-Pavilion")},
        0, orderGroup_, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(orders);
    layout->addWidget(okCancelButtons(this));
}

int CSortDlg::order() const { return std::max(0, orderGroup_->checkedId()); }

void runSortCommand(QWidget* parent, CGemDoc& doc) {
    CSortDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted || !doc.stone()) return;
    sortCommand(doc, dialog.order());
}

}  // namespace brevix
