#include "sessions/build_session_menu.h"

#include "win/handles.h"
#include "win/text.h"

namespace quarnel {

namespace {

// A session's name is in the bytes PuTTY wrote, the system's code page; the program's own
// texts are in its own.
CodePage CodePageOf(const MenuEntry& entry) {
    return entry.id >= kFirstSessionItem ? CodePage::System : CodePage::Program;
}

} // namespace

void BuildSessionMenu(HMENU menu, const std::vector<MenuTitle>& layout) {
    for (const MenuTitle& title : layout) {
        UniqueMenu sub(CreatePopupMenu());
        if (!sub) {
            continue;
        }
        for (const MenuEntry& entry : title.entries) {
            if (entry.id == 0) {
                AppendMenuW(sub.get(), MF_SEPARATOR, 0, nullptr);
            } else {
                AppendMenuW(sub.get(), MF_STRING, static_cast<UINT_PTR>(entry.id),
                            Widen(entry.text, CodePageOf(entry)).c_str());
            }
        }
        // Once appended, the submenu belongs to the menu and goes with it.
        if (AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.get()),
                        Widen(title.text).c_str())) {
            sub.release();
        }
    }
}

} // namespace quarnel
