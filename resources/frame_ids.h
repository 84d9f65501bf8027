#pragma once
// Identifiers of the frame's menu, accelerators, strings and dialogs.

#define IDD_ABOUT 100
#define IDD_PORT 205
#define IDC_PORT_LIST 1002

#define IDS_READY 0xE001
#define IDW_STATUS_BAR 0xE801

#define ID_WRITE_TO_DISPLAY 0x8005
#define ID_CONFIGURE_PORT 0x8006
#define ID_SIZE_2X20 0x8008
#define ID_SIZE_2X16 0x8009
#define ID_SIZE_4X20 0x800A

#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT 0xE107
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151
#define ID_VIEW_STATUS_BAR 0xE801

// Prompts of system commands: 0xEF00 + (command - 0xF000) / 16.
#define IDS_SC_SIZE 0xEF00
#define IDS_SC_MOVE 0xEF01
#define IDS_SC_MINIMIZE 0xEF02
#define IDS_SC_MAXIMIZE 0xEF03
#define IDS_SC_NEXTWINDOW 0xEF04
#define IDS_SC_PREVWINDOW 0xEF05
#define IDS_SC_CLOSE 0xEF06
#define IDS_SC_RESTORE 0xEF12
#define IDS_SC_TASKLIST 0xEF13
