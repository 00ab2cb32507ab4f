// Window procedures of the form back end: they turn window messages into
// the model's user actions (Click, Change, Scroll, mouse and keys), and
// paint what the model owns (colours, shapes, picture boxes).
//
// A model handler may unload the form, which destroys these very windows:
// after calling into the model a procedure touches no window state unless
// the window still exists.
#include <windows.h>
#include <windowsx.h>

#include <map>

#include "win32/control_query.h"
#include "win32/win32_accessible.h"
#include "win32/win32_form_peer.h"
#include "win32/win32_forms.h"

namespace kv::win32 {

using ui::Control;
using ui::ControlKind;

const char kFormClass[] = "KvForm";
const char kPictureClass[] = "KvPicture";

namespace {

// Original procedures of the system classes we subclass, by class name.
std::map<std::string, WNDPROC>& OriginalProcs() {
    static std::map<std::string, WNDPROC> procs;
    return procs;
}

Control* ControlFromWindow(HWND w) {
    return reinterpret_cast<Control*>(GetWindowLongPtrA(w, GWLP_USERDATA));
}

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ui::kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ui::kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= ui::kAltMask;
    return shift;
}

int ButtonOf(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return ui::kLeftButton;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return ui::kRightButton;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return ui::kMiddleButton;
        default: return 0;
    }
}

int HeldButtons(WPARAM wParam) {
    int b = 0;
    if (wParam & MK_LBUTTON) b |= ui::kLeftButton;
    if (wParam & MK_RBUTTON) b |= ui::kRightButton;
    if (wParam & MK_MBUTTON) b |= ui::kMiddleButton;
    return b;
}

bool IsDown(UINT m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
           m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}
bool IsUp(UINT m) { return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP; }

