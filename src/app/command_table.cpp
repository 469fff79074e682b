#include "app/command_table.h"

#include <algorithm>
#include <array>

namespace brevix {

namespace {

// Two spellings of some prompts ("wiith", "Quorly") are the program's own and stay.
constexpr CommandInfo kCommands[] = {
    {ID_FILE_NEW, "&New", "Create a new document", "New", {"Ctrl+N", nullptr}},
    {ID_FILE_OPEN, "&Open...", "Open an existing document", "Open", {"Ctrl+O", nullptr}},
    {ID_FILE_OPEN_FOLDER, "Open &Folder...", "Open a folder of designs as a gallery of tiles", nullptr, {}},
    {ID_FILE_SAVE, "&Save", "Save the active document", "Save", {"Ctrl+S", nullptr}},
    {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name", nullptr, {}},
    {ID_FILE_SEARCH_DATAVUE, "Search &Datavue Database...",
     "Search the Quorly database of faceting designs", "Search Datavue", {}},
    {ID_FILE_EXPORT, "Expor&t...", "", nullptr, {}},
    {ID_FILE_FIT_ROUGH, "Fit &into Rough...",
     "Find the largest stone of a design that a rough gives, from a scan or a simple shape", nullptr, {}},
    {ID_FILE_PRINT, "&Print...", "Print the active document", "Print", {"Ctrl+P", nullptr}},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Print preview diagram wiith cutting instructions",
     "Print Preview", {"Ctrl+R", nullptr}},
    {ID_FILE_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options", nullptr, {}},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents", nullptr, {}},
    {ID_EDIT_UNDO, "&Undo", "Undo the last action", "Undo", {"Ctrl+Z", "Alt+Backspace"}},
    {ID_EDIT_REDO, "&Redo", "Redo the previously undone action", "Redo", {"Ctrl+Y", nullptr}},
    {ID_EDIT_CUT, "Cu&t", "Cut the selection and put it on the Clipboard", nullptr,
     {"Ctrl+X", "Shift+Del"}},
    {ID_EDIT_COPY, "&Copy",
     "Copy the selected view of stone or cutting instructions to Windows Clipboard", "Copy",
     {"Ctrl+C", "Ctrl+Ins"}},
    {ID_EDIT_PASTE, "&Paste", "Insert Clipboard contents", nullptr, {"Ctrl+V", "Shift+Ins"}},
    {ID_EDIT_ANGLE, "&Angle...", "Enter the angle of a new facet", nullptr, {"Ctrl+A", nullptr}},
    {ID_EDIT_INDEX, "&Index...", "Enter the index of a new facet", nullptr, {"Ctrl+I", nullptr}},
    {ID_EDIT_INDEX_GEAR, "Inde&x Gear...", "Select index gear", "Index Gear", {}},
    {ID_EDIT_TRANSFER, "Tra&nsfer", "Transfer stone to cut crown/pavilion", "Transfer",
     {"Ctrl+T", nullptr}},
    {ID_EDIT_SORT, "S&ort...", "Sort cutting order", nullptr, {}},
    {ID_EDIT_RENAME, "Rena&me in order...", "Rename facets in order", nullptr, {}},
    {ID_EDIT_HEADING, "&Heading/Footnote...", "Heading and footnote on diagram", nullptr, {}},
    {ID_STONE_ROTATE, "Rotate/Ti&lt...", "Rotate or tilt the stone", nullptr, {}},
    {ID_STONE_SCALE, "&Scale...", "Scale: Stretch or shrink stone: square->rect., rd.->oval, etc.",
     nullptr, {}},
    {ID_STONE_CENTER, "C&enter...", "Slide or recenter the stone", nullptr, {}},
    {ID_STONE_REFLECT, "Re&flect...", "Reflect stone to stretch or shrink", nullptr, {}},
    {ID_STONE_REGENERATE, "Re&Generate", "Regenerate facet meet points from planes", nullptr, {}},
    {ID_STONE_SIZE_WEIGHT, "Si&ze and Weight...",
     "Show the stone's size in millimetres and its weight in carats for a material", nullptr, {}},
    {ID_STONE_OPTIMISE, "&Optimize...",
     "Search the tiers' angles for better light, keeping every meet and the cutter's limits", nullptr, {}},
    {ID_STONE_RETARGET, "Re&target to Material...",
     "Turn the design for another material and optimise it there", nullptr, {}},
    {ID_STONE_MEET_TOLERANCE, "&Meet Tolerance...",
     "How far a plane of a design that kept no intent may miss a meet and still be taken as cut to it",
     nullptr, {}},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar", nullptr, {}},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar", nullptr, {}},
    {ID_ZOOM_OUT, "Zoom Out", "Zoom out to see all 4 views", nullptr, {}},
    {ID_ZOOM_TOP, "Top View", "Zoom in to top view (upper-left)", nullptr, {}},
    {ID_ZOOM_SIDE, "Side View", "Zoom in to side view (upper-right)", nullptr, {}},
    {ID_ZOOM_END, "End View", "Zoom in to end view (lower-left)", nullptr, {}},
    {ID_ZOOM_BOTTOM, "Bottom View", "Zoom in to bottom view (lower-right)", nullptr, {}},
    {ID_VIEW_REPLAY, "&Replay", "Replay the stone one facet at a time", nullptr, {}},
    {ID_VIEW_HIDDEN_LINES, "&Hidden Lines", "Show/hide hidden lines", nullptr, {}},
    {ID_VIEW_LIGHT_PERFORMANCE, "&Light Performance",
     "Show or hide the ray-traced face-up picture and brightness of the design", nullptr, {}},
    {ID_VIEW_DESIGN_FIGURES, "Design &Figures",
     "Show or hide the proportions, girdle, weight and warnings of the design as it changes", nullptr, {}},
    {ID_VIEW_CUTTING_ASSISTANT, "C&utting Assistant",
     "Cut the design at the machine one facet at a time, in large type, keeping your progress",
     nullptr, {"F9", nullptr}},
    {ID_RAYS_ERASE, "Re&fresh / &Erase Rays", "Erase light rays", nullptr, {"Ctrl+D", nullptr}},
    {ID_PREFORM_DELETE, "Preform &Delete", "Delete the preform", nullptr, {}},
    {ID_PREFORM_CAM, "&Create CAM", "Create a CAM preform for girdle outline", nullptr, {}},
    {ID_PREFORM_COPY, "Copy to &Preform", "Copy facets from start to last girdle to create preform",
     nullptr, {}},
    {ID_PREFORM_EDIT, "Preform &Edit", "Edit preform (hide stone)", nullptr, {}},
    {ID_RAYS_PROPERTIES, "Raytrace &Properties...", "Set refractive index, critical angle", nullptr,
     {}},
    {ID_HELP_CONTENTS, "&Contents", "Display User's Guide", nullptr, {}},
    {ID_APP_ABOUT, "&About Brevix...", "Display program information and version number", "About",
     {}},
    // Printing on the chosen printer without asking (the views' quick print).
    {ID_FILE_PRINT_DIRECT, nullptr, "Print the diagram on the current printer without asking",
     nullptr, {}},
    {ID_NEXT_PANE, nullptr, "Switch to the next window pane", nullptr, {"F6", nullptr}},
    {ID_PREV_PANE, nullptr, "Switch back to the previous window pane", nullptr,
     {"Shift+F6", nullptr}},
};

constexpr int kToolbar[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SEARCH_DATAVUE, ID_FILE_PRINT,
    ID_FILE_PRINT_PREVIEW, 0, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_COPY, ID_EDIT_TRANSFER,
    ID_EDIT_INDEX_GEAR, 0, ID_APP_ABOUT,
};

constexpr int kFileMenu[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_OPEN_FOLDER, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_SEARCH_DATAVUE,
    ID_FILE_EXPORT, ID_FILE_FIT_ROUGH, 0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0, -1, 0,
    ID_APP_EXIT,
};
constexpr int kEditMenu[] = {
    ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_ANGLE,
    ID_EDIT_INDEX, ID_EDIT_INDEX_GEAR, 0, ID_EDIT_TRANSFER, ID_EDIT_SORT, ID_EDIT_RENAME,
    ID_EDIT_HEADING,
};
constexpr int kStoneMenu[] = {
    ID_STONE_ROTATE, ID_STONE_SCALE, ID_STONE_CENTER, ID_STONE_REFLECT, 0, ID_STONE_REGENERATE,
    0, ID_STONE_SIZE_WEIGHT, 0, ID_STONE_OPTIMISE, ID_STONE_RETARGET, 0, ID_STONE_MEET_TOLERANCE,
};
constexpr int kViewMenu[] = {
    ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, -2, 0, ID_VIEW_REPLAY, ID_VIEW_HIDDEN_LINES, 0,
    ID_VIEW_LIGHT_PERFORMANCE, ID_VIEW_DESIGN_FIGURES, ID_VIEW_CUTTING_ASSISTANT,
};
constexpr int kPreformMenu[] = {
    ID_PREFORM_DELETE, ID_PREFORM_CAM, ID_PREFORM_COPY, ID_PREFORM_EDIT,
};
constexpr int kRaytraceMenu[] = {ID_RAYS_PROPERTIES, ID_RAYS_ERASE};
constexpr int kHelpMenu[] = {ID_HELP_CONTENTS, 0, ID_APP_ABOUT};
constexpr int kZoomMenu[] = {ID_ZOOM_OUT, ID_ZOOM_TOP, ID_ZOOM_SIDE, ID_ZOOM_END, ID_ZOOM_BOTTOM};

const MenuInfo kMenus[] = {
    {"&File", kFileMenu},       {"&Edit", kEditMenu},         {"&Stone", kStoneMenu},
    {"&View", kViewMenu},       {"&Preform", kPreformMenu},   {"&Raytrace", kRaytraceMenu},
    {"&Help", kHelpMenu},
};

}  // namespace

std::span<const CommandInfo> commandTable() { return kCommands; }

const CommandInfo* findCommand(int id) {
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::span<const int> toolbarCommands() { return kToolbar; }
std::span<const MenuInfo> menuTable() { return kMenus; }
std::span<const int> zoomCommands() { return kZoomMenu; }

}  // namespace brevix
