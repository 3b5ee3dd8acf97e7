#include "testkit/ui_driver.h"

#include "app/tray.h"
#include "menu_probe/probe_protocol.h"
#include "win/text.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace quarnel::test {

namespace {

using Clock = std::chrono::steady_clock;

constexpr Timeout kPollInterval{10};
// A helper thread's SendMessage gives up after this; tests end long before.
constexpr UINT kAsyncSendLimitMs = 10 * 60 * 1000;
constexpr wchar_t kPopupMenuClass[] = L"#32768";
constexpr wchar_t kDialogClass[] = L"#32770";

UINT TimeoutMs(Timeout timeout) {
    return static_cast<UINT>(std::max<Timeout::rep>(timeout.count(), 1));
}

std::string Hex(uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

std::string LastErrorText() {
    return "error " + std::to_string(GetLastError());
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Narrow(name);
}

// The title without asking the window's thread, which may be busy.
std::string CachedTitle(HWND window) {
    wchar_t title[1024] = {};
    InternalGetWindowText(window, title, 1024);
    return Narrow(title);
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// ---------------------------------------------------------------------------------------
// menu_probe.dll: hooked into the program's GUI threads on first use.

class Probe {
  public:
    static Probe& Instance() {
        static Probe probe;
        return probe;
    }

    void Hook(DWORD threadId, DWORD processId) {
        std::lock_guard lock(mutex_);
        if (hooks_.count(threadId)) {
            return;
        }
        Load();
        HHOOK callWnd = SetWindowsHookExW(WH_CALLWNDPROC, callWndProc_, dll_, threadId);
        if (!callWnd) {
            throw DriverError("cannot hook menu_probe.dll into thread " + std::to_string(threadId) +
                              ": " + LastErrorText());
        }
        HHOOK getMessage = SetWindowsHookExW(WH_GETMESSAGE, getMessage_, dll_, threadId);
        if (!getMessage) {
            UnhookWindowsHookEx(callWnd);
            throw DriverError("cannot hook menu_probe.dll into thread " + std::to_string(threadId) +
                              ": " + LastErrorText());
        }
        hooks_[threadId] = Hooks{processId, callWnd, getMessage};
    }

    void ReleaseProcess(DWORD processId) {
        std::lock_guard lock(mutex_);
        for (auto it = hooks_.begin(); it != hooks_.end();) {
            if (it->second.processId == processId) {
                UnhookWindowsHookEx(it->second.callWnd);
                UnhookWindowsHookEx(it->second.getMessage);
                it = hooks_.erase(it);
            } else {
                ++it;
            }
        }
    }

    uint64_t NextRequest() { return ++requests_; }
    UINT DescribeMenuMessage() const { return describeMenu_; }
    UINT IdleMessage() const { return idle_; }

  private:
    struct Hooks {
        DWORD processId;
        HHOOK callWnd;
        HHOOK getMessage;
    };

    Probe()
        : describeMenu_(RegisterWindowMessageW(probe::kDescribeMenuMessage)),
          idle_(RegisterWindowMessageW(probe::kIdleMessage)) {}

    void Load() {
        if (dll_) {
            return;
        }
        const std::wstring path = BuildDir() + L"\\tests\\menu_probe.dll";
        dll_ = LoadLibraryW(path.c_str());
        if (!dll_) {
            throw DriverError("cannot load " + Narrow(path) + ": " + LastErrorText());
        }
        callWndProc_ = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(dll_, probe::kCallWndProcExport)));
        getMessage_ = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(dll_, probe::kGetMessageExport)));
        if (!callWndProc_ || !getMessage_) {
            throw DriverError("menu_probe.dll lacks its hook procedures");
        }
    }

    std::mutex mutex_;
    HMODULE dll_ = nullptr;
    HOOKPROC callWndProc_ = nullptr;
    HOOKPROC getMessage_ = nullptr;
    std::map<DWORD, Hooks> hooks_;
    std::atomic<uint64_t> requests_{0};
    UINT describeMenu_;
    UINT idle_;
};

// ---------------------------------------------------------------------------------------
// Reading the probe's description of a menu.

class DescriptionReader {
  public:
    explicit DescriptionReader(std::wstring_view text) : text_(text) {}

    Menu ReadMenu() {
        Expect(L"menu");
        Menu menu;
        menu.handle = static_cast<uint64_t>(Number());
        EndLine();
        ReadItems(menu.items, 0);
        return menu;
    }

