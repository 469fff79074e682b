#pragma once
// A DocumentUi that answers file dialogs and the "save changes?" question
// from a script and keeps what it was asked, for the document's tests.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "document/document_ui.h"

namespace brevix {

class ScriptedUi : public DocumentUi {
public:
    std::deque<std::optional<FileDialogResult>> dialogs;  // empty: Cancel
    std::deque<Answer> saveChangesAnswers;                // empty: No
    std::vector<FileDialogRequest> requests;
    std::vector<std::string> saveChangesTitles;
    std::vector<std::string> registeredPaths;
    std::vector<bool> modifiedMarks;  // each change of the unsaved-changes mark

    void choose(std::string path, int filterIndex = 1) {
        dialogs.push_back(FileDialogResult{std::move(path), filterIndex});
    }

    std::optional<FileDialogResult> chooseFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (dialogs.empty()) return std::nullopt;
        auto next = dialogs.front();
        dialogs.pop_front();
        return next;
    }
    Answer askSaveChanges(const std::string& title) override {
        saveChangesTitles.push_back(title);
        if (saveChangesAnswers.empty()) return Answer::No;
        Answer next = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return next;
    }
    void documentPathChanged(const std::string& path, bool) override { registeredPaths.push_back(path); }
    void modifiedChanged(bool modified) override { modifiedMarks.push_back(modified); }
};

}  // namespace brevix
