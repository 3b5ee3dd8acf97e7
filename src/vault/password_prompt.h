// The master password prompt (window 2), shown at start-up when the password function
// is on, before any other window of the program exists.
#pragma once

#include "win/window.h"

#include <functional>
#include <optional>
#include <string>

namespace quarnel {

enum PromptGadget : int {
    kPromptNameLabel = 32,
    kPromptTextLabel = 33,
    kPromptPasswordField = 34,
    kPromptOkButton = 35,
    kPromptWrongLabel = 44,
};

// Waits for the user: the confirmed text, or nothing when the prompt was closed. A text that
// `accept` refuses empties the field and keeps the prompt open with a second line saying so.
// `question` is the line above the field.
std::optional<std::string> AskMasterPassword(const WindowEnv& env,
                                             const std::function<bool(const std::string&)>& accept,
                                             const char* question = "Masterpasswort eingeben:");

} // namespace quarnel
