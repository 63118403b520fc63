#pragma once
// Numbers of the application shell: the view's timers, the numbered texts of
// the menus and of the messages the shell and the view show, and the fixed
// texts of the about box and the command line.
#include "ui/UiDefs.h"

// The view's one-second timer for the periodic report.
constexpr int VIEW_REPORT_TIMER_ID = 192;
constexpr int VIEW_REPORT_TIMER_MS = 1000;

// The frame's smallest size when a stored placement is applied.
constexpr int FRAME_MIN_WIDTH = 380;
constexpr int FRAME_MIN_HEIGHT = 200;

// Menu titles (menu resource 128); a menu item's text has its command id's number.
constexpr int IDS_MENU_PROJECTOR = 12800;
constexpr int IDS_MENU_VIEW = 12801;
constexpr int IDS_MENU_OPTIONS = 12802;
constexpr int IDS_MENU_GROUP = 12803;
constexpr int IDS_MENU_WINDOW = 12804;
constexpr int IDS_MENU_HELP = 12805;

// Messages of the view: a search that could not start (with one reason text
// per SEARCH_FAIL_* code after it), a failed save of the projector list and
// groups, an unreadable stored projector.
constexpr int IDS_SEARCH_FAILED = 10200;
constexpr int IDS_SEARCH_FAIL_RUNNING = 10201;
constexpr int IDS_SEARCH_FAIL_PORT = 10202;
constexpr int IDS_SEARCH_FAIL_LISTEN = 10203;
constexpr int IDS_SEARCH_FAIL_THREAD = 10204;
constexpr int IDS_SEARCH_FAIL_BROADCAST = 10205;
constexpr int IDS_SAVE_FAILED = 10210;
constexpr int IDS_PROFILE_UNREADABLE = 10211;
// Accessible name of the group tabs.
constexpr int IDS_GROUP_TABS_NAME = 10212;
// The settings chosen in a dialog could not be saved.
constexpr int IDS_SETTINGS_SAVE_FAILED = 10213;

// The about box's text and the program's version.
constexpr const char* LUMIVEX_VERSION = "1.0.1";
constexpr const char* ABOUT_TEXT = "Lumivex Version 1.0.1";