  private:
    void ReadItems(std::vector<MenuItem>& items, int depth) {
        if (depth > 40) {
            Fail("menus nested too deep");
        }
        for (;;) {
            const std::wstring word = Word();
            if (word == L"end") {
                EndLine();
                return;
            }
            if (word != L"item") {
                Fail("expected item or end");
            }
            MenuItem item;
            const std::wstring kind = Word();
            item.kind = kind == L"s"   ? MenuItem::Kind::Separator
                        : kind == L"p" ? MenuItem::Kind::Submenu
                                       : MenuItem::Kind::Command;
            item.id = static_cast<int>(Number());
            const auto state = static_cast<UINT>(Number());
            item.grayed = (state & (MFS_GRAYED | MFS_DISABLED)) != 0;
            item.checked = (state & MFS_CHECKED) != 0;
            item.submenuHandle = static_cast<uint64_t>(Number());
            const bool rectValid = Number() != 0;
            RECT rect;
            rect.left = static_cast<LONG>(Number());
            rect.top = static_cast<LONG>(Number());
            rect.right = static_cast<LONG>(Number());
            rect.bottom = static_cast<LONG>(Number());
            if (rectValid) {
                item.rect = rect;
            }
            const auto length = static_cast<size_t>(Number());
            if (pos_ + length > text_.size()) {
                Fail("item text cut off");
            }
            item.text = Narrow(text_.substr(pos_, length));
            pos_ += length;
            EndLine();
            if (item.kind == MenuItem::Kind::Submenu) {
                Expect(L"menu");
                Number();
                EndLine();
                ReadItems(item.items, depth + 1);
            }
            items.push_back(std::move(item));
        }
    }

    std::wstring Word() {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != L' ' && text_[pos_] != L'\n') {
            ++pos_;
        }
        std::wstring word(text_.substr(start, pos_ - start));
        if (pos_ < text_.size() && text_[pos_] == L' ') {
            ++pos_;
        }
        return word;
    }

    long long Number() {
        const std::wstring word = Word();
        if (word.empty()) {
            Fail("expected a number");
        }
        return std::stoll(word);
    }

    void Expect(const wchar_t* word) {
        if (Word() != word) {
            Fail("expected " + Narrow(word));
        }
    }

    void EndLine() {
        if (pos_ >= text_.size() || text_[pos_] != L'\n') {
            Fail("expected the end of a line");
        }
        ++pos_;
    }

    [[noreturn]] void Fail(const std::string& why) const {
        throw DriverError("unreadable menu description (" + why + ") at character " +
                          std::to_string(pos_));
    }

    std::wstring_view text_;
    size_t pos_ = 0;
};

// Asks the probe inside the program for the menu of `window`; nullopt if it has none.
std::optional<Menu> DescribeMenu(const Window& window, Timeout timeout) {
    Probe& probe = Probe::Instance();
    probe.Hook(window.ThreadId(), window.ProcessId());
    const uint64_t request = probe.NextRequest();
    const std::wstring name = probe::ReplyName(GetCurrentProcessId(), request);
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(probe::kReplyBytes), name.c_str()));
    if (!mapping) {
        throw DriverError("cannot create the reply mapping: " + LastErrorText());
    }
    void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    if (!view) {
        throw DriverError("cannot map the reply mapping: " + LastErrorText());
    }
    const std::unique_ptr<void, decltype(&UnmapViewOfFile)> unmap(view, &UnmapViewOfFile);
    auto* header = static_cast<probe::ReplyHeader*>(view);
    header->status = static_cast<LONG>(probe::Status::Pending);
    header->chars = 0;

    window.Send(probe.DescribeMenuMessage(), static_cast<WPARAM>(request),
                static_cast<LPARAM>(GetCurrentProcessId()), timeout);

    switch (static_cast<probe::Status>(header->status)) {
    case probe::Status::Pending:
        throw DriverError("menu_probe.dll did not answer for " + window.Describe() +
                          " (the hook did not run in the program)");
    case probe::Status::NoMenu:
        return std::nullopt;
    case probe::Status::TooLarge:
        throw DriverError("the menu of " + window.Describe() + " is too large to read");
    case probe::Status::Done:
        break;
    }
    const auto* text = reinterpret_cast<const wchar_t*>(header + 1);
    return DescriptionReader(std::wstring_view(text, header->chars)).ReadMenu();
}

void DumpItems(const std::vector<MenuItem>& items, int depth, std::string& out) {
    for (const MenuItem& item : items) {
        out.append(static_cast<size_t>(depth) * 2, ' ');
        if (item.kind == MenuItem::Kind::Separator) {
            out += "---";
        } else {
            out += item.text;
            if (item.kind == MenuItem::Kind::Command) {
                out += " [" + std::to_string(item.id) + "]";
            }
        }
        if (item.grayed && item.kind != MenuItem::Kind::Separator) {
            out += " (grayed)";
        }
        if (item.checked) {
            out += " (checked)";
        }
        out += "\n";
        if (item.kind == MenuItem::Kind::Submenu) {
            DumpItems(item.items, depth + 1, out);
        }
    }
}

bool FindPath(const std::vector<MenuItem>& items, int id, std::vector<size_t>& path) {
    for (size_t i = 0; i < items.size(); ++i) {
        path.push_back(i);
        const MenuItem& item = items[i];
        if (item.kind == MenuItem::Kind::Command && item.id == id) {
            return true;
        }
        if (item.kind == MenuItem::Kind::Submenu && FindPath(item.items, id, path)) {
            return true;
        }
        path.pop_back();
    }
    return false;
}

bool ContainsSubmenu(const std::vector<MenuItem>& items, uint64_t handle) {
    return std::any_of(items.begin(), items.end(), [&](const MenuItem& item) {
        return item.kind == MenuItem::Kind::Submenu &&
               (item.submenuHandle == handle || ContainsSubmenu(item.items, handle));
    });
}

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LPARAM PointParam(POINT point) {
    return MAKELPARAM(static_cast<SHORT>(point.x), static_cast<SHORT>(point.y));
}

