// Ids of the program's resources: dialog templates, controls, the icon, the
// about string and the about item of the system menu. Shared by Trelox.rc and
// the program's code.
#ifndef TRELOX_RESOURCE_H
#define TRELOX_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates, icon and string.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_TRELOX_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_PROGRESS_DIALOG 129
#define IDD_FLASHINFO_DIALOG 130

// The system menu's about item.
#define IDM_ABOUTBOX 0x0010

// Main dialog (template 102).
#define IDC_FLASH_FILE 1000
#define IDC_BROWSE_FLASH_FILE 1001
#define IDC_SERIAL_NUMBER 1006
#define IDC_SET_SERIAL_NUMBER 1007
#define IDC_QUERY_SERIAL_NUMBER 1008
#define IDC_PRODUCT_NAME 1009
#define IDC_SET_PRODUCT_NAME 1010
#define IDC_QUERY_PRODUCT_NAME 1011
#define IDC_MANUFACTURER 1012
#define IDC_SET_MANUFACTURER 1013
#define IDC_QUERY_MANUFACTURER 1014
#define IDC_VERSION 1015
#define IDC_ERROR_INFO 1016
#define IDC_QUERY_VERSION 1017
#define IDC_QUERY_ERROR_INFO 1018

// Progress dialog (template 129).
#define IDC_PROGRESS 1002
#define IDC_DESCRIPTION 1004
#define IDC_PERCENT 1005

// Programming status window (template 130).
#define IDC_STATE_TEXT 1009
#define IDC_TIME_TEXT 1010

#endif
