// The master password prompt (window 2), shown at start-up when the password function
// is on, before any other window of the program exists.
#pragma once

namespace quarnel {

enum PromptGadget : int {
    kPromptNameLabel = 32,
    kPromptTextLabel = 33,
    kPromptPasswordField = 34,
    kPromptOkButton = 35,
};

// Sets MasterPassword to what the user confirms; closing the prompt leaves it empty.
void AskMasterPassword();

} // namespace quarnel