LPARAM KeyParam(UINT virtualKey, bool up) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM param = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    switch (virtualKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
        param |= 1 << 24;
        break;
    default:
        break;
    }
    if (up) {
        param |= (1 << 30) | (static_cast<LPARAM>(1) << 31);
    }
    return param;
}

// The visible popup menu windows of a process.
std::vector<Window> PopupMenuWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<Window> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (ProcessOf(window) == s->processId && IsWindowVisible(window) &&
                ClassOf(window) == Narrow(kPopupMenuClass)) {
                s->found.emplace_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until `thread` has taken every message posted to it so far: a message posted
// behind them is seen by the probe's WH_GETMESSAGE hook when the thread takes it. The
// end of the program counts as done.
void WaitForThreadIdle(DWORD thread, DWORD processId, const std::string& who, Timeout timeout) {
    Probe& probe = Probe::Instance();
    probe.Hook(thread, processId);
    const uint64_t request = probe.NextRequest();
    const std::wstring name = probe::ReplyName(GetCurrentProcessId(), request);
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!event || !process) {
        throw DriverError("cannot wait for the thread of " + who + ": " + LastErrorText());
    }
    const HANDLE handles[] = {event.get(), process.get()};
    DWORD waited = 0;
    if (PostThreadMessageW(thread, probe.IdleMessage(), static_cast<WPARAM>(request),
                           static_cast<LPARAM>(GetCurrentProcessId()))) {
        waited = WaitForMultipleObjects(2, handles, FALSE, TimeoutMs(timeout));
    } else {
        // The thread has gone, so the program is ending.
        waited = WaitForSingleObject(process.get(), TimeoutMs(timeout)) == WAIT_OBJECT_0
                     ? WAIT_OBJECT_0 + 1
                     : WAIT_TIMEOUT;
    }
    if (waited != WAIT_OBJECT_0 && waited != WAIT_OBJECT_0 + 1) {
        throw DriverError("the thread of " + who + " did not take its messages within " +
                          std::to_string(timeout.count()) + " ms");
    }
}

// Input posted to one window, as the system queues a user's input for it.
class PostedInput {
  public:
    explicit PostedInput(const Window& window)
        : window_(window), who_(window.Describe()), thread_(window.ThreadId()),
          processId_(window.ProcessId()) {}

    // Input for a window that has closed meanwhile is dropped, as for a real window.
    void Post(UINT message, WPARAM wParam, LPARAM lParam) {
        if (!PostMessageW(window_.Handle(), message, wParam, lParam) && window_.Exists()) {
            throw DriverError("cannot post message " + Hex(message) + " to " + who_ + ": " +
                              LastErrorText());
        }
    }

    void WaitUntilTaken(Timeout timeout) const {
        WaitForThreadIdle(thread_, processId_, who_, timeout);
    }

  private:
    Window window_;
    std::string who_;
    DWORD thread_;
    DWORD processId_;
};

// Clicks at a point on the screen as the menu loop of `window`'s thread sees a click:
// while a menu is tracked the system reads a mouse message's position from lParam, in
// screen coordinates, whatever window it was posted to.
void ClickMenuPoint(const Window& window, POINT point) {
    PostedInput input(window);
    input.Post(WM_MOUSEMOVE, 0, PointParam(point));
    input.Post(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(point));
    input.Post(WM_LBUTTONUP, 0, PointParam(point));
}

// DescribeMenu for a popup window that the menu loop may close at any moment.
std::optional<Menu> DescribePopup(const Window& popup, Timeout timeout) {
    try {
        return DescribeMenu(popup, timeout);
    } catch (const DriverError&) {
        if (popup.Exists()) {
            throw;
        }
        return std::nullopt;
    }
}

// The popup window that shows the menu with this handle, with its description.
std::optional<std::pair<Window, Menu>> ShownMenu(DWORD processId, uint64_t handle,
                                                 Timeout timeout) {
    for (const Window& popup : PopupMenuWindows(processId)) {
        std::optional<Menu> menu = DescribePopup(popup, timeout);
        if (menu && menu->handle == handle) {
            return std::make_pair(popup, std::move(*menu));
        }
    }
    return std::nullopt;
}

// Refuses a path through a grayed item before anything is clicked, so that a refused
// choice leaves no menu open behind it.
void RequireChoosable(const std::vector<MenuItem>& top, const std::vector<size_t>& path) {
    const std::vector<MenuItem>* items = &top;
    for (const size_t position : path) {
        const MenuItem& item = items->at(position);
        if (item.grayed) {
            throw DriverError("the menu item \"" + item.text + "\" is grayed");
        }
        items = &item.items;
    }
}

