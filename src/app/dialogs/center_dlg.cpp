#include "app/dialogs/center_dlg.h"

#include <QButtonGroup>
#include <algorithm>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/choice_groups.h"

namespace brevix {

namespace {

constexpr CenterAxis kAxes[3] = {CENTER_X, CENTER_Y, CENTER_Z};
// The radio buttons in their order, as centring methods.
constexpr int kMethods[3] = {CENTER_OF_MASS, CENTER_OF_BOX, CENTER_ON_POINT};

int buttonOfMethod(int method) {
    for (int i = 0; i < 3; ++i)
        if (kMethods[i] == method) return i;
    return 0;
}

}  // namespace

CCenterDlg::CCenterDlg(const CenterChoice& start, QWidget* parent)
    : QDialog(parent), axes_(start.axes) {
    setObjectName(QStringLiteral("CCenterDlg"));
    setWindowTitle(QStringLiteral("Center"));

    auto* axisGroup = new QGroupBox(QStringLiteral("Axis"), this);
    auto* axisLayout = new QVBoxLayout(axisGroup);
    const char* texts[3] = {"&X - Left and right in the top view", "&Y - Up and down in the top view",
                            "&Z - Up and down the dop axis"};
    for (int i = 0; i < 3; ++i) {
        axisBoxes_[i] = new QCheckBox(QString::fromLatin1(texts[i]), axisGroup);
        axisLayout->addWidget(axisBoxes_[i]);
        connect(axisBoxes_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
            axes_ = centerAxesAfterToggle(axes_, kAxes[i], checked);
            showAxes();
        });
    }
    showAxes();

    QGroupBox* pointBox = radioGroup(
        QStringLiteral("Center point"),
        {QStringLiteral("Center of &mass"), QStringLiteral("(M&ax.+Min.)/2"),
         QStringLiteral("&Use point 1 from New Facet Info")},
        buttonOfMethod(start.method), pointGroup_, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(axisGroup);
    layout->addWidget(pointBox);
    layout->addWidget(okCancelButtons(this));
}

void CCenterDlg::showAxes() {
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(axisBoxes_[i]);
        axisBoxes_[i]->setChecked((axes_ & kAxes[i]) != 0);
    }
}

CenterChoice CCenterDlg::choice() const {
    return {axes_, kMethods[std::max(0, pointGroup_->checkedId())]};
}

void runCenterCommand(QWidget* parent, CGemDoc& doc) {
    centerCommand(doc, [parent](const CenterChoice& start) -> std::optional<CenterChoice> {
        CCenterDlg dialog(start, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.choice();
    });
}

}  // namespace brevix
