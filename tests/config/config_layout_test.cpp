// The configuration window as it opens: frame, every control's place, text, font and
// tool tip, the tab order, and the fill from settings and session catalogue.
#include "config_fixture.h"

#include "app/program.h"
#include "config/config_window.h"
#include "registry/registry.h"
#include "win/text.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace quarnel::test {
namespace {

constexpr char kFound[] = "(Datei gefunden!. Alles OK!)";
constexpr char kNotFound[] = "(Angegebene Datei nicht gefunden. Bitte prüfen!)";
constexpr char kSeparator[] = "---------------------";

RECT ClientRectOf(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

using ConfigLayoutTest = ConfigWindowTest;

TEST_F(ConfigLayoutTest, WindowIsAFixedCentredTopLevelWindow) {
    const HWND window = Open();
    const UINT dpi = GetDpiForWindow(window) ? GetDpiForWindow(window) : 96;
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_EQ(Narrow(title), "Quarnel Konfiguration ");
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(window));

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD));

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(710, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(512, dpi, 96));

    RECT outer{};
    GetWindowRect(window, &outer);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = std::min<int>(outer.right - outer.left, screenWidth);
    const int height = std::min<int>(outer.bottom - outer.top, screenHeight);
    EXPECT_EQ(outer.left, screenWidth / 2 - width / 2);
    EXPECT_EQ(outer.top, screenHeight / 2 - height / 2);
}

