// PuTTY's saved sessions as the end-to-end tests lay them out for the program to find.
#pragma once

#include <string>

namespace quarnel::test {

// Creates the saved session `keyName` (in key form: blanks as "%20"); a non-empty `menu`
// is stored as the program's menu assignment "UlvasQuarnel_Menu" of the session.
void SeedPuttySession(const std::string& keyName, const std::string& menu = {});

// Removes every saved session of PuTTY, with the program's values in them.
void RemovePuttySessions();

} // namespace quarnel::test
