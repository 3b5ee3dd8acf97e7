// The configuration window opened in the test's own process with what the program would
// hand it, for tests that look inside it.
#pragma once

#include "config/config_window.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/message_boxes.h"
#include "testkit/quarnel_setup.h"
#include "testkit/ui_driver.h"
#include "win/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quarnel::test {

inline std::string Key(const std::string& keyName) {
    return SessionsKey + keyName;
}
// A value's text, or "-" when there is no such value.
inline std::string Value(const std::string& key, const std::string& valueName) {
    return RegistryProbe(key, valueName, ".") ? RegistryRead(key, valueName, ".") : "-";
}

// The window opened in this process with what the program would hand it; its events
// go to the handlers of its gadget rows, as the program's dispatcher sends them.
class ConfigWindowTest : public ::testing::Test, private WindowOwner, private ConfigHost {
  protected:
    void SetUp() override {
        setup_.LaterRun();
        RegistryCreateKey(UserRunKey, ".");
    }
    void TearDown() override {
        window_.reset();
        EXPECT_EQ(Boxes::Take(), Texts{}) << "boxes nobody looked at";
    }
    // mail (menu Server), web server (no menu), Zeta (menu Alpha), read as at start-up.
    void Seed() {
        setup_.Session("mail", "Server").Session("web%20server").Session("Zeta", "Alpha");
        catalogue_ = LoadSessionCatalogue();
    }
    Window Open() {
        window_ = std::make_unique<ConfigWindow>(env_, settings_, catalogue_,
                                                 static_cast<ConfigHost&>(*this));
        EXPECT_TRUE(window_->Open());
        return Window(window_->Handle());
    }
    Window Control(int number) const { return Window(window_->Handle()).Control(number); }
    // A field's whole text at once, also into a disabled one; the handlers read it later.
    void Put(int number, const std::string& text) const {
        SetWindowTextW(GetDlgItem(window_->Handle(), number), Widen(text).c_str());
    }
    void Close() const { Window(window_->Handle()).Send(WM_CLOSE, 0, 0); }

    void WindowGone(TopWindow&) override { gone_ = std::move(window_); }
    void RestartProgram() override { ++restarts_; }

    QuarnelSetup setup_;
    Boxes boxes_;
    Fonts fonts_;
    ToolTips toolTips_{GetModuleHandleW(nullptr)};
    const WindowEnv env_{GetModuleHandleW(nullptr), nullptr, nullptr, &fonts_, &toolTips_, this};
    Settings settings_;
    SessionCatalogue catalogue_;
    std::unique_ptr<ConfigWindow> window_, gone_;
    int restarts_ = 0;
};

} // namespace quarnel::test
