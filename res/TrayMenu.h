// Menu 129, the tray pop-up: its items in order, with their command ids.
#pragma once

#include "Translate.h"
#include "resource.h"

#include <algorithm>
#include <array>
#include <iterator>

struct TrayMenuItem {
    int id; // 0 for a separator
    const char* text;
};

inline constexpr TrayMenuItem kTrayMenu[] = {
    {ID_CHECK_NOW, QT_TRANSLATE_NOOP("TrayMenu", "&Check now")},
    {ID_READ_MAIL, QT_TRANSLATE_NOOP("TrayMenu", "&Read mail")},
    {ID_HEADERS, QT_TRANSLATE_NOOP("TrayMenu", "&Headers...")},
    {0, ""},
    {ID_SERVERS, QT_TRANSLATE_NOOP("TrayMenu", "&Servers...")},
    {ID_OPTIONS, QT_TRANSLATE_NOOP("TrayMenu", "&Options...")},
    {ID_APP_ABOUT, QT_TRANSLATE_NOOP("TrayMenu", "&About...")},
    {0, ""},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("TrayMenu", "&Quit")},
};

// The menu while a check runs: stop the conversation under way, or quit.
inline constexpr TrayMenuItem kCheckingTrayMenu[] = {
    {ID_DISCONNECT, QT_TRANSLATE_NOOP("TrayMenu", "&Stop check")},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("TrayMenu", "&Quit")},
};

// Every item of both menus, each menu's items in their order, so that one
// menu can show either by hiding the rest: a panel that keeps an item's id
// finds it still there after the menu has changed. The checking menu's
// first item, then the whole of the other, which ends with the Quit both share.
inline constexpr auto kWholeTrayMenu = [] {
    static_assert(std::size(kCheckingTrayMenu) == 2 &&
                  kCheckingTrayMenu[1].id == std::end(kTrayMenu)[-1].id);
    std::array<TrayMenuItem, std::size(kTrayMenu) + 1> whole{};
    whole[0] = kCheckingTrayMenu[0];
    std::copy(std::begin(kTrayMenu), std::end(kTrayMenu), whole.begin() + 1);
    return whole;
}();
