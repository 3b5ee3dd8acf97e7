// What the program makes once at start-up and keeps for the whole run.
#pragma once

#include "app/settings.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "win/handles.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace quarnel {

// Window numbers, by which the event dispatch tells windows apart.
enum WindowNumber : int {
    kConfigWindow = 0,
    kMainWindow = 1,
    kPasswordWindow = 2,
    kInfoWindow = 3,
};

struct Program {
    HINSTANCE instance = nullptr;
    std::array<UniqueFont, 6> fonts;
    UniqueHandle semaphore;
    std::string startDirectory;
    UniqueIcon trayImage;
    Settings settings;
    std::string masterPassword;
    SessionCatalogue catalogue;
    std::vector<MenuTitle> menuLayout;
    bool firstRun = false;
    bool mainWindowVisible = false;
};

Program& TheProgram();

// Font 1 to 6 of the program's table.
HFONT ProgramFont(int number);

} // namespace quarnel
