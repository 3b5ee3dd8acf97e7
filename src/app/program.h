// What the program makes once at start-up and keeps for the whole run.
#pragma once

#include "app/settings.h"
#include "sessions/catalogue.h"
#include "sessions/session_menu.h"
#include "win/handles.h"

#include <windows.h>

#include <array>
#include <map>
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
    // Fonts for the resolutions the start-up ones do not fit, made when a window first
    // needs them: index 0 the controls' default font, 1 to 6 the table's.
    std::map<UINT, std::array<UniqueFont, 7>> fontsByDpi;
    UniqueHandle semaphore;
    std::string startDirectory;
    UniqueIcon trayImage;
    Settings settings;
    std::string masterPassword;
    SessionCatalogue catalogue;
    std::vector<MenuTitle> menuLayout;
    bool mainWindowVisible = false;
};

Program& TheProgram();

// Font 1 to 6 of the program's table.
HFONT ProgramFont(int number);
// Font 1 to 6 of the program's table at a resolution; 0 is the controls' default font,
// the system's GUI font at that resolution.
HFONT ProgramFont(int number, UINT dpi);
// A font of the table at a resolution, made anew.
UniqueFont CreateProgramFont(const FontSpec& font, int dpi);

} // namespace quarnel
