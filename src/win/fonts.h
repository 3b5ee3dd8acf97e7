// The program's six fonts, made once at start-up, and the same fonts at the resolution
// of any monitor a window lands on.
#pragma once

#include "win/font_height.h"
#include "win/handles.h"

#include <windows.h>

#include <array>
#include <map>

namespace quarnel {

struct FontSpec {
    const char* face;
    int points;
    bool bold;
    bool italic;
    bool underline;
};
inline constexpr std::array<FontSpec, 6> kFontSpecs{{
    {"Arial", 10, true, true, true},    // 1: warning heading of the configuration window
    {"Arial", 20, true, true, false},   // 2: program name of the information window
    {"Arial", 12, true, false, false},  // 3: version line of the information window
    {"Arial", 12, true, true, false},   // 4: program name of the password prompt
    {"Arial", 12, false, false, false}, // 5: prompt line of the password prompt
    {"Arial", 8, true, true, false},    // 6: file-check status of the configuration window
}};

UniqueFont CreateProgramFont(const FontSpec& font, int dpi);

class Fonts {
  public:
    // Fonts 1 to 6 at the screen's resolution.
    Fonts();
    // Font 1 to 6 of the table at a resolution; 0 is the controls' default font, the
    // system's GUI font at that resolution.
    HFONT Get(int number, UINT dpi);

  private:
    std::array<UniqueFont, 6> base_;
    std::map<UINT, std::array<UniqueFont, 7>> byDpi_;
};

} // namespace quarnel
