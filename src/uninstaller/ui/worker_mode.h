#pragma once
// The uninstaller's worker: the temporary copy that waits for the launcher,
// asks, removes and deletes itself. Needs a QApplication.
namespace brevix::uninstall {

int runWorkerMode(int argc, char** argv);

}  // namespace brevix::uninstall
