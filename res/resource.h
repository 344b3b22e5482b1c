// Resource and command identifiers. The numbers are part of the program's
// interface: commands can arrive from other programs by number.
#pragma once

// Dialog templates
#define IDD_HEADERS 102
#define IDD_MAILBOXES 134
#define IDD_OPTIONS 135
#define IDD_ABOUT 136

// Icons and bitmaps
#define IDI_UNREAD 128     // addressed envelope with a stamp
#define IDR_TRAYMENU 129   // tray pop-up menu
#define IDI_IDLE 130       // closed envelope
#define IDI_CONTACTING 131 // envelope with its flap open
#define IDI_RETRIEVING 132 // envelope with a letter drawn half out
#define IDB_ABOUT 138      // picture of the About box

// Strings
#define IDS_SOCKETS_INIT_FAILED 103
#define IDS_APP_TITLE 57344
#define IDS_CONTRIBUTORS 57345

// Commands
#define ID_CHECK_NOW 32771
#define ID_HEADERS 32772
#define ID_OPTIONS 32773
#define ID_SERVERS 32774
#define ID_DISCONNECT 32776
#define ID_READ_MAIL 32777
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57670

// Controls
#define IDC_HEADERS_LIST 1001
#define IDC_MAILBOX_LIST 1000
#define IDC_SERVER 1001
#define IDC_USER 1002
#define IDC_PASSWORD 1003
#define IDC_ADD 1004
#define IDC_DELETE 1005
#define IDC_SOUND 1006
#define IDC_MESSAGE 1007
#define IDC_DELAY 1008
#define IDC_THANKS 1009

// Tray notification
#define TRAY_ICON_ID 1
#define WM_TRAYNOTIFY 1124 // WM_USER + 100
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONUP 0x0205
