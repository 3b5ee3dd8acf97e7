#include "config_fixture.h"

#include "app/program.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "testkit/test_support.h"
#include "win/text.h"

#include <commctrl.h>
#include <sddl.h>

#include <filesystem>
#include <ostream>

namespace quarnel::test {

void PrintTo(const ShownDialog& dialog, std::ostream* out) {
    *out << "{\"" << dialog.title << "\", \"" << dialog.text << "\", " << dialog.buttons << "}";
}

namespace {

std::string WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

ShownDialog Describe(HWND dialog) {
    ShownDialog shown;
    shown.title = WindowText(dialog);
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM out) -> BOOL {
            auto& text = reinterpret_cast<ShownDialog*>(out)->text;
            if (GetParent(child) == GetAncestor(child, GA_ROOT) && ClassOf(child) == "Static" &&
                IsWindowVisible(child)) {
                const std::string part = WindowText(child);
                if (!part.empty()) {
                    text += text.empty() ? part : "|" + part;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    const struct {
        int id;
        const char* name;
    } buttons[] = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {IDYES, "Yes"}, {IDNO, "No"}};
    for (const auto& b : buttons) {
        const HWND button = GetDlgItem(dialog, b.id);
        if (button != nullptr && IsWindowVisible(button)) {
            shown.buttons += b.name;
        }
    }
    return shown;
}

} // namespace

DialogAnswerer::Answer DialogAnswerer::Press(int buttonId) {
    return [buttonId](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
    };
}

DialogAnswerer::Answer DialogAnswerer::Close() {
    return [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); };
}

DialogAnswerer::DialogAnswerer() : thread_([this] { Run(); }) {}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    thread_.join();
}

void DialogAnswerer::Plan(Answer answer) {
    std::lock_guard lock(mutex_);
    planned_.push_back(std::move(answer));
}

std::vector<ShownDialog> DialogAnswerer::TakeShown() {
    std::lock_guard lock(mutex_);
    return std::exchange(shown_, {});
}

