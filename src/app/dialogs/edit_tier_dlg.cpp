#include "app/dialogs/edit_tier_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/readable_title.h"
#include "app/message_box_sink.h"

namespace brevix {

namespace {

struct ButtonInfo {
    TierEditAction action;
    const char* text;
    const char* name;
};
constexpr ButtonInfo kButtons[] = {
    {TierEditAction::Apply, "&Apply Edit", "applyButton"},
    {TierEditAction::DeleteTier, "Delete &Tier", "deleteButton"},
    {TierEditAction::Uncut, "Un&cut/Recut", "uncutButton"},
    {TierEditAction::MoveUp, "Move &Up", "moveUpButton"},
    {TierEditAction::MoveDown, "Move &Down", "moveDownButton"},
    {TierEditAction::Cancel, "Cancel", "cancelButton"},
};

QLineEdit* field(QWidget* parent, const std::string& text, int maxLength, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setText(fromCore(text));
    return edit;
}

}  // namespace

CEditTierDlg::CEditTierDlg(const TierEditFields& fields, bool angleEditable, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CEditTierDlg"));
    setWindowTitle(QStringLiteral("Edit Tier"));

    name_ = field(this, fields.name, TIER_NAME_MAX, "nameEdit");
    instruction_ = field(this, fields.instruction, TIER_INSTRUCTION_MAX, "instructionEdit");
    instruction_->setMinimumWidth(instruction_->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('x'))));
    angle_ = field(this, fields.angle, TIER_ANGLE_MAX, "newAngleEdit");
    // Tables and girdle facets show " N/A": there is no tangent to scale.
    angle_->setReadOnly(!angleEditable);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Cutting instructions"), this), 1, 0);
    grid->addWidget(instruction_, 1, 1);
    // Worded as the Facet dialog words it; the parenthesis the old wording
    // dropped made it unreadable.
    auto* angleLabel = new QLabel(QString::fromUtf8("New angle\n(tangent ratio scale \u00bd stone)"), this);
    angleLabel->setObjectName(QStringLiteral("newAngleLabel"));
    angleLabel->setToolTip(QStringLiteral("A new angle scales the height of this half of the stone (crown or "
                                          "pavilion) by the ratio of the tangents, so its other tiers keep their meets."));
    angleLabel->setBuddy(angle_);
    grid->addWidget(angleLabel, 2, 0);
    grid->addWidget(angle_, 2, 1);

    auto* row = new QHBoxLayout;
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        auto* b = new QPushButton(QString::fromLatin1(kButtons[i].text), this);
        b->setObjectName(QString::fromLatin1(kButtons[i].name));
        const TierEditAction action = kButtons[i].action;
        connect(b, &QPushButton::clicked, this, [this, action] { finish(action); });
        buttons_[i] = b;
        row->addWidget(b);
    }
    buttons_[0]->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(row);
    name_->setFocus();
    keepTitleReadable(*this);
}

QPushButton* CEditTierDlg::button(TierEditAction action) const {
    for (size_t i = 0; i < std::size(kButtons); ++i)
        if (kButtons[i].action == action) return buttons_[i];
    return nullptr;
}

TierEditFields CEditTierDlg::typed() const {
    return {toCore(name_->text()), toCore(instruction_->text()), toCore(angle_->text())};
}

void CEditTierDlg::finish(TierEditAction action) {
    action_ = action;
    if (action == TierEditAction::Cancel)
        reject();
    else
        accept();
}

}  // namespace brevix
