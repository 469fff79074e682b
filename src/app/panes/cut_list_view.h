#pragma once
// The cut list pane along the bottom of the window: the cutting-instruction
// table, one row a line, in the columns Name, Angle, Indexes and Cutting
// Instructions. A click on a row (or Enter or Space) opens the Edit Tier
// dialog for the tier the row lists.
#include <QMap>
#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "live/design_warnings.h"

namespace brevix {

class CGemDoc;
class CEditTierDlg;

// The cut list: the design's cutting instructions, one tier a row.
class CCutLstView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CCutLstView(CGemDoc& doc, QWidget* parent = nullptr);

    // Sets the four columns to 10 %, 10 %, 40 % and 40 % of `width`.
    void setColumnWidthsFor(int width);
    // Rebuilds the rows from the design's instruction table.
    void refresh();
    // Rebuilds the rows from the given table text (lines ended by LF).
    void setTableText(std::string_view text);

    // The columns of one line of the table: when the line holds a tab after
    // its first character, the text from its second character up to that
    // tab and then each further tab-separated field; otherwise the whole line.
    static QStringList columnsOfLine(std::string_view line);

    // Marks the rows of the tiers each warning names, the warning in the
    // row's tool tip; the marks of the last call go.
    void markWarnings(const std::vector<DesignWarning>& warnings);
    // The rows marked now, with their warnings.
    QMap<int, QStringList> markedRows() const { return marked_; }
    // The facet the row lists (-1: none), for the tier the row names.
    int32_t facetOfRowAt(int row) const;
    // The row that lists the facet's tier (-1: none), as last refreshed.
    int rowOfFacet(int32_t facet) const;

    int currentRow() const { return currentRow_; }
    // Makes `row` the current row and edits the tier it lists; a row that
    // lists no facet only beeps.
    void editRow(int row);
    // Edit > Copy while the list is active: statistics and instructions as text.
    void copyToClipboard();
    // The text copyToClipboard puts on the clipboard.
    std::string clipboardText();

    // Runs the Edit Tier dialog; tests replace it to press a button of their
    // choice. Returns what QDialog::exec returns.
    std::function<int(CEditTierDlg&)> runDialog;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CGemDoc& doc_;
    int currentRow_ = -1;
    int pressedRow_ = -1;
    QStringList rowTexts_;  // the rows as last shown, to find the one that changed
    std::vector<int32_t> lineOfFacet_;  // the row of each facet of the design, as last shown
    QMap<int, QStringList> marked_;
    std::vector<DesignWarning> warnings_;  // as last marked
};

}  // namespace brevix
