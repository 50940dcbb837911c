// Resource ids of setuphook.dll, shared by the .rc file, the code and the tests.
#pragma once

// String table: the result texts handed back to the setup interpreter.
#define IDS_NO_ACTIVE_WINDOW 1
#define IDS_BAD_PARAM_COUNT 2
#define IDS_SUCCESS 3
#define IDS_UNKNOWN_ERROR 4
#define IDS_EXIT 5
#define IDS_CANCEL 6
#define IDS_YES 7
#define IDS_NO 8

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates.
#define IDD_EXIT_SETUP 100
#define IDD_WELCOME 101
#define IDD_DESTINATION 102
#define IDD_INCOMPLETE_INSTALL 103

// Controls.
#define IDC_WELCOME_TEXT 1001
#define IDC_DEST_PATH 1005
#define IDC_DEST_LIST 1006
#define IDC_DEST_REQUIRED 1007
#define IDC_DEST_AVAILABLE 1008
