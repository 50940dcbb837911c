// Resource ids of config.exe. The dialog templates in config.rc use these.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_ADAPTER_LIST 102
#define IDD_EDIT_DEVICE 129

// Adapter list dialog.
#define IDC_CLOSE 1  // IDOK: the default button
#define IDC_NEW 4
#define IDC_DELETE 6
#define IDC_ADAPTER_LIST 103
#define IDC_EDIT 108

// Edit Device dialog.
#define IDC_ADAPTER_NUMBER 127
#define IDC_DO_NOTHING 138
#define IDC_DEVICE_TYPE 139
#define IDC_SETUP 141
#define ID_APP_ABOUT 57664

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
