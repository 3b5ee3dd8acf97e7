// What the UI driver and menu_probe.dll, loaded into the program under test by a
// window hook, agree on. Wine keeps a process's menus to itself, so the menus are read
// from inside the program and the result travels back through a named file mapping.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quarnel::test::probe {

// Sent to a window of the program: wParam = request number, lParam = the driver's
// process id. The WH_CALLWNDPROC hook writes the description of the window's menu
// (the menu bar, or for a popup menu window "#32768" its menu) into the reply mapping.
inline constexpr wchar_t kDescribeMenuMessage[] = L"QuarnelTestProbe.DescribeMenu";

// Posted to the program's thread: wParam = request number, lParam = the driver's process
// id. The WH_GETMESSAGE hook sets the event ReplyName(...) when the thread takes the
// message out of its queue, which shows that every message posted before it was handled.
inline constexpr wchar_t kIdleMessage[] = L"QuarnelTestProbe.Idle";

// Names of the hook procedures exported by menu_probe.dll.
inline constexpr char kCallWndProcExport[] = "ProbeCallWndProc";
inline constexpr char kGetMessageExport[] = "ProbeGetMessage";

inline std::wstring ReplyName(DWORD driverPid, uint64_t request) {
    return L"QuarnelTestProbe-" + std::to_wstring(driverPid) + L"-" + std::to_wstring(request);
}

inline constexpr size_t kReplyBytes = 1 << 20;

enum class Status : LONG { Pending = 0, Done = 1, NoMenu = 2, TooLarge = 3 };

// The mapping starts with this header; the UTF-16 description follows it.
//
// Description grammar, one record per line, numbers in decimal:
//   menu <handle>
//   item <kind> <id> <state> <submenu handle> <rect valid> <left> <top> <right> <bottom>
//        <text length> <text>       (kind: c command, p submenu, s separator;
//                                    rect in screen pixels; a submenu's own menu ... end
//                                    block follows its item line)
//   end
struct ReplyHeader {
    LONG status;
    DWORD chars;
};

} // namespace quarnel::test::probe