void DialogAnswerer::Run() {
    while (!stop_) {
        EnumWindows(
            [](HWND window, LPARAM self) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == GetCurrentProcessId() && ClassOf(window) == "#32770" &&
                    IsWindowVisible(window)) {
                    reinterpret_cast<DialogAnswerer*>(self)->Handle(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        {
            std::lock_guard lock(mutex_);
            std::erase_if(answered_, [](HWND window) { return !IsWindow(window); });
        }
        Sleep(5); // polling; nothing waits on this thread
    }
}

void DialogAnswerer::Handle(HWND dialog) {
    Answer answer;
    {
        std::lock_guard lock(mutex_);
        if (!answered_.insert(dialog).second) {
            return;
        }
        shown_.push_back(Describe(dialog));
        if (!planned_.empty()) {
            answer = std::move(planned_.front());
            planned_.pop_front();
        }
    }
    if (!answer) {
        answer = GetDlgItem(dialog, IDOK)   ? Press(IDOK)
                 : GetDlgItem(dialog, IDNO) ? Press(IDNO)
                                            : Close();
    }
    answer(dialog);
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const std::wstring& subKey) {
    if (RegOpenKeyExW(root, subKey.c_str(), 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot change the rights of " << Narrow(subKey);
        key_ = nullptr;
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    savedDacl_.resize(size);
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, savedDacl_.data(), &size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                         &readOnly, nullptr);
    EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    LocalFree(readOnly);
}

ReadOnlyKey::~ReadOnlyKey() {
    if (key_ != nullptr) {
        RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, savedDacl_.data());
        RegCloseKey(key_);
    }
}

void ConfigWindowTest::SetUpTestSuite() {
    Program& program = TheProgram();
    if (program.instance != nullptr) {
        return;
    }
    program.instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < kFontSpecs.size(); ++i) {
        const FontSpec& f = kFontSpecs[i];
        program.fonts[i].reset(CreateFontW(
            FontHeightForPoints(f.points, dpi), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic,
            f.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Widen(f.face).c_str()));
    }
}

void ConfigWindowTest::SetUp() {
    Program& program = TheProgram();
    program.settings = Settings{};
    program.startDirectory = "C:\\nowhere";
    program.settings.PuttyPfad = "C:\\nowhere\\putty.exe";
    program.catalogue = SessionCatalogue{};
    DeleteTree(ProgramKey);
    ASSERT_EQ(RegistryCreateKey(ProgramKey, "."), 1);
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) / ("quarnel-config-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    scratchFolder_ = Narrow(folder.wstring());
}

void ConfigWindowTest::TearDown() {
    if (Window() != nullptr) {
        DestroyWindow(Window());
    }
    for (const std::string& key : seededKeys_) {
        DeleteTree(key);
    }
    DeleteTree(ProgramKey);
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    std::filesystem::remove_all(std::filesystem::path(Widen(scratchFolder_)));
    EXPECT_EQ(dialogs.TakeShown(), std::vector<ShownDialog>{}) << "dialogs nobody checked";
}

void ConfigWindowTest::SeedSessions(const std::vector<SeededSession>& sessions) {
    SessionCatalogue& catalogue = TheProgram().catalogue;
    for (const SeededSession& s : sessions) {
        const std::string key = SessionsKey + s.keyName;
        seededKeys_.push_back(key);
        DeleteTree(key);
        ASSERT_EQ(RegistryCreateKey(key, "."), 1);
        RegistryWrite(key, "HostName", s.keyName + ".example", kRegSz, ".");
        if (!s.menu.empty()) {
            RegistryWrite(key, MenuValueName, s.menu, kRegSz, ".");
            if (std::find(catalogue.menuNames.begin(), catalogue.menuNames.end(), s.menu) ==
                catalogue.menuNames.end()) {
                catalogue.menuNames.push_back(s.menu);
            }
        }
        catalogue.allSessions.push_back(s.keyName);
    }
}

HWND ConfigWindowTest::Open() {
    OpenConfigWindow();
    EXPECT_NE(Window(), nullptr);
    return Window();
}

HWND ConfigWindowTest::Window() const {
    return ConfigWindowHandle();
}

HWND ConfigWindowTest::Gadget(int number) const {
    return GetDlgItem(Window(), number);
}

std::string ConfigWindowTest::Text(int number) const {
    return WindowText(Gadget(number));
}

bool ConfigWindowTest::Checked(int number) const {
    return SendMessageW(Gadget(number), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::string> ConfigWindowTest::Entries(int combo) const {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageW(Gadget(combo), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(
            static_cast<size_t>(SendMessageW(Gadget(combo), CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(Gadget(combo), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(Narrow(text.c_str()));
    }
    return entries;
}

int ConfigWindowTest::Selection(int combo) const {
    return static_cast<int>(SendMessageW(Gadget(combo), CB_GETCURSEL, 0, 0));
}

void ConfigWindowTest::Click(int button) {
    SendMessageW(Gadget(button), BM_CLICK, 0, 0);
}

void ConfigWindowTest::Pick(int combo, int index) {
    SendMessageW(Gadget(combo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Gadget(combo)));
}

void ConfigWindowTest::TypeChars(int field, const std::string& text) {
    for (wchar_t c : Widen(text)) {
        SendMessageW(Gadget(field), WM_CHAR, c, 1);
    }
}

void ConfigWindowTest::Enter(int field, const std::string& text) {
    SetWindowTextW(Gadget(field), Widen(text).c_str());
}

std::string ConfigWindowTest::ScratchFile(const std::string& name) {
    const std::string path = scratchFolder_ + "\\" + name;
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
    return path;
}

std::string ConfigWindowTest::Stored(const std::string& key, const std::string& valueName) const {
    return RegistryRead(key, valueName, ".");
}

bool ConfigWindowTest::Has(const std::string& key, const std::string& valueName) const {
    return RegistryProbe(key, valueName, ".") != 0;
}

} // namespace quarnel::test
