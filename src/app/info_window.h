// The information window (window 3): the program's name and version.
#pragma once

#include "win/window.h"

#include <functional>
#include <span>

namespace quarnel {

enum InfoGadget : int {
    kInfoNameLabel = 28,
    kInfoVersionLabel = 29,
    kInfoCreditLabel = 30,
    kInfoOkButton = 31,
};

inline constexpr int kInfoWindowNumber = 3;

class InfoWindow : public TopWindow {
  public:
    // `close` ends the window's life; the owner destroys it.
    InfoWindow(const WindowEnv& env, std::function<void()> close);
    bool Open();

    static std::span<const GadgetRow<InfoWindow>> Rows();
    void OnOk();

  private:
    std::function<void()> close_;
};

} // namespace quarnel
