/* Resource and control identifiers shared by the resource script and the code. Plain #defines: windres reads
   this file too. */
#ifndef VEXILOR_RESOURCE_IDS_H
#define VEXILOR_RESOURCE_IDS_H

/* Dialog templates */
#define IDD_MAIN_SCAN 141
#define IDD_SKIN_MESSAGE 142

/* Icon and numbered bitmaps */
#define IDI_PRODUCT 128
#define IDB_INFORMATION 152
#define IDB_QUESTION 153
#define IDB_WARNING 154
#define IDB_ERROR 155
#define IDB_BACKGROUND 156

/* Our own hand pointer, for systems with neither winhlp32.exe's cursor nor a hand of their own */
#define IDC_VEX_HAND 170

/* Main window controls (IDCANCEL, 2, is the CANCEL button) */
#define IDC_RESULTS_FRAME 1034
#define IDC_SCAN 1052
#define IDC_DOWNLOAD 1053
#define IDC_CLOSE_X 1054
#define IDC_RESULTS_LIST 1055
#define IDC_STATUS_FRAME 1064
#define IDC_STATUS_LINE 1065
#define IDC_FAMILY_LABEL 1068
#define IDC_OK_BUTTON 1070
#define IDC_COPYRIGHT 1072
#define IDC_DESCRIPTION 1074
#define IDC_INSTALLED_NOTE 1075
#define IDC_SEARCHING_FOR 1076
#define IDC_PRODUCT_BANNER 1077
#define IDC_REMOVAL_TOOLS_BANNER 1080
#define IDC_LOGO 1085

/* Skinned message box controls (also 1 OK, 2 Cancel, 6 YES, 7 NO) */
#define IDC_SINGLE_OK 3
#define IDC_BOX_ICON 1085
#define IDC_BOX_MESSAGE 1086

#endif
