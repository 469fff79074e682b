#include "app/rough/fit_rough_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/rough/fit_worker.h"
#include "app/rough/rough_view.h"
#include "design/real_size.h"
#include "optics/materials.h"

namespace brevix::roughfit {

namespace {

constexpr const char* FIGURE_LABELS[] = {"Width", "Length", "Depth", "Weight", "Yield"};

QString fromCoreText(const std::string& text) { return QString::fromStdString(text); }

QString joinedLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << fromCoreText(line);
    return list.join(QLatin1Char('\n'));
}

QLabel* fitFigureLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(QStringLiteral("\u2014"), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

FitRoughDlg::FitRoughDlg(const Stone* openDesign, const QString& openName, QWidget* parent)
    : QDialog(parent), openName_(openName) {
    setObjectName(QStringLiteral("FitRoughDlg"));
    setWindowTitle(QStringLiteral("Fit into Rough"));
    if (openDesign) openDesign_ = std::make_shared<const Stone>(*openDesign);

    auto* inputs = new QVBoxLayout;
    buildRoughGroup(inputs);
    buildDesignGroup(inputs);
    buildOptions(inputs);
    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setWordWrap(true);
    problems_->setStyleSheet(QStringLiteral("color: #b00000"));
    inputs->addWidget(problems_);
    inputs->addStretch(1);

    view_ = new RoughView(this);
    turn_ = new QSlider(Qt::Horizontal, this);
    turn_->setObjectName(QStringLiteral("turn"));
    turn_->setRange(0, 359);
    turn_->setValue(int(std::lround(view_->azimuth())));
    auto* turnLabel = new QLabel(QStringLiteral("&Turn:"), this);
    turnLabel->setBuddy(turn_);
    auto* turnRow = new QHBoxLayout;
    turnRow->addWidget(turnLabel);
    turnRow->addWidget(turn_, 1);
    connect(turn_, &QSlider::valueChanged, this, [this](int degrees) { view_->setAngles(degrees, view_->tilt()); });
    connect(view_, &RoughView::azimuthChanged, this, [this](double degrees) {
        const QSignalBlocker quiet(turn_);
        turn_->setValue(int(std::lround(degrees)) % 360);
    });

    auto* figures = new QFormLayout;
    const char* names[] = {"widthFigure", "lengthFigure", "depthFigure", "weightFigure", "yieldFigure"};
    for (int i = 0; i < 5; ++i) {
        figureValues_[i] = fitFigureLabel(this, names[i]);
        figures->addRow(QString::fromLatin1(FIGURE_LABELS[i]) + QLatin1Char(':'), figureValues_[i]);
    }
    QFont bold = figureValues_[3]->font();
    bold.setBold(true);
    figureValues_[3]->setFont(bold);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);

    auto* results = new QVBoxLayout;
    results->addWidget(view_, 1);
    results->addLayout(turnRow);
    results->addLayout(figures);
    results->addWidget(status_);

    auto* columns = new QHBoxLayout;
    columns->addLayout(inputs);
    columns->addLayout(results, 1);

    fit_ = new QPushButton(QStringLiteral("&Fit"), this);
    fit_->setObjectName(QStringLiteral("fit"));
    fit_->setDefault(true);
    save_ = new QPushButton(QStringLiteral("Save &Placed Stone..."), this);
    save_->setObjectName(QStringLiteral("savePlacedStone"));
    save_->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(fit_, QDialogButtonBox::ActionRole);
    buttons->addButton(save_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fit_, &QPushButton::clicked, this, [this] { fit(); });
    connect(save_, &QPushButton::clicked, this, [this] { browsePlacedStone(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);

    // The worker's thread hands each outcome over to the window's.
    worker_ = std::make_unique<FitWorker>([this](FitOutcome outcome) {
        auto shared = std::make_shared<FitOutcome>(std::move(outcome));
        QMetaObject::invokeMethod(this, [this, shared] { showOutcome(std::move(*shared)); }, Qt::QueuedConnection);
    });

    shapeKindChosen();
    designSourceChosen();
    materialChosen();
}

FitRoughDlg::~FitRoughDlg() { worker_.reset(); }

void FitRoughDlg::buildRoughGroup(QVBoxLayout* column) {
    auto* group = new QGroupBox(QStringLiteral("Rough"), this);
    fromMesh_ = new QRadioButton(QStringLiteral("&Mesh file:"), group);
    fromMesh_->setObjectName(QStringLiteral("fromMesh"));
    fromShape_ = new QRadioButton(QStringLiteral("&Shape:"), group);
    fromShape_->setObjectName(QStringLiteral("fromShape"));
    fromShape_->setChecked(true);
    roughPath_ = new QLineEdit(group);
    roughPath_->setObjectName(QStringLiteral("roughPath"));
    roughPath_->setPlaceholderText(QStringLiteral("a scan in millimetres (.stl or .obj)"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), group);
    browse->setObjectName(QStringLiteral("browseRough"));
    shape_ = new QComboBox(group);
    shape_->setObjectName(QStringLiteral("shape"));
    shape_->addItems({QStringLiteral("Box"), QStringLiteral("Cylinder"), QStringLiteral("Ellipsoid")});

    auto* grid = new QGridLayout(group);
    grid->addWidget(fromMesh_, 0, 0);
    grid->addWidget(roughPath_, 0, 1, 1, 5);
    grid->addWidget(browse, 0, 6);
    grid->addWidget(fromShape_, 1, 0);
    grid->addWidget(shape_, 1, 1, 1, 6);
    const char* defaults[] = {"10", "8", "6"};
    for (int i = 0; i < 3; ++i) {
        sizeNames_[i] = new QLabel(group);
        sizes_[i] = new QLineEdit(QString::fromLatin1(defaults[i]), group);
        sizes_[i]->setObjectName(QStringLiteral("shapeSize%1").arg(i + 1));
        sizes_[i]->setMaximumWidth(64);
        grid->addWidget(sizeNames_[i], 2, 2 * i);
        grid->addWidget(sizes_[i], 2, 2 * i + 1);
        connect(sizes_[i], &QLineEdit::textEdited, this, [this] { shapeTyped(); });
    }
    grid->addWidget(new QLabel(QStringLiteral("mm"), group), 2, 6);
    roughStatus_ = new QLabel(group);
    roughStatus_->setObjectName(QStringLiteral("roughStatus"));
    roughStatus_->setWordWrap(true);
    grid->addWidget(roughStatus_, 3, 0, 1, 7);
    column->addWidget(group);

    connect(fromMesh_, &QRadioButton::toggled, this, [this] { roughSourceChosen(); });
    connect(shape_, &QComboBox::currentIndexChanged, this, [this] { shapeKindChosen(); });
    connect(browse, &QPushButton::clicked, this, [this] { browseRough(); });
    connect(roughPath_, &QLineEdit::returnPressed, this, [this] { openRoughFile(roughPath_->text()); });
}

void FitRoughDlg::buildDesignGroup(QVBoxLayout* column) {
    auto* group = new QGroupBox(QStringLiteral("Design"), this);
    const QString openText = openDesign_ ? QStringLiteral("The &open design (%1)").arg(openName_)
                                         : QStringLiteral("The &open design (none is open)");
    openDesignChoice_ = new QRadioButton(openText, group);
    openDesignChoice_->setObjectName(QStringLiteral("openDesign"));
    openDesignChoice_->setEnabled(openDesign_ != nullptr);
    fileDesignChoice_ = new QRadioButton(QStringLiteral("&Design file:"), group);
    fileDesignChoice_->setObjectName(QStringLiteral("fileDesign"));
    (openDesign_ ? openDesignChoice_ : fileDesignChoice_)->setChecked(true);
    designPath_ = new QLineEdit(group);
    designPath_->setObjectName(QStringLiteral("designPath"));
    auto* choose = new QPushButton(QStringLiteral("Choos&e..."), group);
    choose->setObjectName(QStringLiteral("browseDesign"));

    material_ = new QComboBox(group);
    material_->setObjectName(QStringLiteral("material"));
    for (const optics::Material& m : optics::materials())
        material_->addItem(fromCoreText(m.name) + QStringLiteral("  (SG ") + QString::number(m.specificGravity, 'f', 2) +
                               QLatin1Char(')'),
                           fromCoreText(m.name));
    material_->addItem(QStringLiteral("Other: type the gravity"), QString());
    gravity_ = new QLineEdit(group);
    gravity_->setObjectName(QStringLiteral("gravity"));
    gravity_->setMaximumWidth(64);
    // The material the design's refractive index is for, as Size and Weight starts.
    int chosen = material_->count() - 1;
    if (const Stone* stone = openDesign_.get()) {
        const optics::Material byIndex = optics::materialForIndex(stone->refractiveIndex);
        if (byIndex.specificGravity > 0) chosen = material_->findData(fromCoreText(byIndex.name));
    } else {
        chosen = material_->findData(QStringLiteral("Quartz"));
    }
    material_->setCurrentIndex(std::max(chosen, 0));
    auto* materialLabel = new QLabel(QStringLiteral("Mate&rial:"), group);
    materialLabel->setBuddy(material_);

    auto* grid = new QGridLayout(group);
    grid->addWidget(openDesignChoice_, 0, 0, 1, 4);
    grid->addWidget(fileDesignChoice_, 1, 0);
    grid->addWidget(designPath_, 1, 1, 1, 2);
    grid->addWidget(choose, 1, 3);
    grid->addWidget(materialLabel, 2, 0);
    auto* materialRow = new QHBoxLayout;
    materialRow->addWidget(material_, 1);
    materialRow->addWidget(new QLabel(QStringLiteral("SG"), group));
    materialRow->addWidget(gravity_);
    grid->addLayout(materialRow, 2, 1, 1, 3);
    column->addWidget(group);

    connect(openDesignChoice_, &QRadioButton::toggled, this, [this] { designSourceChosen(); });
    connect(choose, &QPushButton::clicked, this, [this] { browseDesign(); });
    connect(designPath_, &QLineEdit::returnPressed, this, [this] { openDesignFile(designPath_->text()); });
    connect(material_, &QComboBox::currentIndexChanged, this, [this] { materialChosen(); });
    connect(gravity_, &QLineEdit::textEdited, this, [this] {
        const QSignalBlocker quiet(material_);
        material_->setCurrentIndex(material_->count() - 1);
        gravityChanged();
    });
}

void FitRoughDlg::buildOptions(QVBoxLayout* column) {
    margin_ = new QLineEdit(QStringLiteral("0"), this);
    margin_->setObjectName(QStringLiteral("margin"));
    margin_->setMaximumWidth(64);
    auto* marginLabel = new QLabel(QStringLiteral("Mar&gin:"), this);
    marginLabel->setBuddy(margin_);
    auto* marginRow = new QHBoxLayout;
    marginRow->addWidget(marginLabel);
    marginRow->addWidget(margin_);
    marginRow->addWidget(new QLabel(QStringLiteral("mm from the rough's surface"), this));
    marginRow->addStretch(1);
    column->addLayout(marginRow);

    auto* group = new QGroupBox(QStringLiteral("Spheres to avoid (inclusions, cracks), mm"), this);
    avoid_ = new QTableWidget(0, 4, group);
    avoid_->setObjectName(QStringLiteral("avoid"));
    avoid_->setHorizontalHeaderLabels(
        {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("Radius")});
    avoid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    avoid_->verticalHeader()->setVisible(true);
    avoid_->setMinimumHeight(90);
    auto* add = new QPushButton(QStringLiteral("&Add"), group);
    add->setObjectName(QStringLiteral("addSphere"));
    auto* remove = new QPushButton(QStringLiteral("Remo&ve"), group);
    remove->setObjectName(QStringLiteral("removeSphere"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(group);
    row->addWidget(avoid_, 1);
    row->addLayout(buttons);
    column->addWidget(group);

    connect(margin_, &QLineEdit::textEdited, this, [this] {
        model_.clearOutcome();
        clearFigures();
    });
    connect(add, &QPushButton::clicked, this, [this] { addAvoidRow(); });
    connect(remove, &QPushButton::clicked, this, [this] { removeAvoidRow(); });
    connect(avoid_, &QTableWidget::cellChanged, this, [this] { avoidEdited(); });
}

void FitRoughDlg::shapeKindChosen() {
    const std::vector<std::string> names = shapeSizeNames(static_cast<ShapeKind>(shape_->currentIndex()));
    for (size_t i = 0; i < 3; ++i) {
        const bool used = i < names.size();
        sizeNames_[i]->setText(used ? fromCoreText(names[i]) : QString());
        sizes_[i]->setVisible(used);
        sizeNames_[i]->setVisible(used);
    }
    shapeTyped();
}

void FitRoughDlg::shapeTyped() {
    // A shape is made as it is typed, so that the view shows it at once;
    // a size not yet a number waits, and Fit says what is wrong with it.
    const CheckedShape checked = checkShape(formText());
    if (!checked.shapeText.empty() && checked.shapeText != shapeRough_.source) shapeRough_ = roughFromShape(checked.shapeText);
    if (fromShape_->isChecked()) showRough();
}

void FitRoughDlg::roughSourceChosen() { showRough(); }

void FitRoughDlg::showRough() {
    const RoughState& chosen = fromMesh_->isChecked() ? meshRough_ : shapeRough_;
    if (chosen.source != model_.rough().source || chosen.rough != model_.rough().rough) {
        model_.setRough(chosen);
        clearFigures();
    }
    QStringList lines;
    if (!chosen.error.empty())
        lines << fromCoreText(chosen.error);
    else if (chosen.rough)
        lines << QStringLiteral("Rough volume: %1 mm\u00b3").arg(rough::roughVolume(*chosen.rough), 0, 'f', 1);
    for (const std::string& warning : chosen.warnings) lines << QStringLiteral("Warning: ") + fromCoreText(warning);
    roughStatus_->setText(lines.join(QLatin1Char('\n')));
    roughStatus_->setStyleSheet(chosen.error.empty() ? QString() : QStringLiteral("color: #b00000"));
    view_->setRough(chosen.rough ? rough::roughMesh(*chosen.rough) : rough::Mesh{});
    view_->setStone({});
}

bool FitRoughDlg::openRoughFile(const QString& path) {
    roughPath_->setText(path);
    meshRough_ = roughFromFile(path.toStdString());
    fromMesh_->setChecked(true);
    showRough();
    return meshRough_.rough != nullptr;
}

void FitRoughDlg::designSourceChosen() {
    const bool open = openDesignChoice_->isChecked();
    if (open)
        model_.setDesign(openDesign_, openName_.toStdString());
    else
        model_.setDesign(fileDesign_, QFileInfo(fileDesignPath_).fileName().toStdString());
    clearFigures();
}

bool FitRoughDlg::openDesignFile(const QString& path) {
    designPath_->setText(path);
    DesignChoice choice = designFromFile(path.toStdString());
    fileDesign_ = choice.stone;
    fileDesignPath_ = path;
    problems_->setText(fromCoreText(choice.error));
    if (fileDesignChoice_->isChecked())
        designSourceChosen();
    else
        fileDesignChoice_->setChecked(true);
    return fileDesign_ != nullptr;
}

void FitRoughDlg::materialChosen() {
    const std::optional<optics::Material> m = optics::findMaterial(material_->currentData().toString().toStdString());
    if (m) gravity_->setText(QString::number(m->specificGravity, 'f', 2));
    gravityChanged();
}

void FitRoughDlg::gravityChanged() {
    if (!model_.outcome()) return;
    const std::optional<double> gravity = chosenGravity();
    if (!gravity) {
        figureValues_[3]->setText(QStringLiteral("\u2014"));
        return;
    }
    model_.setSpecificGravity(*gravity);
    showFigures();
}

std::optional<double> FitRoughDlg::chosenGravity() const {
    const std::optional<double> typed = typedNumber(gravity_->text().toStdString());
    if (!typed || *typed < MIN_GRAVITY || *typed > MAX_GRAVITY) return std::nullopt;
    return typed;
}

FitFormText FitRoughDlg::formText() const {
    FitFormText form;
    form.shape = static_cast<ShapeKind>(std::max(shape_->currentIndex(), 0));
    for (int i = 0; i < 3; ++i) form.shapeSizes[i] = sizes_[i]->text().toStdString();
    form.margin = margin_->text().toStdString();
    auto cell = [this](int row, int column) {
        const QTableWidgetItem* item = avoid_->item(row, column);
        return item ? item->text().toStdString() : std::string();
    };
    for (int row = 0; row < avoid_->rowCount(); ++row)
        form.avoid.push_back({cell(row, 0), cell(row, 1), cell(row, 2), cell(row, 3)});
    return form;
}

bool FitRoughDlg::fit() {
    const FitFormText form = formText();
    std::vector<std::string> problems;
    if (fromShape_->isChecked()) {
        const CheckedShape shape = checkShape(form);
        problems = shape.problems;
        if (!shape.shapeText.empty() && shape.shapeText != shapeRough_.source) shapeRough_ = roughFromShape(shape.shapeText);
        showRough();
    } else if (roughPath_->text().trimmed().isEmpty()) {
        problems.push_back("Open a rough mesh (an STL or OBJ file in millimetres), or choose a shape.");
    } else if (meshRough_.source != roughPath_->text().toStdString()) {
        openRoughFile(roughPath_->text());
    }
    if (problems.empty() && !model_.rough().rough && !model_.rough().error.empty())
        problems.push_back("The rough was refused: " + model_.rough().error);

    if (fileDesignChoice_->isChecked() && !designPath_->text().trimmed().isEmpty() &&
        designPath_->text() != fileDesignPath_)
        openDesignFile(designPath_->text());
    if (fileDesignChoice_->isChecked() && !fileDesign_)
        problems.push_back(fileDesignPath_.isEmpty() || designPath_->text().trimmed().isEmpty()
                               ? "Choose a design file (.gem, .asc or .brx)."
                               : "The design file gave no design: " + fileDesignPath_.toStdString());

    const std::optional<double> gravity = chosenGravity();
    if (!gravity) problems.push_back("SG: choose a material or type its specific gravity, from 0.1 to 25.");
    const CheckedOptions options = checkFitOptions(form);
    problems.insert(problems.end(), options.problems.begin(), options.problems.end());
    if (problems.empty()) {
        model_.setSpecificGravity(*gravity);
        if (std::string missing = model_.missing(); !missing.empty()) problems.push_back(missing);
    }
    problems_->setText(joinedLines(problems));
    if (!problems.empty()) return false;

    view_->setAvoid(options.options.avoid);
    clearFigures();
    status_->setText(QStringLiteral("Fitting..."));
    worker_->request(model_.nextJob(options.options));
    return true;
}

void FitRoughDlg::showOutcome(FitOutcome outcome) {
    if (!model_.accept(std::move(outcome))) return;
    const FitOutcome& shown = *model_.outcome();
    showFigures();
    status_->setText(shown.result.fits ? QString() : fromCoreText(shown.result.message));
    view_->setStone(shown.placedStone);
    save_->setEnabled(shown.result.fits);
}

void FitRoughDlg::showFigures() {
    const std::vector<FigureLine> lines = model_.outcome() ? fitFigureLines(*model_.outcome()) : std::vector<FigureLine>{};
    for (size_t i = 0; i < 5; ++i)
        figureValues_[i]->setText(i < lines.size() ? fromCoreText(lines[i].value) : QStringLiteral("\u2014"));
}

void FitRoughDlg::clearFigures() {
    if (worker_) worker_->cancel();
    for (QLabel* value : figureValues_)
        if (value) value->setText(QStringLiteral("\u2014"));
    if (status_) status_->clear();
    if (save_) save_->setEnabled(false);
    if (view_) view_->setStone({});
}

QString FitRoughDlg::figuresText() const {
    if (!model_.outcome()) return {};
    QString text;
    for (const FigureLine& line : fitFigureLines(*model_.outcome()))
        text += fromCoreText(line.label) + QStringLiteral(": ") + fromCoreText(line.value) + QLatin1Char('\n');
    return text;
}

QString FitRoughDlg::problemsText() const { return problems_->text(); }
QString FitRoughDlg::roughStatusText() const { return roughStatus_->text(); }

void FitRoughDlg::addAvoidRow() {
    const int row = avoid_->rowCount();
    avoid_->insertRow(row);
    // A new sphere starts at the rough's centre with a millimetre's radius.
    double centre[3] = {0, 0, 0};
    if (const rough::Rough* r = model_.rough().rough.get()) {
        const std::array<Vec3, 2> bounds = rough::roughBounds(*r);
        centre[0] = (bounds[0].x + bounds[1].x) / 2;
        centre[1] = (bounds[0].y + bounds[1].y) / 2;
        centre[2] = (bounds[0].z + bounds[1].z) / 2;
    }
    const QSignalBlocker quiet(avoid_);
    for (int column = 0; column < 3; ++column)
        avoid_->setItem(row, column, new QTableWidgetItem(QString::number(centre[column], 'f', 2)));
    avoid_->setItem(row, 3, new QTableWidgetItem(QStringLiteral("1")));
    avoid_->setCurrentCell(row, 0);
    avoidEdited();
}

void FitRoughDlg::removeAvoidRow() {
    const int row = avoid_->currentRow();
    if (row < 0) return;
    avoid_->removeRow(row);
    avoidEdited();
}

void FitRoughDlg::avoidEdited() {
    // The view shows the spheres as typed so far; the stone placed without them is stale.
    const CheckedOptions options = checkFitOptions(formText());
    view_->setAvoid(options.options.avoid);
    clearFigures();
    model_.clearOutcome();
}

void FitRoughDlg::browseRough() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Rough"), roughPath_->text(),
                                                      QStringLiteral("Rough meshes (*.stl *.obj);;All files (*)"));
    if (!path.isEmpty()) openRoughFile(path);
}

void FitRoughDlg::browseDesign() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choose a Design"), designPath_->text(),
                                     QStringLiteral("Designs (*.gem *.asc *.brx);;All files (*)"));
    if (!path.isEmpty()) openDesignFile(path);
}

void FitRoughDlg::browsePlacedStone() {
    QString selected;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Placed Stone"), QString(),
                                                QStringLiteral("ASCII STL (*.stl);;Wavefront OBJ (*.obj)"),
                                                &selected);
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("stl") && suffix != QStringLiteral("obj"))
        path += selected.contains(QStringLiteral("*.obj")) ? QStringLiteral(".obj") : QStringLiteral(".stl");
    savePlacedStone(path);
}

bool FitRoughDlg::savePlacedStone(const QString& path) {
    const std::optional<FitOutcome>& outcome = model_.outcome();
    if (!outcome || !outcome->result.fits) {
        status_->setText(QStringLiteral("Fit a stone first."));
        return false;
    }
    std::string error;
    const std::string name = model_.designName().empty() ? "placed_stone" : model_.designName();
    if (!roughfit::savePlacedStone(outcome->placedStone, path.toStdString(), name, error)) {
        status_->setText(fromCoreText(error));
        return false;
    }
    status_->setText(QStringLiteral("Saved ") + QDir::toNativeSeparators(path));
    return true;
}

}  // namespace brevix::roughfit
