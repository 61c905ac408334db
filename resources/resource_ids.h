// Numbers of the program's resources and of the commands its soft-key menus send.
// Shared by the resource script and the settings editor.
#pragma once

#define IDD_EDITOR_DIALOG 102      // the one empty dialog template every editor dialog is made from
#define IDR_MENU_SAVE_CANCEL 105   // soft keys of the hub and the two pages
#define IDR_MENU_SELECT_CANCEL 109 // soft keys of the file picker

#define IDM_SAVE 106   // left soft key of the pages (empty on the hub)
#define IDM_CANCEL 107 // right soft key: Cancel, or Exit on the hub
#define IDM_SELECT 108 // left soft key of the file picker
