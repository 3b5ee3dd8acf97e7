// The program's one dispatch table: every gadget number to its window and handler, every
// menu item number to its action. Built at start-up from the windows' gadget tables and
// the menu items, so a new control or item is one row and nothing else.
#pragma once

#include "win/events.h"
#include "win/window.h"

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quarnel {

class Dispatcher {
  public:
    // The rows of one window; `target` gives the open window or null. A gadget number
    // that another window uses already is refused: numbers are unique across windows.
    template <class W>
    void AddGadgets(int window, std::span<const GadgetRow<W>> rows, std::function<W*()> target) {
        for (const GadgetRow<W>& row : rows) {
            Claim(row.layout.number, window);
            const std::pair<int, void (W::*)()> acts[] = {{row.action, row.handler},
                                                          {row.secondAction, row.secondHandler}};
            for (const auto& [action, handler] : acts) {
                if (handler != nullptr) {
                    gadgets_[row.layout.number].push_back({window, action, [target, h = handler] {
                                                               if (W* w = target()) {
                                                                   (w->*h)();
                                                               }
                                                           }});
                }
            }
        }
    }
    void AddMenuItem(int item, std::function<void()> action);
    // Items from `first` on are session items; the action gets the item number.
    void AddSessionItems(int first, std::function<void(int)> action);

    // Routes a gadget or menu event; true when a handler ran.
    bool Dispatch(const Event& event) const;

  private:
    struct Route {
        int window;
        int action;
        std::function<void()> call;
    };
    void Claim(int number, int window);
    std::unordered_map<int, int> owners_; // gadget number to window number
    std::unordered_map<int, std::vector<Route>> gadgets_;
    std::unordered_map<int, std::function<void()>> menuItems_;
    int firstSessionItem_ = 0;
    std::function<void(int)> sessionItems_;
};

} // namespace quarnel
