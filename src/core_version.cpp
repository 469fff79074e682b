// Anchors brevix_core, the library that gathers every Qt-free subsystem.
namespace brevix {
const char* coreVersion() { return "1.09"; }
}  // namespace brevix
