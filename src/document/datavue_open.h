#pragma once
// File > Search Datavue Database: the document's side. The search dialog
// (src/app) runs through the runner given; a design chosen there is read
// from its temporary extracted copy as a text design and takes the
// member's name, in the current folder, as its file name.
#include <functional>
#include <optional>

#include "files/datavue_members.h"

namespace brevix {

class CGemDoc;

struct DatavueDialogResult {
    bool opened = false;                    // Open was pressed (else Cancel)
    std::optional<ExtractedDesign> design;  // nothing: the design text could not be had
};
using DatavueDialogRunner = std::function<DatavueDialogResult()>;

// True when a design from the database became the document's design.
bool OnSearchDatavue(CGemDoc& doc, const DatavueDialogRunner& runDialog);

}  // namespace brevix
