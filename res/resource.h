// Identifiers of the program's resources and of their controls.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC            (-1)
#endif

// Dialog templates
#define IDD_COPY_PROGRESS     127
#define IDD_OVERWRITE         128
#define IDD_INSTALL_OPTIONS   129
#define IDD_LAUNCHER          130
#define IDD_UNINSTALL         131
#define IDD_BROWSE_PATH       133

// Icons
#define IDI_JEX               130
#define IDI_DRIVE_CDROM       136
#define IDI_DRIVE_FIXED       137
#define IDI_DRIVE_FLOPPY      139
#define IDI_DRIVE_REMOVABLE   140
#define IDI_DRIVE_COMPRESSED  141
#define IDI_DRIVE_REMOTE      143
#define IDI_DRIVE_RAM         144
#define IDI_FOLDER_CLOSED     146
#define IDI_FOLDER_OPEN       147

// Bitmaps
#define IDB_BACKGROUND        119
#define IDB_STRIP_EXIT        133
#define IDB_STRIP_INSTALL     134
#define IDB_STRIP_UNINSTALL   135
#define IDB_STRIP_GAME        137
#define IDB_FOCUS_PATTERN     142
#define IDB_STRIP_CONFIG      148
#define IDB_STRIP_INTRO       150

// Strings
#define IDS_APP_TITLE         57344
#define IDS_FREE_SPACE        61206
#define IDS_CANNOT_READ_DIR   61207

// Launcher window (130): command buttons
#define IDC_INSTALL           1002
#define IDC_UNINSTALL         1010
#define IDC_CONFIG            1011
#define IDC_GAME              1012
#define IDC_INTRO             1013

// Copy progress window (127)
#define IDC_COPY_FILE_BAR     1006
#define IDC_COPY_FILE_NAME    1007
#define IDC_COPY_DESCRIPTION  1008
#define IDC_COPY_OVERALL_BAR  1009

// Overwrite question (128)
#define IDC_OVERWRITE_MESSAGE 1008
#define IDC_OVERWRITE_YES     1009
#define IDC_OVERWRITE_YES_ALL 3
#define IDC_OVERWRITE_NO      4
#define IDC_OVERWRITE_NO_ALL  5

// Install options (129)
#define IDC_OPTIONS_BROWSE    3
#define IDC_OPTIONS_TARGET    1010
#define IDC_OPTIONS_PARTIAL   1020
#define IDC_OPTIONS_FULL      1021

// Removal window (131)
#define IDC_REMOVE_FILE_NAME  1011
#define IDC_REMOVE_BAR        1012
#define IDC_REMOVE_DESCRIPTION 1013

// Directory browser (133)
#define IDC_BROWSE_PATH       1005
#define IDC_BROWSE_DIRS       1017
#define IDC_BROWSE_DRIVES     1018
#define IDC_BROWSE_PATH_LABEL 1021
#define IDC_BROWSE_DIRS_LABEL 1022
#define IDC_BROWSE_DRIVES_LABEL 1023
