#include "win/fonts.h"

#include "win/text.h"

namespace quarnel {

namespace {

// The system's default GUI font is 8 point at every resolution; the stock object has
// the size of the system's resolution only.
constexpr int kGuiFontPoints = 8;

int FontHeight(HFONT font) {
    LOGFONTW logFont{};
    return GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont ? logFont.lfHeight : 0;
}

} // namespace

UniqueFont CreateProgramFont(const FontSpec& f, int dpi) {
    return UniqueFont(CreateFontW(
        FontHeightForPoints(f.points, dpi), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic,
        f.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Widen(f.face).c_str()));
}

Fonts::Fonts() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < kFontSpecs.size(); ++i) {
        base_[i] = CreateProgramFont(kFontSpecs[i], dpi);
    }
}

HFONT Fonts::Get(int number, UINT dpi) {
    if (number < 0 || number > static_cast<int>(kFontSpecs.size())) {
        number = 0;
    }
    const int resolution = static_cast<int>(dpi);
    const size_t index = static_cast<size_t>(number);
    // The fonts at hand serve wherever they already have the height wanted.
    const HFONT atHand =
        number == 0 ? static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)) : base_[index - 1].get();
    const int points = number == 0 ? kGuiFontPoints : kFontSpecs[index - 1].points;
    if (atHand != nullptr && FontHeight(atHand) == FontHeightForPoints(points, resolution)) {
        return atHand;
    }
    UniqueFont& font = byDpi_[dpi][index];
    if (!font && number == 0) {
        LOGFONTW logFont{};
        GetObjectW(atHand, sizeof logFont, &logFont);
        logFont.lfHeight = FontHeightForPoints(points, resolution);
        logFont.lfWidth = 0;
        font.reset(CreateFontIndirectW(&logFont));
    } else if (!font) {
        font = CreateProgramFont(kFontSpecs[index - 1], resolution);
    }
    return font.get();
}

} // namespace quarnel
