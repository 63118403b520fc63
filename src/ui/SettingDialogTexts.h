#pragma once
// Numbered texts of the group settings dialog, the settings sheet and its two
// pages, the column dialog and the sort dialog, and of the buttons the
// dialogs share. A dialog's own texts are numbered from its template number
// times 100 (the group dialog's template 2003 gives 200300 and up).

// Buttons of the dialogs.
constexpr int IDS_BUTTON_OK = 10300;
constexpr int IDS_BUTTON_CANCEL = 10301;
constexpr int IDS_BUTTON_APPLY = 10302;
constexpr int IDS_BUTTON_YES = 10303;
constexpr int IDS_BUTTON_NO = 10304;

// Group settings dialog (template 2003).
constexpr int IDS_GROUP_DIALOG = 200300;
constexpr int IDS_GROUP_DIALOG_NAME = 200301;
constexpr int IDS_GROUP_DIALOG_ALL = 200302;
constexpr int IDS_GROUP_DIALOG_MEMBERS = 200303;
constexpr int IDS_GROUP_DIALOG_ADD = 200304;
constexpr int IDS_GROUP_DIALOG_REMOVE = 200305;

// Communication page (template 142).
constexpr int IDS_COMM_PAGE = 14200;
constexpr int IDS_COMM_SEARCH_FRAME = 14201;
constexpr int IDS_COMM_AUTO_SEARCH = 14202;
constexpr int IDS_COMM_SEARCH_PORT = 14203;
constexpr int IDS_COMM_DATA_PORT = 14204;
constexpr int IDS_COMM_DATA_PORT_TO = 14205;
constexpr int IDS_COMM_SEARCH_MINUTES = 14206;  // accessible name of the value text
constexpr int IDS_COMM_DATA_PORT_END = 14207;   // accessible name of the second port field

// General page (template 143).
constexpr int IDS_GENERAL_PAGE = 14300;
constexpr int IDS_GENERAL_UPDATE_FRAME = 14301;
constexpr int IDS_GENERAL_AUTO_UPDATE = 14302;
constexpr int IDS_GENERAL_BROWSER_FRAME = 14303;
constexpr int IDS_GENERAL_PATH = 14304;
constexpr int IDS_GENERAL_BROWSE = 14305;
constexpr int IDS_GENERAL_POWER_FRAME = 14306;
constexpr int IDS_GENERAL_ALL_AT_ONCE = 14307;
constexpr int IDS_GENERAL_ONE_BY_ONE = 14308;
constexpr int IDS_GENERAL_SECONDS_APART = 14309;
constexpr int IDS_GENERAL_UPDATE_SECONDS = 14310;  // accessible name of the value text
constexpr int IDS_GENERAL_SPACING = 14311;         // accessible name of the spacing list

// Column settings dialog (template 1003).
constexpr int IDS_COLUMN_DIALOG = 100300;
constexpr int IDS_COLUMN_UP = 100301;
constexpr int IDS_COLUMN_DOWN = 100302;
constexpr int IDS_COLUMN_SHOW = 100303;
constexpr int IDS_COLUMN_HIDE = 100304;
constexpr int IDS_COLUMN_WIDTH = 100305;
constexpr int IDS_COLUMN_PIXELS = 100306;
constexpr int IDS_COLUMN_HELP = 100307;
constexpr int IDS_COLUMN_LIST = 100308;  // accessible name of the check list

// Sort dialog (template 134).
constexpr int IDS_SORT_DIALOG = 13400;
constexpr int IDS_SORT_KEY = 13401;
constexpr int IDS_SORT_ASCENDING = 13402;
constexpr int IDS_SORT_DESCENDING = 13403;