// Mouse messages for a control: MouseDown/Move/Up in the control's units.
void RouteMouse(Win32FormPeer& peer, Control& c, UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT p = peer.EventPoint(&c, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const int shift = ShiftState();
    if (IsDown(msg)) c.UserMouseDown(ButtonOf(msg), shift, p.x, p.y);
    else if (IsUp(msg)) c.UserMouseUp(ButtonOf(msg), shift, p.x, p.y);
    else if (msg == WM_MOUSEMOVE) c.UserMouseMove(HeldButtons(wParam), shift, p.x, p.y);
}

// Mouse input over a window that hosts windowless controls (the form, a
// picture box) goes to the topmost one under the pointer, or to the one the
// button went down on until it comes up, as the classic runtime did. False
// when none takes it: the host handles it itself.
bool RouteWindowlessMouse(Win32FormPeer& peer, HWND hostWindow, const Control* host, UINT msg,
                          WPARAM wParam, LPARAM lParam) {
    if (!IsDown(msg) && !IsUp(msg) && msg != WM_MOUSEMOVE) return false;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    Control*& capture = peer.MouseCapture();
    Control* target = capture;
    if (target == nullptr) {
        if (IsUp(msg)) return false;
        target = peer.WindowlessAt(host, at);
        if (target == nullptr) return false;
    }
    const POINT origin = peer.ClientOrigin(*target);
    const LPARAM local =
        MAKELPARAM(static_cast<WORD>(at.x - origin.x), static_cast<WORD>(at.y - origin.y));
    if (IsDown(msg)) {
        capture = target;
        SetCapture(hostWindow);
    } else if (IsUp(msg)) {
        capture = nullptr;
        if (GetCapture() == hostWindow) ReleaseCapture();
    }
    // The handlers may unload the form: after each, only go on while the
    // host window is still there.
    RouteMouse(peer, *target, msg, wParam, local);
    if (!IsWindow(hostWindow)) return true;
    if (msg == WM_LBUTTONDBLCLK) target->UserDblClick();
    else if (msg == WM_LBUTTONUP) target->UserClick();
    return true;
}

bool SetFormCursor(HWND window) {
    Win32FormPeer* peer = PeerOfDescendant(window);
    if (peer == nullptr || !peer->Hourglass()) return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

// WM_HSCROLL from a scroll bar: small and large steps, thumb drags.
void OnHScroll(Control& c, HWND bar, WPARAM wParam) {
    const int dir = c.Min() > c.Max() ? -1 : 1;  // a reversed bar
    auto valueAt = [&](int pos) { return dir > 0 ? pos : c.Min() + c.Max() - pos; };
    switch (LOWORD(wParam)) {
        case SB_LINELEFT: c.UserLineScroll(-dir); break;
        case SB_LINERIGHT: c.UserLineScroll(dir); break;
        case SB_PAGELEFT: c.UserPageScroll(-dir); break;
        case SB_PAGERIGHT: c.UserPageScroll(dir); break;
        // Home and End: the bar's left end shows Min, its right end Max.
        case SB_LEFT: c.UserScrollToEnd(-1); break;
        case SB_RIGHT: c.UserScrollToEnd(1); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(bar, SB_CTL, &si);
            c.UserThumbTrack(valueAt(si.nTrackPos));
            if (LOWORD(wParam) == SB_THUMBPOSITION) c.UserThumbRelease();
            break;
        }
        case SB_ENDSCROLL: c.UserThumbRelease(); break;
        default: break;
    }
}

// Messages every container (form, frame, picture box) answers for its
// children. True when handled.
bool ContainerMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (msg) {
        case WM_COMMAND: {
            Win32FormPeer* peer = PeerOfDescendant(window);
            if (peer == nullptr) return false;
            HWND child = reinterpret_cast<HWND>(lParam);
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            Control* c = child != nullptr ? peer->ControlOf(child) : peer->ControlById(id);
            *result = 0;
            if (c == nullptr) {
                // Enter and Esc from the dialog manager.
                if (id == IDOK) peer->Model().PressDefault();
                else if (id == IDCANCEL) peer->Model().PressCancel();
                return true;
            }
            switch (c->Kind()) {
                case ControlKind::CommandButton:
                case ControlKind::CheckBox:
                case ControlKind::OptionButton:
                    if (code == BN_CLICKED) c->UserClick();
                    break;
                case ControlKind::ComboBox:
                    if (code == CBN_SELCHANGE) {
                        const int sel = static_cast<int>(SendMessageA(child, CB_GETCURSEL, 0, 0));
                        c->UserSelect(sel);
                        // A refused pick goes back to the model's selection.
                        if (IsWindow(child) && c->ListIndex() != sel)
                            SendMessageA(child, CB_SETCURSEL, static_cast<WPARAM>(c->ListIndex()), 0);
                    }
                    break;
                default: break;
            }
            return true;
        }
        case WM_HSCROLL: {
            Win32FormPeer* peer = PeerOfDescendant(window);
            HWND bar = reinterpret_cast<HWND>(lParam);
            Control* c = (peer != nullptr && bar != nullptr) ? peer->ControlOf(bar) : nullptr;
            if (c == nullptr) return false;
            OnHScroll(*c, bar, wParam);
            *result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR: {
            Win32FormPeer* peer = PeerOfDescendant(window);
            HWND child = reinterpret_cast<HWND>(lParam);
            Control* c = peer != nullptr ? peer->ControlOf(child) : nullptr;
            if (c == nullptr) return false;
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (msg == WM_CTLCOLORSCROLLBAR) {
                *result = reinterpret_cast<LRESULT>(peer->Brush(ToColorRef(c->BackColor())));
                return true;
            }
            SetTextColor(dc, ToColorRef(c->ForeColor()));
            const COLORREF back = ToColorRef(c->BackColor());
            SetBkColor(dc, back);
            *result = reinterpret_cast<LRESULT>(peer->Brush(back));
            return true;
        }
        case WM_SETCURSOR:
            if (SetFormCursor(window)) {
                *result = TRUE;
                return true;
            }
            return false;
        default: return false;
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Win32FormPeer* peer = PeerOf(hwnd);
    if (peer == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (ContainerMessage(hwnd, msg, wParam, lParam, &result)) return result;
    if (RouteWindowlessMouse(*peer, hwnd, nullptr, msg, wParam, lParam)) return 0;
    if (msg == DefaultActionMessage() && msg != 0) {
        PerformDefaultAction(*peer, wParam);
        return 0;
    }
    ui::Form& form = peer->Model();
    switch (msg) {
        case WM_GETOBJECT:
            if (AnswerGetObject(hwnd, nullptr, wParam, lParam, &result)) return result;
            break;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, peer->Brush(ToColorRef(form.BackColor())));
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            peer->PaintWindowless(dc, nullptr);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            // The client area into another DC (PrintWindow, a snapshot).
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (lParam & PRF_ERASEBKGND) {
                RECT r;
                GetClientRect(hwnd, &r);
                FillRect(dc, &r, peer->Brush(ToColorRef(form.BackColor())));
            }
            peer->PaintWindowless(dc, nullptr);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd) peer->MouseCapture() = nullptr;
            break;
        case WM_SIZE:
        case WM_MOVE:
            if (!peer->Creating()) peer->ReportGeometry();
            break;
        case WM_GETMINMAXINFO: {
            // Small windows (a one-button agent) keep the size they ask for;
            // a borderless maximised window covers the whole screen.
            auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
            mm->ptMinTrackSize = POINT{1, 1};
            if (form.BorderStyle() == ui::kBorderNone) {
                mm->ptMaxPosition = POINT{0, 0};
                mm->ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            }
            return 0;
        }
        case WM_ACTIVATE:
            peer->NoteActivation(LOWORD(wParam) != WA_INACTIVE);
            // The focus goes back to a control (the model's choice), not to
            // the form's own window as the default handling would put it.
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
                form.UserActivate();
                return 0;
            }
            break;
        case WM_CLOSE: form.UserClose(); return 0;
        case WM_COPYDATA: {
            const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (request == nullptr || request->dwData != kControlQuery) break;
            std::string name;
            if (request->lpData != nullptr)
                name.assign(static_cast<const char*>(request->lpData), request->cbData);
            return peer->AnswerQuery(name, reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
        }
        case WM_GETDLGCODE:
            // A form that handles keys itself gets them from the dialog manager.
            if (form.OnKeyDown) return DLGC_WANTALLKEYS;
            break;
        case WM_KEYDOWN: form.UserKeyDown(static_cast<int>(wParam), ShiftState()); return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            POINT p = peer->EventPoint(nullptr, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            form.UserMouseDown(ButtonOf(msg), ShiftState(), p.x, p.y);
            return 0;
        }
        case DM_GETDEFID:
            for (auto& c : form.Controls())
                if (c->Kind() == ControlKind::CommandButton && c->Default())
                    if (HWND w = peer->WindowOf(*c))
                        return MAKELRESULT(GetDlgCtrlID(w), DC_HASDEFID);
            return 0;
        default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Picture boxes.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Control* c = ControlFromWindow(hwnd);
    Win32FormPeer* peer = c != nullptr ? PeerOfDescendant(hwnd) : nullptr;
    if (peer == nullptr || peer->WindowOf(*c) != hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (ContainerMessage(hwnd, msg, wParam, lParam, &result)) return result;
    if (RouteWindowlessMouse(*peer, hwnd, c, msg, wParam, lParam)) return 0;
    switch (msg) {
        case WM_GETOBJECT:
            if (AnswerGetObject(peer->Window(), c, wParam, lParam, &result)) return result;
            break;
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            peer->PaintPictureBox(*c, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: peer->PaintPictureBox(*c, reinterpret_cast<HDC>(wParam)); return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd) peer->MouseCapture() = nullptr;
            break;
        case WM_GETDLGCODE:
            // A picture box takes every key (Esc included) when it has the focus.
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN: c->UserKeyDown(static_cast<int>(wParam), ShiftState()); return 0;
        case WM_KEYUP: c->UserKeyUp(static_cast<int>(wParam), ShiftState()); return 0;
        case WM_SETFOCUS:
            peer->Model().PeerFocus(c);
            NotifyAccessibleEvent(EVENT_OBJECT_FOCUS, peer->Window(), c);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Only a picture that handles keys takes the focus from a click.
            if (c->CanFocus()) c->SetFocus();
            if (!IsWindow(hwnd)) return 0;
            SetCapture(hwnd);
            RouteMouse(*peer, *c, msg, wParam, lParam);
            return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            RouteMouse(*peer, *c, msg, wParam, lParam);
            if (msg == WM_LBUTTONDBLCLK && IsWindow(hwnd)) c->UserDblClick();
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (GetCapture() == hwnd) ReleaseCapture();
            RouteMouse(*peer, *c, msg, wParam, lParam);
            if (msg == WM_LBUTTONUP && IsWindow(hwnd)) c->UserClick();
            return 0;
        }
        case WM_MOUSEMOVE: RouteMouse(*peer, *c, msg, wParam, lParam); return 0;
        default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Subclass of the system controls: mouse and key events.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    WNDPROC original = OriginalProcs()[cls];
    Win32FormPeer* peer = PeerOfDescendant(hwnd);
    Control* c = peer != nullptr ? peer->ControlOf(hwnd) : nullptr;
    if (c == nullptr) return CallWindowProcA(original, hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK:
            RouteMouse(*peer, *c, msg, wParam, lParam);
            if (!IsWindow(hwnd)) return 0;  // the handler closed the form
            break;
        case WM_KEYDOWN:
            c->UserKeyDown(static_cast<int>(wParam), ShiftState());
            if (!IsWindow(hwnd)) return 0;
            break;
        case WM_KEYUP:
            c->UserKeyUp(static_cast<int>(wParam), ShiftState());
            if (!IsWindow(hwnd)) return 0;
            break;
        case WM_SETFOCUS:
            peer->Model().PeerFocus(c);
            if (!IsWindow(hwnd)) return 0;
            NotifyAccessibleEvent(EVENT_OBJECT_FOCUS, peer->Window(), c);
            break;
        case WM_GETOBJECT: {
            LRESULT result = 0;
            if (AnswerGetObject(peer->Window(), c, wParam, lParam, &result)) return result;
            break;
        }
        default: break;
    }
    return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

}  // namespace

bool RouteFormKeys(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    if (msg.hwnd == nullptr) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    Win32FormPeer* peer = PeerOf(root);
    if (peer == nullptr) return false;
    ui::Form& form = peer->Model();
    Control* focus = nullptr;
    for (HWND w = msg.hwnd; w != nullptr && w != root && focus == nullptr; w = GetParent(w))
        focus = peer->ControlOf(w);
    if (focus != nullptr || msg.hwnd == root) form.PeerFocus(focus);

    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        const int key = static_cast<int>(msg.wParam);
        // An open drop-down list closes on Enter and Esc itself.
        if (focus != nullptr && focus->Kind() == ControlKind::ComboBox &&
            (key == VK_RETURN || key == VK_ESCAPE))
            if (HWND combo = peer->WindowOf(*focus))
                if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
        return form.UserNavigationKey(key, ShiftState());
    }
    return form.UserAccessKey(static_cast<char>(msg.wParam), msg.message == WM_SYSCHAR);
}

Win32FormPeer* PeerOf(HWND formWindow) {
    if (formWindow == nullptr) return nullptr;
    char cls[16] = {};
    GetClassNameA(formWindow, cls, sizeof cls);
    if (lstrcmpA(cls, kFormClass) != 0) return nullptr;
    return reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrA(formWindow, GWLP_USERDATA));
}

Win32FormPeer* PeerOfDescendant(HWND window) {
    return PeerOf(GetAncestor(window, GA_ROOT));
}

void SubclassControl(HWND window) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
    OriginalProcs().emplace(cls, old);  // the same for every window of the class
}

void RegisterFormClasses(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kClassIconResource));
    if (wc.hIcon == nullptr) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    // The caption shows the large icon made small, as the forms always have.
    wc.hIconSm = wc.hIcon;
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);

    wc.lpfnWndProc = PictureProc;
    wc.hIcon = wc.hIconSm = nullptr;
    wc.lpszClassName = kPictureClass;
    RegisterClassExA(&wc);
}

}  // namespace kv::win32