// Clicks the items of `path` in the open menu `current`, shown by `popup`, opening each
// submenu on the way and waiting for its window.
void ClickAlongPath(DWORD processId, Window popup, Menu current, const std::vector<size_t>& path,
                    Timeout timeout) {
    for (const size_t position : path) {
        const MenuItem item = current.items.at(position);
        if (!item.rect) {
            throw DriverError("the menu item \"" + item.text + "\" is not shown");
        }
        ClickMenuPoint(popup, Centre(*item.rect));
        if (item.kind == MenuItem::Kind::Submenu) {
            std::optional<std::pair<Window, Menu>> next;
            Await(
                [&] {
                    next = ShownMenu(processId, item.submenuHandle, timeout);
                    return next.has_value();
                },
                "the submenu \"" + item.text + "\" to open", timeout);
            popup = next->first;
            current = std::move(next->second);
        }
    }
}

// The test program's environment with `extra` added or replacing (names compare without
// case), as a CreateProcess environment block.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::wstring> entries;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
        entries.emplace_back(entry);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : extra) {
        const std::wstring prefix = Widen(name) + L"=";
        auto it = std::find_if(entries.begin(), entries.end(), [&](const std::wstring& entry) {
            return CompareStringOrdinal(
                       entry.c_str(), static_cast<int>(std::min(entry.size(), prefix.size())),
                       prefix.c_str(), static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        });
        const std::wstring entry = prefix + Widen(value);
        if (it != entries.end()) {
            *it = entry;
        } else {
            entries.push_back(entry);
        }
    }
    std::wstring result;
    for (const std::wstring& entry : entries) {
        result += entry;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

} // namespace

// ---------------------------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& condition, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        Sleep(static_cast<DWORD>(kPollInterval.count()));
    }
}

void Await(const std::function<bool()>& condition, const std::string& what, Timeout timeout) {
    if (!WaitUntil(condition, timeout)) {
        throw DriverError("timed out after " + std::to_string(timeout.count()) +
                          " ms waiting for " + what);
    }
}

std::string WindowQuery::Describe() const {
    std::string text =
        (titlePrefix ? "a window whose title starts with \"" : "a window titled \"") + title + "\"";
    if (!className.empty()) {
        text += " of class " + className;
    }
    return text;
}

const MenuItem* Menu::Find(int id) const {
    const std::vector<size_t> path = PathTo(id);
    if (path.empty()) {
        return nullptr;
    }
    const MenuItem* item = &items[path[0]];
    for (size_t i = 1; i < path.size(); ++i) {
        item = &item->items[path[i]];
    }
    return item;
}

std::vector<size_t> Menu::PathTo(int id) const {
    std::vector<size_t> path;
    FindPath(items, id, path);
    return path;
}

std::string Menu::Dump() const {
    std::string out;
    DumpItems(items, 0, out);
    return out;
}

// ---------------------------------------------------------------------------------------

