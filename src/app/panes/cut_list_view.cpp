#include "app/panes/cut_list_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "app/dialogs/edit_tier_dlg.h"
#include "app/message_box_sink.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "document/gem_doc.h"
#include "document/tier_edit.h"
#include "platform/messages.h"

namespace brevix {

CCutLstView::CCutLstView(CGemDoc& doc, QWidget* parent) : QTreeWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CCutLstView"));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Angle"), QStringLiteral("Indexes"),
                     QStringLiteral("Cutting Instructions")});
    setColumnWidthsFor(700);
    runDialog = [](CEditTierDlg& dialog) { return dialog.exec(); };
}

void CCutLstView::setColumnWidthsFor(int width) {
    // Whole pixels, truncated, as the columns were first laid out.
    setColumnWidth(0, width * 10 / 100);
    setColumnWidth(1, width * 10 / 100);
    setColumnWidth(2, width * 40 / 100);
    setColumnWidth(3, width * 40 / 100);
}

QStringList CCutLstView::columnsOfLine(std::string_view line) {
    QStringList columns;
    const size_t tab = line.size() > 1 ? line.find('\t', 1) : std::string_view::npos;
    if (tab == std::string_view::npos) {
        columns << fromCore(line);
        return columns;
    }
    columns << fromCore(line.substr(1, tab - 1));
    std::string_view rest = line.substr(tab + 1);
    while (true) {
        const size_t next = rest.find('\t');
        columns << fromCore(rest.substr(0, next));
        if (next == std::string_view::npos) break;
        rest = rest.substr(next + 1);
    }
    return columns;
}

void CCutLstView::setTableText(std::string_view text) {
    const QStringList before = rowTexts_;
    clear();
    rowTexts_.clear();
    QList<QTreeWidgetItem*> rows;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const QStringList columns = columnsOfLine(line);
        auto* item = new QTreeWidgetItem(columns);
        // A narrow column cuts a long index list or instruction short; the
        // whole text shows when the pointer rests on it.
        for (int c = 0; c < columns.size(); ++c) item->setToolTip(c, columns[c]);
        rows << item;
        rowTexts_ << columns.join(QLatin1Char('\t'));
        if (end == std::string_view::npos) break;
        text = text.substr(end + 1);
    }
    addTopLevelItems(rows);
    if (currentRow_ >= 0 && currentRow_ < topLevelItemCount()) {
        setCurrentItem(topLevelItem(currentRow_));
    }
    // The first row that changed is the tier just cut (or edited): the
    // cutter sees it without scrolling. A new design scrolls nowhere.
    if (before.isEmpty()) return;
    int changed = 0;
    while (changed < rowTexts_.size() && changed < before.size() && rowTexts_[changed] == before[changed])
        ++changed;
    if (changed < topLevelItemCount()) scrollToItem(topLevelItem(changed), QAbstractItemView::EnsureVisible);
}

void CCutLstView::refresh() {
    const Stone* stone = doc_.stone();
    if (!stone) {
        lineOfFacet_.clear();
        setTableText({});
        return;
    }
    int lines = 0;
    InstructionText text;
    instructionText(*stone, CUT_LIST_WIDTH, lines, text);
    doc_.keepNotes(std::move(text.notes));
    lineOfFacet_ = std::move(text.lineOfFacet);
    setTableText(text.instructions);
}

