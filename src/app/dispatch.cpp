#include "app/dispatch.h"

namespace quarnel {

void Dispatcher::Claim(int number, int window) {
    const auto [owner, fresh] = owners_.emplace(number, window);
    if (!fresh && owner->second != window) {
        throw std::logic_error("gadget " + std::to_string(number) + " belongs to two windows");
    }
}

void Dispatcher::AddMenuItem(int item, std::function<void()> action) {
    menuItems_[item] = std::move(action);
}

void Dispatcher::AddSessionItems(int first, std::function<void(int)> action) {
    firstSessionItem_ = first;
    sessionItems_ = std::move(action);
}

bool Dispatcher::Dispatch(const Event& event) const {
    if (event.kind == EventKind::Gadget) {
        const auto routes = gadgets_.find(event.number);
        if (routes == gadgets_.end()) {
            return false;
        }
        for (const Route& route : routes->second) {
            if (route.window == event.window && route.action == event.action) {
                route.call();
                return true;
            }
        }
        return false;
    }
    if (event.kind != EventKind::Menu) {
        return false;
    }
    if (const auto item = menuItems_.find(event.number); item != menuItems_.end()) {
        item->second();
        return true;
    }
    if (sessionItems_ && event.number >= firstSessionItem_) {
        sessionItems_(event.number);
        return true;
    }
    return false;
}

} // namespace quarnel
