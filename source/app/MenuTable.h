// The menu bar as data: every item's command id, text with its mnemonic, accelerator,
// status-bar hint and the object that answers it. The frame builds its menus and actions
// from this table, so texts and ids live in one place.
#pragma once

#include <vector>

// Who answers a command.
enum class CommandRoute {
    App,           // LumoraApp
    Client,        // LumoraMDIClient
    Frame,         // LumoraDecMDIFrame (window management, status bar, exit)
    Diagram,       // the active diagram child (LumoraWindow)
    SearchWindow,  // the active database search child
};

struct MenuItemEntry {
    int id = 0;                      // 0: a separator
    const char* text = "";           // UTF-8, with the "&" mnemonic
    const char* shortcut = "";       // portable QKeySequence text; "" for none
    bool shortcutLabelOnly = false;  // the key is only shown (the window system closes on Alt+F4)
    const char* hint = "";           // status-bar hint; "" for none
    CommandRoute route = CommandRoute::App;
    bool checkable = false;
};

struct MenuEntry {
    const char* title;
    std::vector<MenuItemEntry> items;
};

// The menu bar, menu by menu, in display order.
const std::vector<MenuEntry>& menuBarTable();

// Commands with a hint and a handler but no menu item (toolbar or help search).
const std::vector<MenuItemEntry>& extraCommandTable();
