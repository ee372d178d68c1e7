// The numeric ids of dialog controls and menu commands as the program's resources name them,
// and the ids their wx windows and menu items carry. wx refuses menu ids above 32766, where the
// resources' command ids lie (from 32768 up), and has ids of its own for the standard commands.
#pragma once

class CWindowIds {
public:
    // Standard ids: 1 wxID_OK, 2 wxID_CANCEL, 57601 wxID_OPEN, 57603 wxID_SAVE,
    // 57606 wxID_PRINT_SETUP, 57634 wxID_COPY, 57635 wxID_CUT, 57637 wxID_PASTE,
    // 57642 wxID_SELECTALL, 57665 wxID_EXIT, 57670 wxID_HELP.
    // The program's own commands 32768 to 40958 move to 24576 to 32766, and control ids in wx's
    // reserved range 4999 to 5999 to 23575 to 24575, so resources give no control those ids.
    // Every other id, control ids among them, stays as it is.
    static int FromResourceId(int resourceId);
    // The reverse.
    static int ToResourceId(int windowId);
};
