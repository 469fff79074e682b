#include "app/dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/toolbar_icons.h"
#include "app/command_table.h"

namespace brevix {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Brevix"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(toolbarIcon(ID_EDIT_TRANSFER).pixmap(32, 30));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QLabel(
        QStringLiteral("Brevix: design of faceted gemstones.\n"
                       "Cut facets by angle and index, see the stone in four views and\n"
                       "turning, trace light through it and print the cutting diagram."),
        this);
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto* version = new QLabel(QStringLiteral("Version 1.09"), this);
    version->setObjectName(QStringLiteral("version"));
    layout->addWidget(version);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace brevix
