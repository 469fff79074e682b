#include "app/dialogs/search_datavue_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/file_dialogs.h"
#include "app/message_box_sink.h"
#include "app/qt_canvas.h"
#include "files/datavue_messages.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "views/four_view.h"
#include "views/view_style.h"
#include "views/wmf_picture.h"

namespace brevix {

namespace {

QString editText(QWidget* edit) {
    if (auto* line = qobject_cast<QLineEdit*>(edit)) return line->text();
    return static_cast<QPlainTextEdit*>(edit)->toPlainText();
}

void setEditText(QWidget* edit, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->setText(text);
    else
        static_cast<QPlainTextEdit*>(edit)->setPlainText(text);
}

}  // namespace

DatavuePreview::DatavuePreview(DatavueSearch& search, QWidget* parent) : QWidget(parent), search_(search) {
    setObjectName(QStringLiteral("previewArea"));
    setMinimumSize(260, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DatavuePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    const Rect area{0, 0, width(), height()};
    if (search_.previewKind() == PreviewKind::Picture) {
        canvas.setPen(Pen{PenStyle::Null, 0, {}});
        canvas.setBrush(WHITE_BRUSH);
        canvas.rectangle(area);
        drawWmf(search_.picture(), canvas, area);
        return;
    }
    // The four panes of the thumbnail stone; without one, just their origins.
    std::vector<View> panes;
    drawFourView(search_.previewKind() == PreviewKind::Thumbnail ? search_.previewStone() : nullptr, canvas,
                 area, FourViewOptions{}, panes);
}

SearchDatavueDialog::SearchDatavueDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SearchDatavueDialog"));
    setWindowTitle(QString::fromLatin1(dbmsg::DIALOG_TITLE));
    locateIndex = [this] { return locateIndexWithDialog(this); };

    auto* grid = new QGridLayout;
    int row = 0;
    for (int f = 0; f < DV_EDIT_COUNT; ++f) {
        const DatavueFieldInfo& info = DATAVUE_FIELDS[f];
        QWidget* edit;
        if (f == DV_REMARKS) {
            auto* remarks = new QPlainTextEdit(this);
            remarks->setTabChangesFocus(true);
            remarks->setFixedHeight(remarks->fontMetrics().lineSpacing() * 3 + 12);
            connect(remarks, &QPlainTextEdit::textChanged, this, [this, f] { fieldEdited(f); });
            edit = remarks;
        } else {
            auto* line = new QLineEdit(this);
            connect(line, &QLineEdit::textChanged, this, [this, f] { fieldEdited(f); });
            edit = line;
        }
        edit->setObjectName(QString::fromLatin1(info.name));
        edits_[f] = edit;
        auto* label = new QLabel(QString::fromLatin1(info.label), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, f == DV_REMARKS ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(edit, row, 1);
        ++row;
    }
    shape_ = new QComboBox(this);
    shape_->setObjectName(QStringLiteral("shapeBox"));
    for (const char* name : SHAPE_NAMES) shape_->addItem(QString::fromLatin1(name));
    shape_->setCurrentIndex(-1);
    connect(shape_, &QComboBox::activated, this, [this](int index) { shapeChosen(index); });
    auto* shapeLabel = new QLabel(QStringLiteral("Shape"), this);
    shapeLabel->setBuddy(shape_);
    grid->addWidget(shapeLabel, row, 0);
    grid->addWidget(shape_, row, 1);
    static_cast<QLineEdit*>(edits_[DV_NAME])->setMinimumWidth(
        edits_[DV_NAME]->fontMetrics().horizontalAdvance(QString(32, QLatin1Char('x'))));

    caption_ = new QLabel(QString::fromLatin1(dbmsg::PREVIEW_INITIAL), this);
    caption_->setObjectName(QStringLiteral("previewCaption"));
    preview_ = new DatavuePreview(search_, this);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(caption_);
    previewColumn->addWidget(preview_, 1);

    findNext_ = new QPushButton(QStringLiteral("Find &Next"), this);
    findNext_->setObjectName(QStringLiteral("findNextButton"));
    findNext_->setDefault(true);
    previous_ = new QPushButton(QStringLiteral("&Previous"), this);
    previous_->setObjectName(QStringLiteral("previousButton"));
    open_ = new QPushButton(QStringLiteral("&Open"), this);
    open_->setObjectName(QStringLiteral("openButton"));
    open_->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(findNext_, &QPushButton::clicked, this, [this] { findAndShow(+1); });
    connect(previous_, &QPushButton::clicked, this, [this] { findAndShow(-1); });
    connect(open_, &QPushButton::clicked, this, [this] { openDesign(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(previous_);
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 0);
    top->addLayout(previewColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

bool SearchDatavueDialog::prepare() {
    const std::optional<std::string> stored = databasePath();
    if (!stored) {
        showMessage(dbmsg::REGISTRY_FAILED, Icon::Warning);
        return false;
    }
    // The libraries stay beside the stored index until the dialog opens again,
    // even when the index is found elsewhere now.
    const std::string libraryFolder = libraryFolderOf(*stored);
    DbfTable table;
    if (readDbf(table, *stored) != DBF_READ) {
        const std::optional<std::string> chosen = locateIndex ? locateIndex() : std::nullopt;
        if (!chosen || readDbf(table, *chosen) != DBF_READ) return false;
        storeDatabasePath(*chosen);
    }
    search_.attach(std::move(table), libraryFolder);
    showNotes();
    showSearch();
    return true;
}

DatavueDialogResult SearchDatavueDialog::run(QWidget* parent) {
    SearchDatavueDialog dialog(parent);
    DatavueDialogResult result;
    if (!dialog.prepare()) return result;
    if (dialog.exec() != QDialog::Accepted) return result;
    result.opened = true;
    result.design = dialog.takeDesign();
    return result;
}

void SearchDatavueDialog::fieldEdited(int field) {
    search_.editChanged(field, toCore(editText(edits_[field])));
    showSearch();
}

void SearchDatavueDialog::shapeChosen(int index) {
    outcome(search_.shapeChosen(index));
}

void SearchDatavueDialog::findAndShow(int step) { outcome(search_.findAndShow(step)); }

void SearchDatavueDialog::showNotes() { showAll(search_.takeNotes(), messageSink()); }

void SearchDatavueDialog::outcome(DatavueSearch::Outcome what) {
    showNotes();
    if (what == DatavueSearch::Outcome::Beep) QApplication::beep();
    showSearch();
}

void SearchDatavueDialog::showSearch() {
    // What the search puts into the fields is not the user's typing.
    for (int f = 0; f < DV_EDIT_COUNT; ++f) {
        const QString text = fromCore(search_.edits[f]);
        if (editText(edits_[f]) == text) continue;
        const QSignalBlocker block(edits_[f]);
        setEditText(edits_[f], text);
    }
    {
        const QSignalBlocker block(shape_);
        shape_->setCurrentIndex(search_.shape);
    }
    caption_->setText(fromCore(search_.caption()));
    open_->setEnabled(search_.canOpen());
    preview_->update();
}

void SearchDatavueDialog::openDesign() {
    design_ = search_.openDesign();
    showNotes();
    accept();
}

std::optional<std::string> locateIndexWithDialog(QWidget* parent) {
    QFileDialog dialog(parent, QString::fromLatin1(dbmsg::LOCATE_INDEX_TITLE));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFiltersOf(dbmsg::LOCATE_INDEX_FILTER));
    dialog.setDefaultSuffix(QString::fromLatin1(dbmsg::LOCATE_INDEX_EXTENSION));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toPath(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

}  // namespace brevix
