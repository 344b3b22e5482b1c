// Menu 129, the tray pop-up: its items in order, with their command ids.
#pragma once

#include "resource.h"

struct TrayMenuItem {
    int id; // 0 for a separator
    const char* text;
};

inline constexpr TrayMenuItem kTrayMenu[] = {
    {ID_CHECK_NOW, "&Check now"}, {ID_READ_MAIL, "&Read mail"},
    {ID_HEADERS, "&Headers..."},  {0, ""},
    {ID_SERVERS, "&Servers..."},  {ID_OPTIONS, "&Options..."},
    {ID_APP_ABOUT, "&About..."},  {0, ""},
    {ID_APP_EXIT, "&Quit"},
};

// The menu while a check runs: stop the conversation under way, or quit.
inline constexpr TrayMenuItem kCheckingTrayMenu[] = {
    {ID_DISCONNECT, "&Stop check"},
    {ID_APP_EXIT, "&Quit"},
};

// Every item of both menus, each menu's items in their order, so that one
// menu can show either by hiding the rest: a panel that keeps an item's id
// finds it still there after the menu has changed.
inline constexpr TrayMenuItem kWholeTrayMenu[] = {
    {ID_DISCONNECT, "&Stop check"},
    {ID_CHECK_NOW, "&Check now"},
    {ID_READ_MAIL, "&Read mail"},
    {ID_HEADERS, "&Headers..."},
    {0, ""},
    {ID_SERVERS, "&Servers..."},
    {ID_OPTIONS, "&Options..."},
    {ID_APP_ABOUT, "&About..."},
    {0, ""},
    {ID_APP_EXIT, "&Quit"},
};
