#pragma once
// Pieces the small command dialogs share: a titled group of radio buttons
// numbered in their order, and the OK/Cancel row.
#include <QStringList>

class QButtonGroup;
class QDialog;
class QDialogButtonBox;
class QGroupBox;
class QWidget;

namespace brevix {

// A group box of radio buttons, the button `checked` checked; the buttons
// carry ids 0, 1, ... in `group`. Texts may hold an '&' for the mnemonic.
QGroupBox* radioGroup(const QString& title, const QStringList& texts, int checked,
                      QButtonGroup*& group, QWidget* parent);

// OK and Cancel, accepting and rejecting `dialog`.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

}  // namespace brevix
