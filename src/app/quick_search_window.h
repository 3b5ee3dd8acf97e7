// The quick search (window 4): a field and the sessions matching what is typed in it,
// on a global hotkey. Return starts the selected session, or an SSH connection to the
// typed text when nothing matches.
#pragma once

#include "sessions/quick_search.h"
#include "win/window.h"

#include <span>
#include <string>
#include <vector>

namespace quarnel {

enum QuickSearchGadget : int {
    kQuickSearchField = 42,
    kQuickSearchList = 43,
};

// What a start from the quick search asks of the program.
class QuickSearchHost {
  public:
    virtual void StartSession(const std::string& keyName) = 0;
    virtual void ConnectTo(const std::wstring& host) = 0;

  protected:
    ~QuickSearchHost() = default;
};

class QuickSearchWindow : public RowWindow<QuickSearchWindow> {
  public:
    // `recent`: indices into the catalogue's allSessions, most recent first.
    QuickSearchWindow(const WindowEnv& env, const SessionCatalogue& catalogue,
                      std::vector<size_t> recent, QuickSearchHost& host);

    // Opens centred on the monitor that holds the mouse cursor, in the foreground with
    // the focus in the field.
    bool Open();
    // The hotkey again while it is open: empty, in front, the focus in the field.
    void Reopen();
    // The catalogue has changed: the list follows it, the query stays.
    void CatalogueChanged(std::vector<size_t> recent);

    static std::span<const GadgetRow<QuickSearchWindow>> Rows();
    void OnQueryChanged();
    void OnStart();

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDefault() override { OnStart(); }

  private:
    void Refill();
    void AddRows(size_t count);
    const SessionCatalogue& catalogue_;
    SearchIndex index_;
    std::vector<size_t> recent_;
    std::vector<size_t> rows_; // the session behind each row of the list
    size_t shownRows_ = 0;     // how many of them the list holds yet
    QuickSearchHost& host_;
};

} // namespace quarnel
