// The quick search (window 4): a field and the sessions matching what is typed in it,
// on a global hotkey. Return starts the selected session, or an SSH connection to the
// typed text when nothing matches.
#pragma once

#include "sessions/quick_search.h"
#include "win/window.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quarnel {

enum QuickSearchGadget : int {
    kQuickSearchField = 42,
    kQuickSearchList = 43,
};

inline constexpr int kQuickSearchWindowNumber = 4;
// The field reports Return as a command of its own.
inline constexpr int kReturnPressed = 0x7F02;

class QuickSearchWindow : public TopWindow {
  public:
    struct Actions {
        std::function<void(size_t session)> start; // an index into the catalogue's allSessions
        std::function<void(const std::string& host)> connect;
        std::function<void()> close; // ends the window's life; the owner destroys it
    };
    QuickSearchWindow(const WindowEnv& env, const SessionCatalogue& catalogue,
                      std::vector<size_t> recent, Actions actions);

    // Opens centred on the monitor that holds the mouse cursor, in the foreground with
    // the focus in the field.
    bool Open();
    void BringToFront() const;

    static std::span<const GadgetRow<QuickSearchWindow>> Rows();
    void OnQueryChanged();
    void OnStart();

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Refill();
    void AddRows(size_t count);
    SearchIndex index_;
    std::vector<size_t> recent_;
    std::vector<size_t> rows_; // the session behind each row of the list
    size_t shownRows_ = 0;     // how many of them the list holds yet
    Actions actions_;
};

} // namespace quarnel