TEST_F(ConfigLayoutTest, EveryControlHasItsKindPlaceSizeAndText) {
    const struct {
        int number;
        const char* kind; // window class
        DWORD style;      // style bits that must be set
        int x, y, w, h;
        const char* text; // nullptr: not checked (combos, texts set by the fill)
    } cases[] = {
        {0, "ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 15, 290, 225, 210, nullptr},
        {1, "Edit", ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 105, 140, 155, 20, ""},
        {2, "Static", SS_LEFT, 20, 140, 80, 20, "Masterpasswort:"},
        {3, "Static", SS_LEFT, 505, 270, 175, 20, "Ggf. zugeordnetes Passwort"},
        {4, "Edit", ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 500, 290, 190, 20, ""},
        {5, "Static", SS_LEFT, 15, 270, 175, 20, "Puttysession:"},
        {6, "Button", BS_PUSHBUTTON | WS_TABSTOP, 250, 320, 440, 35, "S P E I C H E R N "},
        {7, "Button", WS_TABSTOP, 500, 365, 190, 30, "Dieses Passwort löschen"},
        {8, "ComboBox", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP, 250, 290, 225, 210, nullptr},
        {9, "Static", SS_LEFT, 255, 270, 175, 20, "Menuzuordnung für die Session"},
        {10, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 20, 25, 220, 15,
         "Passwortfunktionalität einschalten"},
        {11, "Button", BS_GROUPBOX, 5, 250, 705, 185, "Menü- und Passwortzuordnung"},
        {12, "Button", BS_GROUPBOX, 5, 5, 270, 165, "Passwortfunktionalität"},
        {13, "Button", BS_GROUPBOX, 285, 5, 425, 240,
         "Allgemeine Einstellungen (werden sofort, ohne speichern aktiv)"},
        {14, "Button", BS_AUTOCHECKBOX, 305, 25, 375, 20,
         "Quarnel nach Starten einer Putty-Session gleich wieder beenden"},
        {15, "Edit", ES_AUTOHSCROLL | WS_TABSTOP, 300, 205, 370, 20, nullptr},
        {16, "Static", SS_LEFT, 300, 185, 150, 20, "Pfad und Dateiname zu Putty:"},
        {17, "Button", WS_TABSTOP, 250, 365, 190, 30, "Diese Menuzuordnung löschen"},
        {18, "Button", WS_TABSTOP, 260, 460, 445, 40,
         "Einstellungen beenden und Quarnel neu starten zum einlesen der Konfig"},
        {19, "Button", WS_TABSTOP, 250, 405, 190, 20, "ALLE Menuzuordnungen löschen"},
        {20, "Button", WS_TABSTOP, 500, 405, 190, 20, "ALLE gesp. Passwörter löschen"},
        {21, "Static", SS_LEFT, 20, 50, 220, 20, "A C H T U N G !"},
        {22, "Static", SS_LEFT, 20, 70, 245, 65,
         "Das Abspeichern von Passwörtern stellt ein hohes Sicherheitsrisiko dar. Bitte daher - "
         "wenn überhaupt - nur Passwörter unkritischer Systeme abspeichern! VERWENDUNG AUF "
         "EIGENE GEFAHR!"},
        {23, "Button", BS_AUTOCHECKBOX, 305, 65, 375, 25,
         "Quarnel immer minimiert starten (im Systray)"},
        {27, "Button", WS_TABSTOP, 10, 455, 155, 25, "Quarnel deinstallieren"},
        {36, "Static", SS_CENTER, 300, 225, 370, 15, nullptr},
        {37, "Button", WS_TABSTOP, 675, 205, 20, 20, "..."},
        {38, "Button", BS_AUTOCHECKBOX, 305, 90, 375, 21, "Quarnel beim Hochfahren starten"},
        {39, "Button", BS_AUTOCHECKBOX, 305, 50, 375, 11,
         "Quarnel nach Starten einer Putty-Session minimieren (im Systray)"},
        {40, "ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 460, 125, 200, 110, nullptr},
        {41, "Static", SS_LEFT, 300, 130, 150, 20, "Session für SSH-Eingabefeld"},
    };
    const HWND window = Open();
    const UINT dpi = GetDpiForWindow(window) ? GetDpiForWindow(window) : 96;
    const auto at = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const HWND control = Gadget(c.number);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), c.kind);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        EXPECT_EQ(style & c.style, c.style);
        EXPECT_TRUE(style & WS_VISIBLE);
        if (std::string(c.kind) == "Static") {
            EXPECT_EQ(style & SS_TYPEMASK, c.style); // SS_LEFT is 0: no other alignment
            EXPECT_FALSE(style & WS_BORDER);
        }
        RECT rect = ClientRectOf(window, control);
        int heightSlack = 0;
        if (std::string(c.kind) == "ComboBox") {
            // The height given includes the list, whose room the dropped control
            // rectangle gives. The combo fixes that room when it is made, against its
            // selection field in the system font, which shrinks a little with the GUI
            // font given right after.
            RECT dropped{};
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            rect.bottom += dropped.bottom - dropped.top;
            heightSlack = at(5);
        }
        if (std::string(c.kind) == "Edit") {
            EXPECT_TRUE(GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        }
        EXPECT_EQ(rect.left, at(c.x));
        EXPECT_EQ(rect.top, at(c.y));
        EXPECT_EQ(rect.right - rect.left, at(c.w));
        EXPECT_NEAR(rect.bottom - rect.top, at(c.h), heightSlack);
        if (c.text != nullptr) {
            EXPECT_EQ(Text(c.number), c.text);
        }
    }
}

TEST_F(ConfigLayoutTest, ControlsAreCreatedAndTabbedInTableOrder) {
    TheProgram().settings.Passwortfunktionalitaet = 1; // fields 1 and 4 take the focus
    const HWND window = Open();
    std::vector<int> created;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        created.push_back(GetDlgCtrlID(child));
    }
    std::vector<int> expected;
    for (int n = 0; n <= 23; ++n) {
        expected.push_back(n);
    }
    for (int n : {27, 36, 37, 38, 39, 40, 41}) {
        expected.push_back(n);
    }
    EXPECT_EQ(created, expected);

    const std::vector<int> tabStops = {0,  1,  4,  6,  7,  8,  10, 14, 15, 17,
                                       18, 19, 20, 23, 27, 37, 38, 39, 40};
    std::vector<int> forward;
    HWND focus = Gadget(tabStops.front());
    for (size_t i = 0; i <= tabStops.size(); ++i) {
        forward.push_back(GetDlgCtrlID(focus));
        focus = GetNextDlgTabItem(window, focus, FALSE);
    }
    std::vector<int> wrapped = tabStops;
    wrapped.push_back(tabStops.front());
    EXPECT_EQ(forward, wrapped);
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(window, Gadget(0), TRUE)), 40);
}

