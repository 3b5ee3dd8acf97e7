// The laid-out session menu as Win32 menus.
#pragma once

#include "sessions/session_menu.h"

#include <windows.h>

#include <vector>

namespace quarnel {

// Appends the laid-out titles to a menu: drop-down menus of a menu bar, or cascading
// submenus of a popup menu.
void BuildSessionMenu(HMENU menu, const std::vector<MenuTitle>& layout);

} // namespace quarnel
