#include "app/dialogs/add_dlg.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include "app/message_box_sink.h"
#include "document/cut_commands.h"
#include "document/gem_doc.h"

namespace brevix {

namespace {

// The form's texts end their lines Windows style; the edit wants bare LFs.
QString multiLine(const std::string& text) {
    QString s = fromCore(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

QLineEdit* numberEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

CAddDlg::CAddDlg(CGemDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CAddDlg"));
    setWindowTitle(QStringLiteral("Cut Facet"));

    angle_ = numberEdit(this, "angleEdit");
    index_ = numberEdit(this, "indexEdit");
    ced_ = numberEdit(this, "cedEdit");
    symmetry_ = numberEdit(this, "symmetryEdit");
    symmetry_->setMaximumWidth(symmetry_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));

    points_ = new QPlainTextEdit(this);
    points_->setObjectName(QStringLiteral("pointsEdit"));
    points_->setTabChangesFocus(true);
    points_->setLineWrapMode(QPlainTextEdit::NoWrap);
    points_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    fitPointsHeight();

    mirror_ = new QCheckBox(QStringLiteral("mirror"), this);
    mirror_->setObjectName(QStringLiteral("mirrorCheck"));
    clear_ = new QPushButton(QStringLiteral("Clear"), this);
    clear_->setObjectName(QStringLiteral("clearButton"));
    between_ = new QPushButton(QStringLiteral("Between 1,2"), this);
    between_->setObjectName(QStringLiteral("betweenButton"));
    between_->setEnabled(false);
    cut_ = new QPushButton(QStringLiteral("Apply"), this);
    cut_->setObjectName(QStringLiteral("cutButton"));
    cut_->setDefault(true);
    // A click must not take the focus first: the field being edited is read
    // by the button itself, after it has looked at its caption.
    for (QPushButton* b : {clear_, between_, cut_}) {
        b->setFocusPolicy(Qt::TabFocus);
        // As narrow as their captions: the pane is a quarter of the window.
        const QString widest = b == cut_ ? QStringLiteral("Cut Facet") : b->text();
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(widest) + 14);
    }

    // Tight spacing: the form shares the left column with the spin view.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Angle"), this), row, 0);
    grid->addWidget(angle_, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Index"), this), row, 0);
    grid->addWidget(index_, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Center-to-Facet\nDistance"), this), row, 0);
    grid->addWidget(ced_, row++, 1, 1, 2);

    auto* pointsTitle = new QLabel(QStringLiteral("Points X Y Z"), this);
    grid->addWidget(pointsTitle, row++, 0, 1, 3);
    rowNumbers_ = new QLabel(QStringLiteral("1\n2\n3"), this);
    rowNumbers_->setFont(points_->font());
    rowNumbers_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The box takes the whole width of the form, not only the fields'
    // column: three coordinates a line need the room.
    auto* pointsRow = new QHBoxLayout;
    pointsRow->addWidget(rowNumbers_);
    pointsRow->addWidget(points_, 1);
    grid->addLayout(pointsRow, row++, 0, 1, 3);

    auto* symmetryRow = new QHBoxLayout;
    symmetryRow->addWidget(symmetry_);
    symmetryRow->addWidget(new QLabel(QStringLiteral("-fold"), this));
    symmetryRow->addSpacing(12);
    symmetryRow->addWidget(mirror_);
    symmetryRow->addStretch(1);
    grid->addLayout(symmetryRow, row++, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear_);
    buttons->addWidget(between_);
    buttons->addStretch(1);
    buttons->addWidget(cut_);
    grid->addLayout(buttons, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);

    for (QWidget* field : std::initializer_list<QWidget*>{angle_, index_, ced_, points_, symmetry_})
        field->installEventFilter(this);
    setTabOrder(angle_, index_);
    setTabOrder(index_, ced_);
    setTabOrder(ced_, points_);
    setTabOrder(points_, symmetry_);
    setTabOrder(symmetry_, mirror_);
    setTabOrder(mirror_, clear_);
    setTabOrder(clear_, between_);
    setTabOrder(between_, cut_);

    connect(mirror_, &QCheckBox::clicked, this, [this](bool checked) { doc_.pending().mirrorToggled(checked); });
    connect(clear_, &QPushButton::clicked, this, [this] {
        doc_.pending().clearInfo();
        doc_.pendingChanged(this);
    });
    connect(between_, &QPushButton::clicked, this, [this] {
        applyFocusedField();
        if (onBetween) onBetween();
    });
    connect(cut_, &QPushButton::clicked, this, [this] { pressDefaultButton(); });

    refresh();
}

CAddDlg::~CAddDlg() = default;

bool CAddDlg::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        // A scroll area around the form would take the focus on a click of
        // a button and read the field being edited before the button has
        // looked at its caption.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) area->setFocusPolicy(Qt::NoFocus);
    }
    return QWidget::event(event);
}

void CAddDlg::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere in the form (the mirror box, a button with the focus)
    // presses the default button, as in a dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pressDefaultButton();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CAddDlg::fitPointsHeight() {
    const int lineHeight = points_->fontMetrics().lineSpacing();
    points_->setFixedHeight(lineHeight * 3 + 2 * points_->frameWidth() +
                            static_cast<int>(2 * points_->document()->documentMargin()) + 4);
}

void CAddDlg::fitPointsFont() {
    // A point is three coordinates on one line; in a narrow pane the box
    // takes a smaller type rather than hide Y and Z past its right edge.
    // Below the smallest readable size it scrolls sideways instead.
    constexpr qreal kSmallest = 6;
    NewFacetInfo sample;
    sample.nPoints = 1;
    sample.points[0] = Vec3{-1, -1, -1};
    const QString widest = fromCore(pointsFieldText(sample)).trimmed() + QLatin1Char(' ');
    const int room = points_->viewport()->width() - static_cast<int>(2 * points_->document()->documentMargin());
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    qreal size = font.pointSizeF();
    while (size > kSmallest && QFontMetrics(font).horizontalAdvance(widest) > room) {
        size -= 0.5;
        font.setPointSizeF(size);
    }
    if (font == points_->font()) return;
    points_->setFont(font);
    rowNumbers_->setFont(font);
    fitPointsHeight();
}

bool CAddDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == points_) {
        fitPointsFont();
        return false;
    }
    // Ctrl+A and the other editing keys are the field's own (select all,
    // copy, paste): the window's shortcuts get them only outside the fields.
    if (event->type() == QEvent::FocusOut) {
        // A menu opening over the form takes the focus only for a moment.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) applyField(watched);
    } else if (event->type() == QEvent::KeyPress && watched != points_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pressDefaultButton();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CAddDlg::applyField(QObject* field) {
    // Only what the user changed is read back: a field re-read as shown would
    // round picked points and derived values to the digits on screen.
    auto lineEdit = [&](QLineEdit* edit, auto&& handler) {
        if (field != edit) return false;
        if (!edit->isModified()) return true;
        edit->setModified(false);
        edit->setText(fromCore(handler(toCore(edit->text()))));
        return true;
    };
    bool known = lineEdit(angle_, [this](const std::string& t) { return doc_.pending().angleFieldEdited(t); }) ||
                 lineEdit(index_, [this](const std::string& t) { return doc_.pending().indexFieldEdited(t); }) ||
                 lineEdit(ced_, [this](const std::string& t) { return doc_.pending().cedFieldEdited(t); }) ||
                 lineEdit(symmetry_, [this](const std::string& t) {
                     return doc_.pending().symmetryFieldEdited(t, mirror_->isChecked());
                 });
    if (!known && field == points_) {
        known = true;
        if (points_->document()->isModified()) {
            points_->document()->setModified(false);
            doc_.pending().pointsFieldEdited(toCore(points_->toPlainText()));
            // Point lists decide what the other fields can be derived from:
            // the form is shown afresh with the views.
            doc_.pendingChanged(this);
            return true;
        }
        return true;
    }
    if (!known) return false;
    // The caption follows what is now known; the field just read keeps the
    // text its reading rule gave it (an emptied symmetry stays empty).
    const QWidget* keep = qobject_cast<QWidget*>(field);
    const QString kept = qobject_cast<const QLineEdit*>(keep) ? static_cast<const QLineEdit*>(keep)->text() : QString();
    // The views and the figures follow the pending facet; the form with them.
    doc_.pendingChanged(this);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(kept);
        edit->setModified(false);
    }
    return true;
}

