#pragma once
// Numbers shared by the console's windows: the private messages between the
// list, the tabs, the controller, the dialogs and the view, the menu command
// ids, and the control ids the windows are made with. Message numbers overlap
// between receivers (the engine's 1024..1029 are not the list's): each
// receiver has its own handler.
#include "platform/MsgWnd.h"

// List control -> list window.
constexpr unsigned WM_LIST_SAVE_LAYOUT = WM_USER + 0;
constexpr unsigned WM_LIST_HEADER_CLICK = WM_USER + 1;
constexpr unsigned WM_LIST_COLUMN_MOVED = WM_USER + 2;
constexpr unsigned WM_LIST_HEADER_MENU = WM_USER + 3;
constexpr unsigned WM_LIST_COLUMN_WIDTH = WM_USER + 43;

// List window and tab control -> view.
constexpr unsigned WM_LIST_SELCHANGED = WM_USER + 29;
constexpr unsigned WM_LIST_DBLCLK = WM_USER + 45;
constexpr unsigned WM_TAB_DBLCLK = WM_USER + 46;

// Controller -> view: button i (0..22) posts WM_CTRL_BUTTON_FIRST + i; the
// last one (22) opens the web page.
constexpr unsigned WM_CTRL_BUTTON_FIRST = WM_USER + 6;
constexpr int CTRL_BUTTON_COUNT = 23;
constexpr int CTRL_BUTTON_WEB_PAGE = 22;
constexpr unsigned WM_CTRL_GET_TARGET = WM_USER + 30;  // sent
constexpr int IDC_CTRL_BUTTON_FIRST = 1000;  // button i has control id 1000 + i

// Group dialog -> view (sent): is the name in wParam free? answer in lParam.
constexpr unsigned WM_GROUP_NAME_FREE = WM_USER + 47;

// IP address control.
constexpr unsigned WM_IP_FIELD_CHANGED = WM_USER + 1000;
constexpr unsigned WM_IP_COMPLETE = WM_USER + 1100;

// Menu commands of the main view.
constexpr int ID_PROJECTOR_PROPERTIES = 32771;
constexpr int ID_PROJECTOR_ADD = 32772;
constexpr int ID_PROJECTOR_DELETE = 32773;
constexpr int ID_PROJECTOR_PASSWORD = 32774;
constexpr int ID_VIEW_COLUMNS = 32775;
constexpr int ID_VIEW_REFRESH = 32776;
constexpr int ID_VIEW_SEARCH = 32777;
constexpr int ID_VIEW_SORT = 32778;
constexpr int ID_GROUP_NEW = 32779;
constexpr int ID_GROUP_EDIT = 32780;
constexpr int ID_GROUP_DELETE = 32781;
constexpr int ID_OPTION_MAIL = 32782;
constexpr int ID_OPTION_ALERT = 32783;
constexpr int ID_OPTION_SETTINGS = 32784;
constexpr int ID_WINDOW_CONTROLLER = 32785;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_APP_ABOUT = 57664;

// Control ids of the view's children.
constexpr int IDC_GROUP_TABS = 1000;
constexpr int IDC_LIST_AREA = 1001;
constexpr int IDC_LIST_CONTROL = 256;

// Numbered texts the console looks up.
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_SOCKETS_FAILED = 104;
constexpr int IDS_UI_FONT_FACE = 256;
constexpr int IDS_UI_FONT_POINTS = 257;
constexpr int IDS_LANGUAGE = 258;
constexpr int IDS_NEXT_REPORT_FORMAT = 259;
constexpr int IDS_ALL_GROUP = 300;
constexpr int IDS_GROUP_PREFIX = 301;
constexpr int IDS_COLUMN_FIRST = 1000;  // + column number 0..10
constexpr int IDS_ROW_STATE_FIRST = 5300;  // + a record's display state 0..5: the row icon in words
constexpr int IDS_DELETE_CAPTION = 10000;
constexpr int IDS_DELETE_PROJECTOR = 10001;
constexpr int IDS_DELETE_GROUP = 10002;
constexpr int IDS_MAIL_SHEET = 10003;
// The mail settings sheet: its buttons, page titles and control labels.
constexpr int IDS_MAIL_PAGE_ORIGINATOR = 15000;
constexpr int IDS_MAIL_PAGE_RECIPIENT = 15001;
constexpr int IDS_MAIL_PAGE_ERROR = 15002;
constexpr int IDS_MAIL_PAGE_PERIODICAL = 15003;
constexpr int IDS_MAIL_ORIGINATOR_LABEL_FIRST = 15010;  // server, address, name, information
constexpr int IDS_MAIL_RECIPIENT_ERROR = 15020;
constexpr int IDS_MAIL_RECIPIENT_REPORT = 15021;
constexpr int IDS_MAIL_RECIPIENT_SEND_NOW = 15022;
constexpr int IDS_MAIL_RECIPIENT_ADDRESS = 15023;
constexpr int IDS_MAIL_RECIPIENT_ROW = 15024;     // %s: the row's number
constexpr int IDS_MAIL_ERROR_INTRO = 15030;
constexpr int IDS_MAIL_ERROR_KIND_FIRST = 15031;  // + error kind 0..5
constexpr int IDS_MAIL_NEXT_TIME = 15040;
constexpr int IDS_MAIL_KIND_WEEKDAYS = 15041;
constexpr int IDS_MAIL_KIND_WEEKLY = 15042;
constexpr int IDS_MAIL_KIND_MONTHLY = 15043;
constexpr int IDS_MAIL_TIME = 15044;
constexpr int IDS_MAIL_TIME_SEPARATOR = 15045;
constexpr int IDS_MAIL_MONTH_DAY = 15046;         // %s: the day of the month
constexpr int IDS_MAIL_MINUTE = 15047;
constexpr int IDS_WEEKDAY_FIRST = 15050;          // Monday .. Sunday
constexpr int IDS_SETTINGS_SHEET = 10004;
constexpr int IDS_CONTROLLER = 10005;
constexpr int IDS_GROUP_NAME_ERROR = 10100;
constexpr int IDS_INVALID_INPUT = 10101;
constexpr int IDS_CTRL_LABEL_FIRST = 11000;   // 11000..11005
constexpr int IDS_CTRL_BUTTON_FIRST = 11100;  // 11100..11122

// The projector dialogs' frames: a caption with a close box, no minimise or
// maximise (their size is fixed).
constexpr Qt::WindowFlags DIALOG_WINDOW_FLAGS =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Texts of the projector dialogs: the dialog's template number x 100, then
// its items in order.
constexpr int IDS_ADD_CAPTION = 100400;
constexpr int IDS_ADD_ADDRESS = 100401;
constexpr int IDS_PROPERTY_CAPTION = 13200;
constexpr int IDS_PROPERTY_LABEL_FIRST = 13201;  // 13201..13212, one per value
constexpr int IDS_PROPERTY_CLOSE = 13213;
constexpr int IDS_PASSWORD_CAPTION = 13300;
constexpr int IDS_PASSWORD_PROJECTOR = 13301;
constexpr int IDS_PASSWORD_USER = 13302;
constexpr int IDS_PASSWORD_PASSWORD = 13303;
constexpr int IDS_PASSWORD_SAVE = 13304;