TEST_F(ConfigLayoutTest, WarningAndStatusLabelsHaveTheirFonts) {
    const HWND window = Open();
    for (const auto& [number, font] : std::map<int, HFONT>{
             {21, ProgramFont(1)},
             {36, ProgramFont(6)},
             {22, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))},
             {6, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))},
             {40, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))},
         }) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Gadget(number), WM_GETFONT, 0, 0)), font)
            << number;
    }
    (void)window;
}

TEST_F(ConfigLayoutTest, FourControlsHaveToolTips) {
    const HWND window = Open();
    std::map<int, std::string> tips;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND tip, LPARAM out) -> BOOL {
            if (ClassOf(tip) != "tooltips_class32") {
                return TRUE;
            }
            auto& found = *reinterpret_cast<std::map<int, std::string>*>(out);
            const int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t text[512] = {};
                TTTOOLINFOW info{};
                info.cbSize = sizeof info;
                info.lpszText = text;
                if (SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)) &&
                    GetAncestor(reinterpret_cast<HWND>(info.uId), GA_ROOT) ==
                        ConfigWindowHandle()) {
                    found[GetDlgCtrlID(reinterpret_cast<HWND>(info.uId))] = Narrow(text);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    EXPECT_EQ(tips, (std::map<int, std::string>{
                        {19, "Alle gespeicherten Menüzuordungen sofort löschen"},
                        {20, "Alle gespeicherten Passwörter sofort löschen"},
                        {27, "Alle Quarnel-Einträge aus der Registry entfernen (exe-File bleibt "
                             "erhalten)"},
                        {40, "Hier kann die PuttySession für eine über die IP-Adresse +Rechte "
                             "Maustaste geöffnete SSH-Verbindung eingestellt werden"},
                    }));
    (void)window;
}

TEST_F(ConfigLayoutTest, WithoutSessionsTheListsHoldOnlyTheirFixedEntries) {
    Open();
    EXPECT_EQ(Entries(kSessionCombo),
              (std::vector<std::string>{"Bitte Session wählen:", kSeparator}));
    EXPECT_EQ(Entries(kSshTemplateCombo), std::vector<std::string>{"Default Settings"});
    EXPECT_EQ(Entries(kMenuCombo), (std::vector<std::string>{"", kSeparator, kSeparator}));
    EXPECT_EQ(Selection(kSessionCombo), 0);
    EXPECT_EQ(Selection(kSshTemplateCombo), 0);
    EXPECT_EQ(Selection(kMenuCombo), 0);
    EXPECT_EQ(Text(kMenuCombo), "");
}

TEST_F(ConfigLayoutTest, SessionsAndMenusAreListedFromTheCatalogue) {
    SeedSessions({{"Default%20Settings", ""},
                  {"mail", "Server"},
                  {"web%20server", "Alpha"},
                  {"Zeta%2Fx", "Server"}});
    TheProgram().catalogue.menuNames = {"Alpha", "Server"};
    Open();
    EXPECT_EQ(Entries(kSessionCombo),
              (std::vector<std::string>{"Bitte Session wählen:", kSeparator, "Default Settings",
                                        "mail", "web server", "Zeta%2Fx"}));
    // The template is listed first and again in its sorted place.
    EXPECT_EQ(Entries(kSshTemplateCombo),
              (std::vector<std::string>{"Default Settings", "Default Settings", "mail",
                                        "web server", "Zeta%2Fx"}));
    EXPECT_EQ(Entries(kMenuCombo),
              (std::vector<std::string>{"", kSeparator, "Alpha", "Server", kSeparator}));
    EXPECT_EQ(Selection(kSessionCombo), 0);
    EXPECT_EQ(Selection(kSshTemplateCombo), 0);
}

TEST_F(ConfigLayoutTest, ATemplateThatIsNoSessionIsListedOnce) {
    SeedSessions({{"mail", ""}});
    TheProgram().settings.SSHSessionVorlage = "Vorlage mit Blank";
    Open();
    EXPECT_EQ(Entries(kSshTemplateCombo), (std::vector<std::string>{"Vorlage mit Blank", "mail"}));
    EXPECT_EQ(Text(kSshTemplateCombo), "Vorlage mit Blank");
}