bool PendingCall::Done() const {
    return result_.valid() &&
           result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

LRESULT PendingCall::Wait(Timeout timeout) const {
    if (!result_.valid()) {
        throw DriverError("waiting for a call that was never made");
    }
    if (result_.wait_for(timeout) != std::future_status::ready) {
        throw DriverError(what_ + " was not handled within " + std::to_string(timeout.count()) +
                          " ms");
    }
    return result_.get();
}

// ---------------------------------------------------------------------------------------

bool Window::Exists() const {
    return handle_ && IsWindow(handle_);
}

DWORD Window::ThreadId() const {
    const DWORD thread = GetWindowThreadProcessId(handle_, nullptr);
    if (!thread) {
        throw DriverError("the window " + Hex(reinterpret_cast<uintptr_t>(handle_)) +
                          " does not exist (any more)");
    }
    return thread;
}

DWORD Window::ProcessId() const {
    ThreadId();
    return ProcessOf(handle_);
}

int Window::Id() const {
    return GetDlgCtrlID(handle_);
}

std::string Window::ClassName() const {
    return ClassOf(handle_);
}

std::string Window::Text() const {
    const auto length = static_cast<size_t>(Send(WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied =
        static_cast<size_t>(Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return Narrow(text);
}

bool Window::IsVisible() const {
    return IsWindowVisible(handle_);
}

bool Window::IsEnabled() const {
    return IsWindowEnabled(handle_);
}

bool Window::IsMinimized() const {
    return IsIconic(handle_);
}

bool Window::IsChecked() const {
    return Send(BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT Window::ClientRect() const {
    RECT rect{};
    if (!GetClientRect(handle_, &rect)) {
        throw DriverError("cannot read the client area of " + Describe());
    }
    return rect;
}

RECT Window::WindowRect() const {
    RECT rect{};
    if (!GetWindowRect(handle_, &rect)) {
        throw DriverError("cannot read the frame of " + Describe());
    }
    return rect;
}

Window Window::Parent() const {
    return Window(GetAncestor(handle_, GA_PARENT));
}

std::optional<Window> Window::FindControl(int id) const {
    for (const Window& control : Controls()) {
        if (control.Id() == id) {
            return control;
        }
    }
    return std::nullopt;
}

Window Window::Control(int id) const {
    if (std::optional<Window> control = FindControl(id)) {
        return *control;
    }
    std::string present;
    for (const Window& control : Controls()) {
        present += ' ';
        present += std::to_string(control.Id());
        present += '=';
        present += control.ClassName();
    }
    throw DriverError(Describe() + " has no control " + std::to_string(id) + " (it has:" + present +
                      ")");
}

std::vector<Window> Window::Controls() const {
    std::vector<Window> controls;
    EnumChildWindows(
        handle_,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<Window>*>(param)->emplace_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::vector<std::string> Window::ComboEntries() const {
    // A list box holds its rows the same way under other message numbers.
    const bool list = ClassName() == "ListBox";
    const LRESULT count = Send(list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length =
            Send(list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) {
            throw DriverError("cannot read entry " + std::to_string(i) + " of " + Describe());
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i),
             reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(Narrow(text));
    }
    return entries;
}

int Window::ComboSelection() const {
    return static_cast<int>(Send(CB_GETCURSEL, 0, 0));
}

void Window::PickComboEntry(int index, Timeout timeout) const {
    RequireUsable("pick an entry of");
    if (Send(CB_SETCURSEL, static_cast<WPARAM>(index), 0, timeout) != index) {
        throw DriverError(Describe() + " has no entry " + std::to_string(index));
    }
    Parent().Send(WM_COMMAND, MAKEWPARAM(Id(), CBN_SELCHANGE), reinterpret_cast<LPARAM>(handle_),
                  timeout);
}

void Window::PickComboEntry(const std::string& text, Timeout timeout) const {
    const std::vector<std::string> entries = ComboEntries();
    const auto it = std::find(entries.begin(), entries.end(), text);
    if (it == entries.end()) {
        std::string present;
        for (const std::string& entry : entries) {
            present += " \"" + entry + "\"";
        }
        throw DriverError(Describe() + " has no entry \"" + text + "\" (it has:" + present + ")");
    }
    PickComboEntry(static_cast<int>(it - entries.begin()), timeout);
}

void Window::Click(Timeout timeout) const {
    RequireUsable("click");
    try {
        Send(BM_CLICK, 0, 0, timeout);
    } catch (const DriverError& e) {
        throw DriverError(std::string(e.what()) +
                          " (if the click opens a modal window, use ClickAsync)");
    }
}

PendingCall Window::ClickAsync() const {
    RequireUsable("click");
    return SendAsync(BM_CLICK, 0, 0);
}

void Window::RightClick(Timeout timeout) const {
    RequireUsable("right-click");
    const POINT centre = Centre(ClientRect());
    PostedInput input(*this);
    input.Post(WM_RBUTTONDOWN, MK_RBUTTON, PointParam(centre));
    input.Post(WM_RBUTTONUP, 0, PointParam(centre));
    input.WaitUntilTaken(timeout);
}

void Window::Type(const std::string& text, Timeout timeout) const {
    RequireUsable("type into");
    const std::wstring wide = Widen(text);
    PostedInput input(*this);
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\n' && i > 0 && wide[i - 1] == L'\r') {
            continue;
        }
        const wchar_t c = wide[i] == L'\n' ? L'\r' : wide[i];
        input.Post(WM_CHAR, c, 1);
    }
    input.WaitUntilTaken(timeout);
}

void Window::SetText(const std::string& text, Timeout timeout) const {
    RequireUsable("set the text of");
    const std::wstring wide = Widen(text);
    if (!Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), timeout)) {
        throw DriverError(Describe() + " refused the text \"" + text + "\"");
    }
}

void Window::PressKey(UINT virtualKey, Timeout timeout) const {
    RequireUsable("press a key in");
    PostedInput input(*this);
    input.Post(WM_KEYDOWN, virtualKey, KeyParam(virtualKey, false));
    input.Post(WM_KEYUP, virtualKey, KeyParam(virtualKey, true));
    input.WaitUntilTaken(timeout);
}

void Window::MouseClick(Timeout timeout) const {
    RequireUsable("click on");
    const POINT centre = Centre(ClientRect());
    PostedInput input(*this);
    input.Post(WM_MOUSEMOVE, 0, PointParam(centre));
    input.Post(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(centre));
    input.Post(WM_LBUTTONUP, 0, PointParam(centre));
    input.WaitUntilTaken(timeout);
}

void Window::Close(Timeout timeout) const {
    PostedInput input(*this);
    input.Post(WM_SYSCOMMAND, SC_CLOSE, 0);
    input.WaitUntilTaken(timeout);
}

void Window::Minimize(Timeout timeout) const {
    PostedInput input(*this);
    input.Post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    input.WaitUntilTaken(timeout);
}

std::string Window::MessageText() const {
    // The message of a message box is a static control with the number 0xFFFF; other
    // dialogs show it as their first static text that is not an icon.
    if (std::optional<Window> text = FindControl(0xFFFF)) {
        return text->Text();
    }
    for (const Window& control : Controls()) {
        if (control.ClassName() == "Static" &&
            (GetWindowLongW(control.Handle(), GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            const std::string text = control.Text();
            if (!text.empty()) {
                return text;
            }
        }
    }
    throw DriverError(Describe() + " shows no text");
}

void Window::Answer(int buttonId, Timeout timeout) const {
    // A dialog's inner controls may carry the same number (the file requester's list
    // view is 1 like its Open button): the button is meant.
    for (const Window& control : Controls()) {
        if (control.Id() == buttonId && control.ClassName() == "Button") {
            control.Click(timeout);
            Await([this] { return !IsWindow(handle_); }, Describe() + " to close", timeout);
            return;
        }
    }
    Control(buttonId).Click(timeout);
    Await([this] { return !IsWindow(handle_); }, Describe() + " to close", timeout);
}

Menu Window::ReadMenuBar(Timeout timeout) const {
    std::optional<Menu> menu = DescribeMenu(*this, timeout);
    if (!menu) {
        throw DriverError(Describe() + " has no menu bar");
    }
    return std::move(*menu);
}

std::pair<Window, Menu> Window::OpenMenuBarTitle(const MenuItem& title, Timeout timeout) const {
    if (title.kind != MenuItem::Kind::Submenu) {
        throw DriverError("the menu bar item \"" + title.text + "\" opens no drop-down");
    }
    if (title.grayed) {
        throw DriverError("the menu title \"" + title.text + "\" is grayed");
    }
    if (!title.rect) {
        throw DriverError("the menu title \"" + title.text + "\" is not shown");
    }
    // A press on the title in the non-client area starts the menu loop with the title's
    // drop-down open; the release keeps it open, as after a click by hand.
    const POINT centre = Centre(*title.rect);
    Post(WM_NCLBUTTONDOWN, HTMENU, PointParam(centre));
    Post(WM_LBUTTONUP, 0, PointParam(centre));
    std::optional<std::pair<Window, Menu>> dropDown;
    Await(
        [&] {
            dropDown = ShownMenu(ProcessId(), title.submenuHandle, timeout);
            return dropDown.has_value();
        },
        "the drop-down menu \"" + title.text + "\" of " + Describe() + " to open", timeout);
    return std::move(*dropDown);
}

Menu Window::OpenMenuBarTitle(const std::string& title, Timeout timeout) const {
    RequireUsable("use the menu bar of");
    const Menu bar = ReadMenuBar(timeout);
    const auto it = std::find_if(bar.items.begin(), bar.items.end(),
                                 [&](const MenuItem& item) { return item.text == title; });
    if (it == bar.items.end()) {
        throw DriverError("the menu bar of " + Describe() + " has no title \"" + title + "\":\n" +
                          bar.Dump());
    }
    return OpenMenuBarTitle(*it, timeout).second;
}

void Window::ChooseFromMenuBar(int id, Timeout timeout) const {
    RequireUsable("use the menu bar of");
    const Menu bar = ReadMenuBar(timeout);
    const std::vector<size_t> path = bar.PathTo(id);
    if (path.size() < 2) {
        throw DriverError("the menu bar of " + Describe() + " has no item " + std::to_string(id) +
                          ":\n" + bar.Dump());
    }
    RequireChoosable(bar.items, path);
    auto [dropDown, menu] = OpenMenuBarTitle(bar.items[path[0]], timeout);
    const DWORD thread = ThreadId();
    // The item may end the program; the number of its gone thread may soon be another's.
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, ProcessId()));
    ClickAlongPath(ProcessId(), dropDown, std::move(menu),
                   std::vector<size_t>(path.begin() + 1, path.end()), timeout);
    Await(
        [&] {
            if (process && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
                return true;
            }
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            // A thread that has gone (the item ended the program) has left its menu too.
            return !GetGUIThreadInfo(thread, &info) || !(info.flags & GUI_INMENUMODE);
        },
        "the menu bar of " + Describe() + " to close after choosing item " + std::to_string(id),
        timeout);
}

void Window::PostMenuCommand(int id) const {
    Post(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam, Timeout timeout) const {
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(handle_, message, wParam, lParam, SMTO_NORMAL, TimeoutMs(timeout),
                             &result)) {
        const DWORD error = GetLastError();
        if (!IsWindow(handle_)) {
            throw DriverError("message " + Hex(message) + " to a window that has gone (" +
                              Hex(reinterpret_cast<uintptr_t>(handle_)) + ")");
        }
        if (error == ERROR_TIMEOUT || error == 0) {
            throw DriverError("message " + Hex(message) + " to " + Describe() +
                              " was not handled within " + std::to_string(timeout.count()) + " ms");
        }
        throw DriverError("message " + Hex(message) + " to " + Describe() + " failed: error " +
                          std::to_string(error));
    }
    return static_cast<LRESULT>(result);
}

PendingCall Window::SendAsync(UINT message, WPARAM wParam, LPARAM lParam) const {
    auto promise = std::make_shared<std::promise<LRESULT>>();
    PendingCall call(promise->get_future().share(),
                     "message " + Hex(message) + " to " + Describe());
    std::thread([window = handle_, message, wParam, lParam, promise] {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAsyncSendLimitMs,
                                &result)) {
            promise->set_value(static_cast<LRESULT>(result));
        } else {
            promise->set_exception(std::make_exception_ptr(
                DriverError("message " + Hex(message) + " was not delivered: " + LastErrorText())));
        }
    }).detach();
    return call;
}

void Window::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!PostMessageW(handle_, message, wParam, lParam)) {
        throw DriverError("cannot post message " + Hex(message) + " to " +
                          Hex(reinterpret_cast<uintptr_t>(handle_)) + ": " + LastErrorText());
    }
}

