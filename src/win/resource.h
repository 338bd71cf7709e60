// Resource identifiers of the Windows front end. The controls of the shared layer's dialogs
// and pages are named in app/control_ids.h; only the Windows app's own dialogs, their
// controls and the picture are named here.
#pragma once

#define IDD_MAIN 100
#define IDD_ABOUT 101
#define IDD_PAGE_OPTIONS 110
#define IDD_PAGE_COLOURS 111
#define IDD_PAGE_TIEBREAKS 112
#define IDD_PAGE_FONTS 113
#define IDD_PAGE_LABELS 114
#define IDD_PAGE_PGN 115
#define IDD_PAGE_PUBLISH 116
#define IDD_PASSWORD 120
#define IDC_PASSWORD_TEXT 1200
#define IDC_PASSWORD 1201
#define IDC_REMEMBER 1202
#define IDD_PROGRESS 130
#define IDC_PROGRESS_ACTION 1300
#define IDC_PROGRESS_COUNTS 1301
#define IDC_PROGRESS_BAR 1302
// The program's picture, drawn by the dialogs themselves.
#define IDC_PICTURE 1107
