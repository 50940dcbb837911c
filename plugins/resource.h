// Resource ids of the VA85 Family configuration plug-in.
#pragma once

#define IDD_VA85_SETTINGS 100
#define IDC_NODE_ADDRESS 101
#define IDC_INTERRUPT 102

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
