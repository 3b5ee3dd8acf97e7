#include "app/info_window.h"

#include "version.h"

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelInfoWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;

const GadgetRow<InfoWindow> kRows[] = {
    {{kInfoNameLabel, GadgetKind::CentredLabel, 30, 15, 275, 40, "Ulvas Quarnel", 2}},
    {{kInfoVersionLabel, GadgetKind::CentredLabel, 0, 60, 345, 30,
      "Version: V. " QUARNEL_VERSION_TEXT " vom " QUARNEL_VERSION_DATE, 3}},
    {{kInfoCreditLabel, GadgetKind::CentredLabel, 0, 90, 345, 30,
      "PuTTY-Sitzungen mit einem Klick starten"}},
    {{kInfoOkButton, GadgetKind::Button, 135, 165, 60, 30, "OK"}, kClicked, &InfoWindow::OnOk},
};

} // namespace

std::span<const GadgetRow<InfoWindow>> InfoWindow::Rows() {
    return kRows;
}

bool InfoWindow::Open() {
    const SIZE outer = OuterSizeForClient(kStyle, 0, 347, 224, WindowDpi(nullptr));
    if (!TopWindow::Open(kClassName, "Quarnel - Information", kStyle, 0,
                         {CentredOnScreen(outer), outer})) {
        return false;
    }
    CreateGadgets();
    ShowCentred(347, 224);
    FocusFirstControl();
    return true;
}

void InfoWindow::OnOk() {
    Close();
}

} // namespace quarnel
