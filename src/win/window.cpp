#include "win/window.h"

#include "win/text.h"

namespace quarnel {

TopWindow::~TopWindow() {
    if (window_ != nullptr) {
        // The object is going: the window must not call back into it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        env_.toolTips->RemoveAll(window_);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

bool TopWindow::Open(const wchar_t* className, const std::string& title, DWORD style, DWORD exStyle,
                     WindowPlacement placement, HWND owner) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = env_.instance;
    wc.hIcon = env_.icon;
    wc.hIconSm = env_.smallIcon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc); // fails harmlessly when the class is registered already
    return CreateWindowExW(exStyle, className, Widen(title).c_str(), style, placement.corner.x,
                           placement.corner.y, placement.outer.cx, placement.outer.cy, owner,
                           nullptr, env_.instance, this) != nullptr;
}

void TopWindow::CreateGadgets(std::vector<GadgetSpec> gadgets) {
    gadgets_ = std::move(gadgets);
    for (const GadgetSpec& layout : gadgets_) {
        const HWND control = CreateGadget(window_, layout, *env_.fonts, env_.instance);
        if (control != nullptr && layout.toolTip != nullptr) {
            env_.toolTips->Add(control, layout.toolTip);
        }
    }
}

void TopWindow::Raise(const Event& event) const {
    if (env_.events != nullptr) {
        env_.events->OnEvent(event);
    }
}

LRESULT TopWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        if (QuietChanges::Active()) {
            return 0;
        }
        Event event;
        event.window = number_;
        event.number = LOWORD(wParam);
        event.action = HIWORD(wParam);
        // Without a control it is a menu item or the Return shortcut.
        event.kind = lParam != 0 ? EventKind::Gadget : EventKind::Menu;
        Raise(event);
        return 0;
    }
    case WM_CLOSE: {
        Event event;
        event.kind = EventKind::Close;
        event.window = number_;
        Raise(event);
        return 0;
    }
    case WM_DPICHANGED:
        FollowDpiChange(window_, wParam, lParam, gadgets_, *env_.fonts);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK TopWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TopWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // Destroyed by the system rather than by the object (the program ending).
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

} // namespace quarnel