void CAddDlg::applyFocusedField() {
    for (QWidget* w = focusWidget(); w; w = w->parentWidget()) {
        if (w == this) break;
        if (applyField(w)) return;
    }
}

void CAddDlg::pressDefaultButton() {
    // The caption as the user saw it decides: "Apply" only ends the editing
    // of the current field.
    const bool cuts = defaultButtonCuts(toCore(cut_->text()));
    applyFocusedField();
    if (cuts && doc_.pending().completeInfo()) {
        cutFromForm(doc_, this);
    } else {
        refresh();
    }
}

void CAddDlg::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const CutFacetFormTexts texts = doc_.pending().formTexts();
    cut_->setText(fromCore(texts.caption));
    angle_->setText(fromCore(texts.angle));
    index_->setText(fromCore(texts.index));
    ced_->setText(fromCore(texts.ced));
    points_->setPlainText(multiLine(texts.points));
    points_->document()->setModified(false);
    symmetry_->setText(fromCore(texts.symmetry));
    mirror_->setChecked(texts.mirror);
    between_->setEnabled(texts.betweenEnabled && static_cast<bool>(onBetween));
    for (QLineEdit* e : {angle_, index_, ced_, symmetry_}) e->setModified(false);
    refreshing_ = false;
}

}  // namespace brevix