void Window::WaitUntilIdle(Timeout timeout) const {
    WaitForThreadIdle(ThreadId(), ProcessId(), Describe(), timeout);
}

void Window::WaitUntilGone(Timeout timeout) const {
    Await([this] { return !IsWindow(handle_) || !IsWindowVisible(handle_); },
          Describe() + " to close", timeout);
}

std::string Window::Describe() const {
    if (!Exists()) {
        return "window " + Hex(reinterpret_cast<uintptr_t>(handle_)) + " (gone)";
    }
    std::string text = "\"" + CachedTitle(handle_) + "\" [" + ClassName() + "]";
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) {
        text = "control " + std::to_string(Id()) + " " + text;
    }
    return text;
}

void Window::RequireUsable(const char* action) const {
    if (!Exists()) {
        throw DriverError(std::string("cannot ") + action + " " + Describe());
    }
    if (!IsWindowVisible(handle_)) {
        throw DriverError(std::string("cannot ") + action + " " + Describe() +
                          ": it is not visible");
    }
    if (!IsWindowEnabled(handle_)) {
        throw DriverError(std::string("cannot ") + action + " " + Describe() + ": it is disabled");
    }
    // A user cannot reach a control of a disabled window either (a modal box is up).
    for (HWND parent = GetAncestor(handle_, GA_PARENT); parent && parent != GetDesktopWindow();
         parent = GetAncestor(parent, GA_PARENT)) {
        if (!IsWindowEnabled(parent)) {
            throw DriverError(std::string("cannot ") + action + " " + Describe() + ": " +
                              Window(parent).Describe() + " is disabled");
        }
    }
}

