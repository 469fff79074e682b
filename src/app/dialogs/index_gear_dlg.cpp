#include "app/dialogs/index_gear_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/message_box_sink.h"
#include "document/gem_doc.h"
#include "document/index_gear_commands.h"

namespace brevix {

namespace {

struct LocationInfo {
    GearLocation location;
    const char* text;
    const char* name;
};
constexpr LocationInfo kLocations[] = {
    {GearLocation::Top, "Top", "topRadio"},
    {GearLocation::Left, "Left", "leftRadio"},
    {GearLocation::Right, "Right", "rightRadio"},
    {GearLocation::Bottom, "Bottom", "bottomRadio"},
    {GearLocation::Other, "Other bottom index:", "otherRadio"},
};

}  // namespace

CIndexGearDlg::CIndexGearDlg(const IndexGearDialog& start, QWidget* parent)
    : QDialog(parent), state_(start) {
    setObjectName(QStringLiteral("CIndexGearDlg"));
    setWindowTitle(QStringLiteral("Index Gear"));

    teeth_ = new QComboBox(this);
    teeth_->setObjectName(QStringLiteral("teethBox"));
    teeth_->setEditable(true);
    teeth_->setInsertPolicy(QComboBox::NoInsert);
    for (int n : gearChoices()) teeth_->addItem(QString::number(n));
    clockwise_ = new QCheckBox(QStringLiteral("Clockwise"), this);
    clockwise_->setObjectName(QStringLiteral("clockwiseBox"));
    offset_ = new QLineEdit(this);
    offset_->setObjectName(QStringLiteral("offsetEdit"));

    auto* group = new QGroupBox(QStringLiteral("ID Location"), this);
    auto* groupLayout = new QGridLayout(group);
    locations_ = new QButtonGroup(this);
    for (size_t i = 0; i < std::size(kLocations); ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kLocations[i].text), group);
        radio->setObjectName(QString::fromLatin1(kLocations[i].name));
        locations_->addButton(radio, static_cast<int>(kLocations[i].location));
        groupLayout->addWidget(radio, static_cast<int>(i), 0);
    }
    groupLayout->addWidget(offset_, static_cast<int>(std::size(kLocations)) - 1, 1);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Number of Teeth"), this), 0, 0);
    top->addWidget(teeth_, 0, 1);
    top->addWidget(clockwise_, 1, 1);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problemLabel"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CIndexGearDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(teeth_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) readTeeth();
    });
    connect(teeth_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!showing_) readTeeth();
    });
    connect(clockwise_, &QCheckBox::clicked, this, [this] {
        state_.toggleClockwise();
        showState();
    });
    connect(locations_, &QButtonGroup::idClicked, this, [this](int id) {
        state_.selectLocation(static_cast<GearLocation>(id));
        showState();
    });
    connect(offset_, &QLineEdit::editingFinished, this, [this] {
        if (showing_) return;
        state_.offsetEdited(toCore(offset_->text()));
        showState();
    });
    showState();
}

void CIndexGearDlg::readTeeth() {
    state_.teethEdited(toCore(teeth_->currentText()));
    showState();
}

void CIndexGearDlg::showState() {
    showing_ = true;
    teeth_->setCurrentText(fromCore(state_.teethText()));
    clockwise_->setChecked(state_.clockwise());
    offset_->setText(fromCore(state_.offsetText()));
    if (QAbstractButton* b = locations_->button(static_cast<int>(state_.location)))
        b->setChecked(true);
    showing_ = false;
}

void CIndexGearDlg::accept() {
    // Fields typed into but not yet left count, as OK takes the focus from them.
    if (teeth_->currentText() != fromCore(state_.teethText())) readTeeth();
    if (offset_->text() != fromCore(state_.offsetText())) {
        state_.offsetEdited(toCore(offset_->text()));
        showState();
    }
    // Every index is a fraction of a turn over the teeth: a gear without
    // teeth has no indexes at all, and would fail on every facet after OK.
    if (state_.teeth == 0) {
        problem_->setText(QStringLiteral("A gear needs at least 1 tooth. Type the number of teeth of your index gear."));
        problem_->show();
        teeth_->setFocus();
        teeth_->lineEdit()->selectAll();
        return;
    }
    QDialog::accept();
}

std::optional<IndexGearDialog> showIndexGearDialog(QWidget* parent, const IndexGearDialog& start) {
    CIndexGearDlg dialog(start, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.state();
}

bool runIndexGearDialog(QWidget* parent, CGemDoc& doc) {
    bool accepted = false;
    indexGearCommand(doc, [parent, &accepted](const IndexGearDialog& start) {
        std::optional<IndexGearDialog> chosen = showIndexGearDialog(parent, start);
        accepted = chosen.has_value();
        return chosen;
    });
    if (accepted) {
        doc.model().setModifiedFlag();
        doc.model().announce(SettingsChanged);
    }
    return accepted;
}

}  // namespace brevix
