// The information window (window 3): the program's name and version.
#pragma once

#include "win/window.h"

#include <span>

namespace quarnel {

enum InfoGadget : int {
    kInfoNameLabel = 28,
    kInfoVersionLabel = 29,
    kInfoCreditLabel = 30,
    kInfoOkButton = 31,
};

class InfoWindow : public RowWindow<InfoWindow> {
  public:
    using RowWindow::RowWindow;
    bool Open();

    static std::span<const GadgetRow<InfoWindow>> Rows();
    void OnOk();
};

} // namespace quarnel
