#include "win/window.h"

#include "win/text.h"

namespace quarnel {

namespace {

bool IsPushButton(HWND control) {
    return control != nullptr && (SendMessageW(control, WM_GETDLGCODE, 0, 0) &
                                  (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool TakesFocus(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    return (style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

} // namespace

TopWindow::~TopWindow() {
    if (window_ != nullptr) {
        // The object is going: the window must not call back into it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        env_.toolTips->RemoveAll(window_);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

void TopWindow::Close() {
    if (window_ == nullptr) {
        return;
    }
    // Closed in front, it hands the activation back to the window it was opened from, as a
    // dialog does; the system would pick the next window in Z order, which may be another
    // program's (the task bar, say), and the user would have to click back.
    if (GetActiveWindow() == window_ && opener_ != window_ && IsWindowVisible(opener_) &&
        IsWindowEnabled(opener_)) {
        SetForegroundWindow(opener_);
    }
    DestroyWindow(window_);
}

void TopWindow::BringToFront() const {
    if (window_ != nullptr) {
        SetForegroundWindow(window_);
    }
}

bool TopWindow::TranslateDialogKeys(MSG& message) {
    const HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top == nullptr ||
        GetClassLongPtrW(top, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Procedure)) {
        return false;
    }
    return IsDialogMessageW(top, &message) != FALSE;
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
    opener_ = GetForegroundWindow();
    return CreateWindowExW(exStyle, className, Widen(title).c_str(), style, placement.corner.x,
                           placement.corner.y, placement.outer.cx, placement.outer.cy, owner,
                           nullptr, env_.instance, this) != nullptr;
}

void TopWindow::CreateGadgets(std::vector<GadgetSpec> gadgets) {
    // Made in the order the eye reads them, which is the order Tab walks.
    for (const size_t i : ScreenOrder(gadgets)) {
        gadgets_.push_back(gadgets[i]);
    }
    for (const GadgetSpec& layout : gadgets_) {
        CreateGadget(window_, layout, *env_.fonts, env_.instance);
    }
}

void TopWindow::AddToolTips() {
    for (const GadgetSpec& layout : gadgets_) {
        const HWND control = GetDlgItem(window_, layout.number);
        if (control != nullptr && layout.toolTip != nullptr) {
            env_.toolTips->Add(control, layout.toolTip);
        }
    }
}

void TopWindow::ShowCentred(int clientWidth, int clientHeight) {
    const SIZE outer = OuterSizeForClient(static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)),
                                          static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)),
                                          clientWidth, clientHeight, WindowDpi(window_));
    const POINT corner = CentredOnScreen(outer);
    SetWindowPos(window_, nullptr, corner.x, corner.y, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOWNORMAL);
}

void TopWindow::FocusFirstControl() const {
    for (HWND control = GetWindow(window_, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if (TakesFocus(control)) {
            SetFocus(control);
            return;
        }
    }
}

LRESULT TopWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (QuietChanges::Active()) {
        return 0;
    }
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    const auto from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && OnGadget(id, code)) {
        return 0;
    }
    // The dialog keys: Esc comes as IDCANCEL; Return as IDOK when no focused push
    // button took it (DM_GETDEFID below names the focused one).
    if (code == BN_CLICKED && (id == IDCANCEL || id == IDOK) && !IsPushButton(from)) {
        if (id == IDCANCEL) {
            OnCancel();
        } else {
            OnDefault();
        }
        return 0;
    }
    if (from == nullptr) {
        OnMenu(id);
    }
    return 0;
}

LRESULT TopWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case DM_GETDEFID: {
        // Return presses the push button that has the focus, as in a dialog.
        const HWND focus = GetFocus();
        if (IsPushButton(focus) && IsChild(window_, focus)) {
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window_, focus)) {
                lastFocus_ = focus;
            }
        } else if (lastFocus_ != nullptr && IsChild(window_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DESTROY:
        env_.toolTips->RemoveAll(window_);
        break;
    case WM_DPICHANGED:
        FollowDpiChange(window_, wParam, lParam, gadgets_, *env_.fonts);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
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
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->lastFocus_ = nullptr;
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        // Last: the owner may take the object away once the running handler returns.
        if (self->env_.owner != nullptr) {
            self->env_.owner->WindowGone(*self);
        }
        return result;
    }
    return self->OnMessage(message, wParam, lParam);
}

} // namespace quarnel
