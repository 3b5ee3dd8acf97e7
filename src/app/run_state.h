// What the program makes once at start-up and keeps for the whole run: one object,
// owned by the start-up and handed by reference to what needs it.
#pragma once

#include "config/hotkey_text.h"
#include "config/settings.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "vault/master_check.h"
#include "vault/password_pipe.h"
#include "win/fonts.h"
#include "win/handles.h"
#include "win/tool_tips.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quarnel {

struct RunState {
    explicit RunState(HINSTANCE program) : instance(program), toolTips(program) {}

    HINSTANCE instance;
    Fonts fonts; // made first, before anything else
    ToolTips toolTips;
    // Outlives the shell: when the program ends right after a start, the windows go
    // first and the process stays until the started PuTTY has its password. Released
    // after the semaphore, so a new copy may start meanwhile.
    PasswordCourier courier;
    UniqueHandle semaphore;
    std::wstring startDirectory;
    std::wstring programFile; // what the restart starts
    UniqueIcon trayImage;
    HICON programIcon = nullptr; // a shared resource icon, never destroyed
    Settings settings;
    MasterState master;
    SessionCatalogue catalogue;
    std::vector<std::string> recentSessions; // key names, most recent first
    Hotkey quickSearchHotkey = DefaultHotkey;
};

} // namespace quarnel
