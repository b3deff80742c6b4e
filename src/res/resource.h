#pragma once
// Resource ids of VR38Update, shared by the .rc and the code. Plain #defines,
// because the resource compiler reads this file too.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)  // controls the program never reaches by id
#endif

// Application
#define IDR_MAINFRAME 512  // application icon
#define IDS_ABOUTBOX 101
#define IDS_REGISTRY_KEY 1010

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_VR38UPDATE_DIALOG 102
#define IDD_WARNING 129
#define IDD_PROGRESS 705
#define IDD_OPERATING 706

// Main dialog controls
#define IDC_PRINTER_COMBO 1000
#define IDC_UPDATE 1001
#define IDC_EXIT 1004

// System menu command of the About box
#define IDM_ABOUTBOX 0x0010

// Progress dialog controls
#define IDC_TRANSFER_PROGRESS 2310
#define IDC_TRANSFER_STATUS 2311
#define IDC_TRANSFER_PERCENT 2312
#define IDC_TRANSFER_ANIMATION 2313

// Operating dialog controls
#define IDC_OPERATING_TEXT 2510

// Animation clip, resource type "AVI"
#define IDR_TRANSFER_CLIP 900

// Strings
#define IDS_TRANSFERRING 1710
#define IDS_UPDATE_COMPLETED 1814
#define IDS_NO_COMMUNICATION 1910
#define IDS_TRANSFER_FAILED 1911
#define IDS_TRANSFER_CANCELLED 1916
#define IDS_PRINTER_ID_ERROR 1917
