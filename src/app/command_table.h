#pragma once
// The program's commands as the user meets them: id, menu text, status-bar
// prompt, toolbar tooltip and accelerators. The menu bar, the toolbar, the
// status bar and the tests all read this one table.
#include <span>

namespace brevix {

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_OPEN_FOLDER = 32851,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_SEARCH_DATAVUE = 32780,
    ID_FILE_EXPORT = 32776,
    ID_FILE_FIT_ROUGH = 32880,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_APP_EXIT = 57665,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_EDIT_CUT = 57635,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_ANGLE = 32816,
    ID_EDIT_INDEX = 32819,
    ID_EDIT_INDEX_GEAR = 32773,
    ID_EDIT_TRANSFER = 32772,
    ID_EDIT_SORT = 32808,
    ID_EDIT_RENAME = 32820,
    ID_EDIT_HEADING = 32782,
    ID_STONE_ROTATE = 32781,
    ID_STONE_SCALE = 32774,
    ID_STONE_CENTER = 32775,
    ID_STONE_REFLECT = 32802,
    ID_STONE_REGENERATE = 32813,
    ID_STONE_SIZE_WEIGHT = 32840,
    ID_STONE_OPTIMISE = 32860,
    ID_STONE_RETARGET = 32861,
    ID_STONE_MEET_TOLERANCE = 32862,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_ZOOM_OUT = 32792,
    ID_ZOOM_TOP = 32793,
    ID_ZOOM_SIDE = 32794,
    ID_ZOOM_END = 32795,
    ID_ZOOM_BOTTOM = 32796,
    ID_VIEW_REPLAY = 32800,
    ID_VIEW_HIDDEN_LINES = 32812,
    ID_VIEW_LIGHT_PERFORMANCE = 32830,
    ID_VIEW_CUTTING_ASSISTANT = 32850,
    ID_VIEW_DESIGN_FIGURES = 32870,
    ID_RAYS_ERASE = 32811,
    ID_PREFORM_DELETE = 32804,
    ID_PREFORM_CAM = 32805,
    ID_PREFORM_COPY = 32806,
    ID_PREFORM_EDIT = 32807,
    ID_RAYS_PROPERTIES = 32810,
    ID_HELP_CONTENTS = 32821,
    ID_APP_ABOUT = 57664,
    // Not on the menu: pane switching (F6, Shift+F6).
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

struct CommandInfo {
    int id;
    const char* menuText;  // null for commands that live only on keys
    const char* prompt;    // status-bar prompt; "" when the command has none
    const char* tooltip;   // toolbar tooltip; null when not on the toolbar
    const char* keys[2];   // accelerators in QKeySequence's portable text, null when none
};

std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(int id);

// Toolbar order; 0 stands for a separator.
std::span<const int> toolbarCommands();

// The menus: a title and the ids of its items in order; 0 is a separator,
// -1 the recent-file list, -2 the Zoom submenu.
struct MenuInfo {
    const char* title;
    std::span<const int> items;
};
std::span<const MenuInfo> menuTable();
std::span<const int> zoomCommands();

}  // namespace brevix