// ---------------------------------------------------------------------------------------

App::App(LaunchOptions options) : name_(Narrow(options.program)) {
    std::wstring commandLine = L"\"" + options.program + L"\"";
    if (!options.arguments.empty()) {
        commandLine += L" " + Widen(options.arguments);
    }
    std::wstring environment = EnvironmentBlock(options.environment);
    const std::wstring directory = Widen(options.workingDirectory);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(),
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        throw DriverError("cannot start " + name_ + ": " + LastErrorText());
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    mainThreadId_ = info.dwThreadId;
}

App::App(DWORD processId) : processId_(processId) {
    process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                               FALSE, processId));
    if (!process_) {
        throw DriverError("cannot open process " + std::to_string(processId) + ": " +
                          LastErrorText());
    }
    std::wstring image(MAX_PATH, L'\0');
    DWORD length = MAX_PATH;
    if (QueryFullProcessImageNameW(process_.get(), 0, image.data(), &length)) {
        image.resize(length);
        name_ = Narrow(image);
    } else {
        name_ = "process " + std::to_string(processId);
    }
    // The earliest created thread of the process is the one that began it.
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    ULONGLONG earliest = ~0ULL;
    for (BOOL more =
             snapshot.get() != INVALID_HANDLE_VALUE && Thread32First(snapshot.get(), &entry);
         more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != processId) {
            continue;
        }
        UniqueHandle thread(
            OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME created{}, exited{}, kernel{}, user{};
        if (thread && GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) {
            const ULONGLONG when =
                (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
            if (when < earliest) {
                earliest = when;
                mainThreadId_ = entry.th32ThreadID;
            }
        }
    }
    if (mainThreadId_ == 0) {
        throw DriverError("cannot find the main thread of " + name_);
    }
}

App::~App() {
    Probe::Instance().ReleaseProcess(processId_);
    if (IsRunning()) {
        Terminate();
    }
}

