#pragma once
// Numbers of the alerts and the error log: the messages between the alert
// manager and its pop-ups, the control ids they are made with, the caution
// box's message bits, and the numbered texts of the box, the log and the
// alert settings dialog.
#include "platform/MsgWnd.h"

// Pop-up -> itself, manager -> pop-up, pop-up -> manager.
constexpr unsigned WM_ALERT_SHOW = WM_USER + 39;
constexpr unsigned WM_ALERT_DETACH = WM_USER + 40;
constexpr unsigned WM_ALERT_CLOSED = WM_USER + 41;  // wParam = the pop-up

constexpr int IDC_ALERT_MANAGER = 1028;
constexpr int IDC_ALERT_POPUP = 1026;

// One bit per error condition the caution box can name; 0 is "none".
constexpr int ALERT_BIT_NONE = 0;
constexpr int ALERT_BIT_TEMP_FLAG0 = 0x001;
constexpr int ALERT_BIT_FAN = 0x002;
constexpr int ALERT_BIT_FILTER_COVER = 0x004;
constexpr int ALERT_BIT_LAMP_FLAG3 = 0x008;
constexpr int ALERT_BIT_LAMP_FLAG4 = 0x010;
constexpr int ALERT_BIT_LAMP_FLAG5 = 0x020;
constexpr int ALERT_BIT_TEMP_FLAG6 = 0x040;
constexpr int ALERT_BIT_COMM = 0x100;
constexpr int ALERT_BIT_CONNECTION = 0x200;

// The caution box's headings and the texts naming each condition (also the
// error log's message column).
constexpr int IDS_ALERT_HEADING_WARNING = 10006;
constexpr int IDS_ALERT_HEADING_CAUTION = 10007;
constexpr int IDS_ALERT_TEMP_FLAG0 = 10008;
constexpr int IDS_ALERT_FAN = 10009;
constexpr int IDS_ALERT_FILTER_COVER = 10010;
constexpr int IDS_ALERT_LAMP_FLAG3 = 10011;
constexpr int IDS_ALERT_LAMP_FLAG4 = 10012;
constexpr int IDS_ALERT_LAMP_FLAG5 = 10013;
constexpr int IDS_ALERT_TEMP_FLAG6 = 10014;
constexpr int IDS_ALERT_COMM = 10015;
constexpr int IDS_ALERT_CONNECTION = 10016;

// The alert settings dialog (template 141): caption, tick boxes, labels,
// the file dialog's suggested name and the count of lost log lines.
constexpr int IDS_ALERT_SETTING_FIRST = 14100;
constexpr int IDS_ALERT_SETTING_CAPTION = 14100;
constexpr int IDS_ALERT_SETTING_KIND_FIRST = 14101;  // + error kind 0..5
constexpr int IDS_ALERT_SETTING_LOGGING = 14107;
constexpr int IDS_ALERT_SETTING_LOG_FILE = 14108;
constexpr int IDS_ALERT_SETTING_BROWSE = 14109;
constexpr int IDS_ALERT_SETTING_OK = 14110;
constexpr int IDS_ALERT_SETTING_CANCEL = 14111;
constexpr int IDS_ALERT_SETTING_LOST = 14112;      // %s: lines lost since the console started
constexpr int IDS_ALERT_SETTING_ALERTS = 14113;    // the group of tick boxes, for assistive technology
constexpr int IDS_ALERT_SETTING_PATH_NAME = 14114; // the path field's accessible name
constexpr int IDS_ALERT_CAUTION_OK = 14600;

// The file name the browse button suggests in the documents folder.
constexpr const char* ALERT_BROWSE_FILE_NAME = "logfile.txt";
// The error log's default file name in the documents folder.
constexpr const char* ERROR_LOG_FILE_NAME = "Error.Log";

// Texts the console's other windows use too: the program's title (the
// caption of every message box) and the one message for input that cannot
// be taken.
constexpr int IDS_ALERT_APP_TITLE = 57344;
constexpr int IDS_ALERT_INVALID_INPUT = 10101;