void CCutLstView::markWarnings(const std::vector<DesignWarning>& warnings) {
    warnings_ = warnings;
    const QBrush plain;
    for (auto it = marked_.begin(); it != marked_.end(); ++it) {
        if (it.key() >= topLevelItemCount()) continue;
        QTreeWidgetItem* item = topLevelItem(it.key());
        item->setIcon(0, QIcon());
        for (int c = 0; c < columnCount(); ++c) {
            item->setBackground(c, plain);
            item->setToolTip(c, item->text(c));
        }
    }
    marked_.clear();
    const Stone* stone = doc_.stone();
    if (!stone) return;
    for (const DesignWarning& w : warnings) {
        const QString text = fromCore(w.text);
        for (int32_t f : w.facets) {
            if (f < 0 || f >= stone->nFacet) continue;
            const int row = rowOfFacet(f);
            if (row < 0 || row >= topLevelItemCount()) continue;
            if (!marked_[row].contains(text)) marked_[row] << text;
        }
    }
    const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (auto it = marked_.begin(); it != marked_.end(); ++it) {
        QTreeWidgetItem* item = topLevelItem(it.key());
        item->setIcon(0, icon);
        for (int c = 0; c < columnCount(); ++c) {
            item->setBackground(c, QColor(255, 232, 204));
            item->setToolTip(c, item->text(c) + QStringLiteral("\n\n") + it.value().join(QLatin1Char('\n')));
        }
    }
}

int32_t CCutLstView::facetOfRowAt(int row) const {
    const Stone* stone = doc_.stone();
    if (!stone) return -1;
    const int32_t count = std::min(stone->nFacet, static_cast<int32_t>(lineOfFacet_.size()));
    for (int32_t i = 0; i < count; ++i)
        if (lineOfFacet_[static_cast<size_t>(i)] == row && !stone->facets[i].isRough()) return i;
    return -1;
}

int CCutLstView::rowOfFacet(int32_t facet) const {
    if (facet < 0 || static_cast<size_t>(facet) >= lineOfFacet_.size()) return -1;
    return lineOfFacet_[static_cast<size_t>(facet)];
}

void CCutLstView::editRow(int row) {
    currentRow_ = row;
    if (row >= 0 && row < topLevelItemCount()) setCurrentItem(topLevelItem(row));
    const std::optional<TierRow> target = facetOfRow(doc_, row);
    if (!target) {
        QApplication::beep();
        return;
    }
    const TierEditFields shown = tierEditFields(*target->stone, target->facet);
    CEditTierDlg dialog(shown, angleIsEditable(*target->stone, target->facet), this);
    runDialog(dialog);
    applyTierEdit(doc_, *target, dialog.action(), shown, dialog.typed());
    // Cancel changes nothing, but the list shows the row it started from.
    if (dialog.action() == TierEditAction::Cancel) refresh();
}

void CCutLstView::mousePressEvent(QMouseEvent* event) {
    // The right button has no use in the list.
    if (event->button() != Qt::LeftButton) return;
    pressedRow_ = indexAt(event->position().toPoint()).row();
    QTreeWidget::mousePressEvent(event);
}

void CCutLstView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // One click edits the row under the mouse, as the list's one-click
    // activation does; a drag that ends on another row edits nothing.
    const QModelIndex at = indexAt(event->position().toPoint());
    const int row = at.isValid() ? at.row() : topLevelItemCount();
    if (row == pressedRow_ || (!at.isValid() && pressedRow_ < 0)) editRow(row);
    pressedRow_ = -1;
}

void CCutLstView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click of the pair has already opened the dialog.
    event->accept();
}

void CCutLstView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        const QList<QTreeWidgetItem*> selected = selectedItems();
        if (!selected.isEmpty()) editRow(indexOfTopLevelItem(selected.first()));
        event->accept();
        return;
    }
    default:
        QTreeWidget::keyPressEvent(event);
    }
}

std::string CCutLstView::clipboardText() {
    const Stone* stone = doc_.stone();
    if (!stone) return {};
    // The statistics need fresh bounds, which a reader works out on its own copy.
    Stone measured(*stone);
    computeBounds(measured);
    std::string text = statisticsText(measured);
    text += "\n";
    int lines = 0;
    InstructionText table;
    instructionText(*stone, CLIPBOARD_WIDTH, lines, table);
    doc_.keepNotes(std::move(table.notes));
    text += table.instructions;
    return text;
}

void CCutLstView::copyToClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard || !doc_.stone()) return;
    clipboard->setText(fromCore(clipboardText()));
    showMessage("Cutting instructions copied to clipboard", Icon::Information);
}

}  // namespace brevix
