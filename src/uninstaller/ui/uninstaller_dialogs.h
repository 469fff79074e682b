#pragma once
// The uninstaller's questions and its list of what could not be removed.
#include <QDialog>
#include <string>
#include <vector>

#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_services.h"

class QWidget;

namespace brevix::uninstall {

// "Do you want to remove …?" with a question icon; Yes is the default
// button, so Enter answers Yes. True for Yes; No, Escape and closing say no.
bool confirmRemoval(QWidget* parent, const UninstallContext& context);

// "Remove Shared File?" with Yes, No, Yes to All and No to All. Closing the
// box keeps the file.
SharedAnswer askRemoveSharedFile(QWidget* parent, const std::string& text);

// Every error line of the run in a read-only box under the log's label.
class ErrorDetailsDialog : public QDialog {
public:
    ErrorDetailsDialog(const UninstallContext& context, QWidget* parent);
};

}  // namespace brevix::uninstall
