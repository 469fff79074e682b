#pragma once
// File > Open Folder... and `brevix FOLDER`: a gallery window beside the
// main window, whose double click opens a design in the main window.
#include <QString>

namespace brevix {

class CMainFrame;
class GalleryWindow;

GalleryWindow* openGallery(CMainFrame& frame, const QString& folder);
// Asks for the folder first; nothing when the user cancels.
void chooseGalleryFolder(CMainFrame& frame);

}  // namespace brevix