bool App::IsRunning() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD App::WaitForExit(Timeout timeout) const {
    if (WaitForSingleObject(process_.get(), TimeoutMs(timeout)) != WAIT_OBJECT_0) {
        throw DriverError(name_ + " still runs after " + std::to_string(timeout.count()) +
                          " ms; its windows:\n" + DescribeWindows());
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

void App::Terminate() {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
}

std::vector<Window> App::TopLevelWindows(bool visibleOnly) const {
    struct Search {
        DWORD processId;
        bool visibleOnly;
        std::vector<Window> found;
    } search{processId_, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (ProcessOf(window) == s->processId && (!s->visibleOnly || IsWindowVisible(window))) {
                s->found.emplace_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<Window> App::FindWindow(const WindowQuery& query) const {
    for (const Window& window : TopLevelWindows(query.visibleOnly)) {
        const std::string title = CachedTitle(window.Handle());
        const bool titleMatches = query.titlePrefix
                                      ? title.compare(0, query.title.size(), query.title) == 0
                                      : title == query.title;
        if (titleMatches && (query.className.empty() || window.ClassName() == query.className)) {
            return window;
        }
    }
    return std::nullopt;
}

Window App::WaitForWindow(const WindowQuery& query, Timeout timeout) const {
    std::optional<Window> found;
    const bool appeared =
        WaitUntil([&] { return (found = FindWindow(query)).has_value() || !IsRunning(); }, timeout);
    if (found) {
        return *found;
    }
    if (appeared) {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        throw DriverError(name_ + " ended (exit code " + std::to_string(code) +
                          ") while the test waited for " + query.Describe());
    }
    throw DriverError("timed out after " + std::to_string(timeout.count()) + " ms waiting for " +
                      query.Describe() + "; the program shows:\n" + DescribeWindows());
}

void App::WaitForNoWindow(const WindowQuery& query, Timeout timeout) const {
    Await([&] { return !FindWindow(query); }, query.Describe() + " to close", timeout);
}

Window App::WaitForMessageBox(const std::string& title, Timeout timeout) const {
    return WaitForWindow(TitleIs(title, Narrow(kDialogClass)), timeout);
}

std::string App::DescribeWindows() const {
    std::string text;
    for (const Window& window : TopLevelWindows(true)) {
        text += "  \"" + CachedTitle(window.Handle()) + "\" [" + window.ClassName() + "]\n";
    }
    return text.empty() ? "  (no visible window)\n" : text;
}

void App::Tray(const Window& mainWindow, UINT mouseMessage, Timeout timeout) const {
    const DWORD thread = mainWindow.ThreadId();
    if (!SendNotifyMessageW(mainWindow.Handle(), kTrayCallbackMessage, kTrayIconId, mouseMessage)) {
        throw DriverError("cannot deliver the tray message to " + mainWindow.Describe() + ": " +
                          LastErrorText());
    }
    WaitForThreadIdle(thread, processId_, mainWindow.Describe(), timeout);
}

std::optional<Window> App::TopPopupMenuWindow() const {
    const std::vector<Window> popups = PopupMenuWindows(processId_);
    if (popups.size() <= 1) {
        return popups.empty() ? std::nullopt : std::optional<Window>(popups.front());
    }
    // Submenus have windows of their own; the top one holds all the others.
    std::vector<Menu> menus;
    for (const Window& popup : popups) {
        std::optional<Menu> menu = DescribePopup(popup, kDefaultTimeout);
        menus.push_back(menu ? std::move(*menu) : Menu{});
    }
    for (size_t i = 0; i < popups.size(); ++i) {
        const bool contained = std::any_of(menus.begin(), menus.end(), [&](const Menu& other) {
            return ContainsSubmenu(other.items, menus[i].handle);
        });
        if (!contained) {
            return popups[i];
        }
    }
    return popups.front();
}

std::optional<Menu> App::ReadPopupMenu(Timeout timeout) const {
    const std::optional<Window> top = TopPopupMenuWindow();
    if (!top) {
        return std::nullopt;
    }
    return DescribePopup(*top, timeout);
}

Menu App::WaitForPopupMenu(Timeout timeout) const {
    std::optional<Menu> menu;
    Await(
        [&] {
            menu = ReadPopupMenu(timeout);
            return menu.has_value();
        },
        "a popup menu of " + name_, timeout);
    return std::move(*menu);
}

bool App::PopupMenuOpen() const {
    return !PopupMenuWindows(processId_).empty();
}

bool App::InMenuMode() const {
    if (!IsRunning()) {
        return false; // its thread's number may belong to another thread by now
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(mainThreadId_, &info) && (info.flags & GUI_INMENUMODE);
}

void App::ChooseFromPopupMenu(int id, Timeout timeout) const {
    std::optional<Window> top;
    Await(
        [&] {
            top = TopPopupMenuWindow();
            return top.has_value();
        },
        "a popup menu of " + name_, timeout);
    std::optional<Menu> menu = DescribeMenu(*top, timeout);
    if (!menu) {
        throw DriverError("the popup menu window shows no menu");
    }
    const std::vector<size_t> path = menu->PathTo(id);
    if (path.empty()) {
        throw DriverError("the open popup menu has no item " + std::to_string(id) + ":\n" +
                          menu->Dump());
    }
    RequireChoosable(menu->items, path);
    ClickAlongPath(processId_, *top, std::move(*menu), path, timeout);
    Await([&] { return !PopupMenuOpen() && !InMenuMode(); },
          "the popup menu to close after choosing item " + std::to_string(id), timeout);
}

void App::DismissMenu(Timeout timeout) const {
    const auto deadline = Clock::now() + timeout;
    const auto remaining = [&] {
        return std::max(Timeout(1), std::chrono::duration_cast<Timeout>(deadline - Clock::now()));
    };
    while (PopupMenuOpen() || InMenuMode()) {
        const size_t open = PopupMenuWindows(processId_).size();
        // To the thread rather than a window: the menu loop takes keys of any window of
        // its thread, and the popup window may be gone before the key's release arrives.
        for (const bool up : {false, true}) {
            if (!PostThreadMessageW(mainThreadId_, up ? WM_KEYUP : WM_KEYDOWN, VK_ESCAPE,
                                    KeyParam(VK_ESCAPE, up))) {
                throw DriverError("cannot post Escape to " + name_ + ": " + LastErrorText());
            }
        }
        Await(
            [&] {
                return PopupMenuWindows(processId_).size() < open ||
                       (!InMenuMode() && !PopupMenuOpen());
            },
            "the menu to close a level on Escape", remaining());
    }
}

void App::PressKey(UINT virtualKey, Timeout timeout) const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(mainThreadId_, &info) || !(info.hwndFocus || info.hwndActive)) {
        throw DriverError("no window of " + name_ + " has the keyboard focus");
    }
    Window(info.hwndFocus ? info.hwndFocus : info.hwndActive).PressKey(virtualKey, timeout);
}

} // namespace quarnel::test
