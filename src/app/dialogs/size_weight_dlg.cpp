#include "app/dialogs/size_weight_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <cmath>

#include "optics/materials.h"

namespace brevix {

namespace {

constexpr double DEFAULT_MILLIMETRES = 6.5;

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString flatText(const FlatSize& flat, const char* none) {
    if (!flat.present()) return QString::fromLatin1(none);
    return number(flat.length, 2) + QStringLiteral(" \u00d7 ") + number(flat.width, 2) + QStringLiteral(" mm");
}

}  // namespace

SizeWeightDlg::SizeWeightDlg(const Stone& stone, const SizeSettings& start, QWidget* parent)
    : QDialog(parent), stone_(stone), start_(start) {
    setObjectName(QStringLiteral("SizeWeightDlg"));
    setWindowTitle(QStringLiteral("Size and Weight"));

    basis_ = new QComboBox(this);
    basis_->setObjectName(QStringLiteral("basis"));
    basis_->addItems({QStringLiteral("Width"), QStringLiteral("Length")});
    basis_->setCurrentIndex(start.size.basis == SizeBasis::Length ? 1 : 0);
    millimetres_ = new QLineEdit(this);
    millimetres_->setObjectName(QStringLiteral("millimetres"));
    millimetres_->setText(number(start.size.millimetres > 0 ? start.size.millimetres : DEFAULT_MILLIMETRES, 2));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(basis_);
    sizeRow->addWidget(millimetres_, 1);
    sizeRow->addWidget(new QLabel(QStringLiteral("mm"), this));

    material_ = new QComboBox(this);
    material_->setObjectName(QStringLiteral("material"));
    for (const optics::Material& m : optics::materials())
        material_->addItem(QString::fromStdString(m.name) + QStringLiteral("  (SG ") + number(m.specificGravity, 2) +
                               QLatin1Char(')'),
                           QString::fromStdString(m.name));
    material_->addItem(QStringLiteral("Other: type the gravity"), QString());
    gravity_ = new QLineEdit(this);
    gravity_->setObjectName(QStringLiteral("gravity"));
    auto* materialRow = new QHBoxLayout;
    materialRow->addWidget(material_, 1);
    materialRow->addWidget(new QLabel(QStringLiteral("SG"), this));
    materialRow->addWidget(gravity_);

    // Where the choice starts: the remembered material, else the remembered
    // gravity, else the material the design's refractive index is for.
    int chosen = material_->count() - 1;
    const std::optional<optics::Material> remembered = optics::findMaterial(start.material);
    const optics::Material byIndex = optics::materialForIndex(stone.refractiveIndex);
    if (remembered)
        chosen = material_->findData(QString::fromStdString(remembered->name));
    else if (start.specificGravity <= 0 && byIndex.specificGravity > 0)
        chosen = material_->findData(QString::fromStdString(byIndex.name));
    material_->setCurrentIndex(chosen);
    if (chosen == material_->count() - 1 && start.specificGravity > 0)
        gravity_->setText(number(start.specificGravity, 2));
    else
        materialChosen();

    auto* sizeLabel = new QLabel(QStringLiteral("&Size:"), this);
    sizeLabel->setBuddy(millimetres_);
    auto* materialLabel = new QLabel(QStringLiteral("&Material:"), this);
    materialLabel->setBuddy(material_);
    auto* input = new QFormLayout;
    input->addRow(sizeLabel, sizeRow);
    input->addRow(materialLabel, materialRow);

    auto result = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    size_ = result("sizeResult");
    table_ = result("tableResult");
    culet_ = result("culetResult");
    volume_ = result("volumeResult");
    weight_ = result("weightResult");
    QFont bold = weight_->font();
    bold.setBold(true);
    weight_->setFont(bold);
    auto* results = new QFormLayout;
    results->addRow(QStringLiteral("L \u00d7 W \u00d7 H:"), size_);
    results->addRow(QStringLiteral("Table:"), table_);
    results->addRow(QStringLiteral("Culet:"), culet_);
    results->addRow(QStringLiteral("Volume:"), volume_);
    results->addRow(QStringLiteral("Weight:"), weight_);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(input);
    layout->addSpacing(8);
    layout->addLayout(results);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(basis_, &QComboBox::currentIndexChanged, this, [this] { update(); });
    connect(millimetres_, &QLineEdit::textChanged, this, [this] { update(); });
    connect(material_, &QComboBox::currentIndexChanged, this, [this] { materialChosen(); });
    connect(gravity_, &QLineEdit::textChanged, this, [this] { gravityTyped(); });
    update();
    millimetres_->setFocus();
    millimetres_->selectAll();
}

std::optional<double> SizeWeightDlg::typedNumber(const QLineEdit* edit) const {
    // A decimal comma is what many cutters type; both marks are taken.
    QString text = edit->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

void SizeWeightDlg::materialChosen() {
    const QString name = material_->currentData().toString();
    if (name.isEmpty()) {
        update();
        return;
    }
    if (const auto m = optics::findMaterial(name.toStdString())) {
        settingGravity_ = true;
        gravity_->setText(number(m->specificGravity, 2));
        settingGravity_ = false;
    }
    update();
}

void SizeWeightDlg::gravityTyped() {
    if (settingGravity_) return;
    // A gravity other than the chosen material's is a material of its own.
    const QString name = material_->currentData().toString();
    const auto m = optics::findMaterial(name.toStdString());
    const std::optional<double> typed = typedNumber(gravity_);
    if (m && (!typed || std::fabs(*typed - m->specificGravity) > 0.005)) {
        const QSignalBlocker quiet(material_);
        material_->setCurrentIndex(material_->count() - 1);
    }
    update();
}

void SizeWeightDlg::update() {
    if (!problem_) return;  // still being built
    const auto clear = [this] {
        for (QLabel* l : {size_, table_, culet_, volume_, weight_}) l->setText(QStringLiteral("\u2014"));
    };
    const SizeBasis basis = basis_->currentIndex() == 1 ? SizeBasis::Length : SizeBasis::Width;
    const std::optional<double> mm = typedNumber(millimetres_);
    if (!mm || *mm < MIN_SIZE_MM || *mm > MAX_SIZE_MM) {
        clear();
        problem_->setText(QStringLiteral("Type the %1 in millimetres, from %2 to %3.")
                              .arg(basis == SizeBasis::Width ? QStringLiteral("width") : QStringLiteral("length"))
                              .arg(MIN_SIZE_MM)
                              .arg(MAX_SIZE_MM));
        return;
    }
    const std::optional<RealSize> size = realSizeOf(stone_, basis, *mm);
    if (!size) {
        clear();
        problem_->setText(QStringLiteral("The design has no width or length to size it by."));
        return;
    }
    size_->setText(number(size->length, 2) + QStringLiteral(" \u00d7 ") + number(size->width, 2) +
                   QStringLiteral(" \u00d7 ") + number(size->height, 2) + QStringLiteral(" mm"));
    table_->setText(flatText(size->table, "none"));
    culet_->setText(flatText(size->culet, "none (pointed or keeled)"));
    volume_->setText(number(size->volume, 2) + QStringLiteral(" mm\u00b3"));
    const std::optional<double> sg = typedNumber(gravity_);
    if (!sg || *sg < MIN_GRAVITY || *sg > MAX_GRAVITY) {
        weight_->setText(QStringLiteral("\u2014"));
        problem_->setText(QStringLiteral("Choose a material or type a specific gravity from %1 to %2.")
                              .arg(MIN_GRAVITY)
                              .arg(MAX_GRAVITY));
        return;
    }
    weight_->setText(number(caratsOf(size->volume, *sg), 3) + QStringLiteral(" ct"));
    problem_->clear();
}

SizeSettings SizeWeightDlg::settings() const {
    SizeSettings s = start_;
    if (const std::optional<double> mm = typedNumber(millimetres_); mm && *mm >= MIN_SIZE_MM && *mm <= MAX_SIZE_MM)
        s.size = {basis_->currentIndex() == 1 ? SizeBasis::Length : SizeBasis::Width, *mm};
    const QString name = material_->currentData().toString();
    if (!name.isEmpty()) {
        s.material = name.toStdString();
        s.specificGravity = 0;
    } else if (const std::optional<double> sg = typedNumber(gravity_); sg && *sg >= MIN_GRAVITY && *sg <= MAX_GRAVITY) {
        s.material.clear();
        s.specificGravity = *sg;
    }
    return s;
}

QString SizeWeightDlg::resultsText() const {
    QString text;
    const std::pair<const char*, QLabel*> rows[] = {
        {"L x W x H", size_}, {"Table", table_}, {"Culet", culet_}, {"Volume", volume_}, {"Weight", weight_}};
    for (const auto& [name, label] : rows) text += QString::fromLatin1(name) + QStringLiteral(": ") + label->text() + QLatin1Char('\n');
    if (!problem_->text().isEmpty()) text += problem_->text() + QLatin1Char('\n');
    return text;
}

}  // namespace brevix