TEST_F(ConfigLayoutTest, CheckBoxesAndPasswordFieldsFollowTheSettings) {
    const struct {
        int8_t quit, minimize, startMinimized, passwords;
        bool autostart;
    } cases[] = {{0, 0, 0, 0, false}, {1, 1, 1, 1, true}, {1, 0, 1, 0, true}, {0, 1, 0, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.quit) << int(c.minimize) << int(c.startMinimized)
                                        << int(c.passwords) << c.autostart);
        Settings& s = TheProgram().settings;
        s.NachPuttyStartBeenden = c.quit;
        s.NachPuttyStartMinimieren = c.minimize;
        s.Startminimized = c.startMinimized;
        s.Passwortfunktionalitaet = c.passwords;
        s.Autostart = c.autostart;
        Open();
        EXPECT_EQ(Checked(kQuitAfterLaunchCheck), c.quit != 0);
        EXPECT_EQ(Checked(kMinimizeAfterLaunchCheck), c.minimize != 0);
        EXPECT_EQ(Checked(kStartMinimizedCheck), c.startMinimized != 0);
        EXPECT_EQ(Checked(kPasswordFunctionCheck), c.passwords != 0);
        EXPECT_EQ(Checked(kAutostartCheck), c.autostart);
        EXPECT_EQ(IsWindowEnabled(Gadget(kMasterPasswordField)) != 0, c.passwords != 0);
        EXPECT_EQ(IsWindowEnabled(Gadget(kSessionPasswordField)) != 0, c.passwords != 0);
        for (int always : {kSaveButton, kDeletePasswordButton, kDeleteAllPasswordsButton,
                           kPasswordFunctionCheck, kMenuCombo, kSessionCombo}) {
            EXPECT_TRUE(IsWindowEnabled(Gadget(always))) << always;
        }
        EXPECT_EQ(Text(kMasterPasswordField), "");
        EXPECT_EQ(Text(kSessionPasswordField), "");
        SendMessageW(Window(), WM_CLOSE, 0, 0);
        ASSERT_EQ(Window(), nullptr);
    }
}

TEST_F(ConfigLayoutTest, ThePathIsCheckedAndStoredOnlyWhenItNamesAFile) {
    const std::string file = ScratchFile("putty.exe");
    const struct {
        std::string path;
        bool found;
    } cases[] = {{file, true},
                 {ScratchFolder(), false},
                 {"", false},
                 {ScratchFolder() + "\\missing.exe", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        RegistryWrite(ProgramKey, "PuttyPfad", "before", kRegSz, ".");
        TheProgram().settings.PuttyPfad = c.path;
        Open();
        EXPECT_EQ(Text(kPuttyPathField), c.path);
        EXPECT_EQ(Text(kPuttyPathStatusLabel), c.found ? kFound : kNotFound);
        EXPECT_EQ(Stored(ProgramKey, "PuttyPfad"), c.found ? c.path : "before");
        EXPECT_EQ(TheProgram().settings.PuttyPfad, c.path);
        SendMessageW(Window(), WM_CLOSE, 0, 0);
    }
}

TEST_F(ConfigLayoutTest, OpeningAgainOnlyBringsTheWindowForward) {
    SeedSessions({{"mail", ""}});
    const HWND first = Open();
    Enter(kMasterPasswordField, "typed");
    Pick(kSessionCombo, 2);
    TheProgram().settings.NachPuttyStartBeenden = 1;
    EXPECT_EQ(Open(), first);
    EXPECT_EQ(Text(kMasterPasswordField), "typed");
    EXPECT_EQ(Selection(kSessionCombo), 2);
    EXPECT_EQ(Entries(kSessionCombo).size(), 3u);
    EXPECT_FALSE(Checked(kQuitAfterLaunchCheck));
}

TEST_F(ConfigLayoutTest, TheCloseBoxDestroysTheWindowAndNothingIsSaved) {
    Open();
    const HWND field = Gadget(kPuttyPathField);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ConfigWindowHandle(), nullptr);
    EXPECT_FALSE(IsWindow(field));
    EXPECT_FALSE(Has(ProgramKey, "PuttyPfad"));
    Open(); // and it opens again
    EXPECT_NE(ConfigWindowHandle(), nullptr);
}

} // namespace
} // namespace quarnel::test
