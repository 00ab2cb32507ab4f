// Creating the windows of a form and applying the model's property changes
// to them.
#include "win32/win32_form_peer.h"

#include <algorithm>
#include <cmath>

#include "ui/accessibility.h"
#include "win32/control_query.h"
#include "win32/win32_accessible.h"
#include "win32/win32_forms.h"

namespace kv::win32 {

using ui::Control;
using ui::ControlKind;
using ui::Prop;

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

bool IsWindowless(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Image ||
           kind == ControlKind::Shape || kind == ControlKind::Frame;
}

bool Win32FormPeer::Windowless(const Control& c) const {
    return IsWindowless(c.Kind()) || passiveBoxes_.count(&c) != 0;
}

POINT Win32FormPeer::ClientOrigin(const Control& c) const {
    const RECT r = HostRect(c);
    POINT origin{r.left, r.top};
    if (c.Kind() == ControlKind::PictureBox && c.BorderStyle() == 1) {
        origin.x += GetSystemMetrics(SM_CXEDGE);
        origin.y += GetSystemMetrics(SM_CYEDGE);
    }
    return origin;
}

Win32FormPeer::Win32FormPeer(Win32FormPlatform& platform, ui::Form& form)
    : platform_(platform), form_(form) {
    CreateForm();
    ReportGeometry();  // docked controls take their places before they are created
    creating_ = false;
}

Win32FormPeer::~Win32FormPeer() {
    if (hwnd_ != nullptr) {
        // Detach first: messages sent while the windows go find no peer.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        RemoveDesignName(hwnd_);
        DestroyWindow(hwnd_);
        // Wake the thread's message loop: a form unloaded inside a message
        // sent by another program leaves nothing in the queue, and the loop
        // would sleep on after its last form is gone.
        PostMessageA(nullptr, WM_NULL, 0, 0);
    }
    for (auto& [control, canvas] : canvases_) DeleteObject(canvas.bitmap);
    for (auto& [color, brush] : brushes_) DeleteObject(brush);
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

// ---- units -----------------------------------------------------------------------

int Win32FormPeer::ToPixelsX(int twips) const {
    return Round(static_cast<double>(twips) / platform_.TwipsPerPixelX());
}
int Win32FormPeer::ToPixelsY(int twips) const {
    return Round(static_cast<double>(twips) / platform_.TwipsPerPixelY());
}
int Win32FormPeer::ToTwipsX(int pixels) const { return pixels * platform_.TwipsPerPixelX(); }
int Win32FormPeer::ToTwipsY(int pixels) const { return pixels * platform_.TwipsPerPixelY(); }

RECT Win32FormPeer::HostRect(const Control& c) const {
    RECT r = PixelRect(c);
    if (const Control* k = c.Container(); k != nullptr && Windowless(*k)) {
        const POINT origin = ClientOrigin(*k);
        OffsetRect(&r, origin.x, origin.y);
    }
    return r;
}

const Control* Win32FormPeer::WindowedContainer(const Control& c) const {
    const Control* k = c.Container();
    while (k != nullptr && Windowless(*k)) k = k->Container();
    return k;
}

HWND Win32FormPeer::HostOf(const Control& c) const {
    const Control* host = WindowedContainer(c);
    return host != nullptr ? WindowOf(*host) : hwnd_;
}

Control* Win32FormPeer::WindowlessAt(const Control* level, POINT at) const {
    for (auto& p : form_.Controls()) {
        Control& c = *p;
        // Shapes take no input; a disabled or hidden control, or one in a
        // disabled frame, lets it through to its host.
        if (c.Container() != level || !Windowless(c) || c.Kind() == ControlKind::Shape ||
            !c.Visible() || !c.Enabled())
            continue;
        if (c.Kind() == ControlKind::Frame || c.Kind() == ControlKind::PictureBox)
            if (Control* inside = WindowlessAt(&c, at)) return inside;
        const RECT r = HostRect(c);
        if (PtInRect(&r, at)) return &c;
    }
    return nullptr;
}

bool Win32FormPeer::EffectiveVisible(const Control& c) const {
    for (const Control* k = &c; k != nullptr; k = k->Container())
        if (!k->Visible()) return false;
    return true;
}

bool Win32FormPeer::EffectiveEnabled(const Control& c) const {
    for (const Control* k = &c; k != nullptr; k = k->Container())
        if (!k->Enabled()) return false;
    return true;
}

RECT Win32FormPeer::PixelRect(const Control& c) const {
    const int ux = c.ContainerUnitTwips(true);
    const int uy = c.ContainerUnitTwips(false);
    RECT r;
    r.left = ToPixelsX(c.Left() * ux);
    r.top = ToPixelsY(c.Top() * uy);
    r.right = r.left + ToPixelsX(c.Width() * ux);
    r.bottom = r.top + ToPixelsY(c.Height() * uy);
    return r;
}

POINT Win32FormPeer::EventPoint(const Control* c, int xPx, int yPx) const {
    int ux = 1, uy = 1;
    if (c != nullptr) {
        const bool own = c->Kind() == ControlKind::PictureBox;
        ux = own ? c->ScaleUnitTwips(true) : c->ContainerUnitTwips(true);
        uy = own ? c->ScaleUnitTwips(false) : c->ContainerUnitTwips(false);
    }
    return POINT{ToTwipsX(xPx) / ux, ToTwipsY(yPx) / uy};
}

// ---- the form window ----------------------------------------------------------------

DWORD Win32FormPeer::FormStyle() const {
    DWORD style = WS_CLIPCHILDREN;
    switch (form_.BorderStyle()) {
        case ui::kBorderNone: style |= WS_POPUP; break;
        case ui::kBorderFixedSingle: style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
        case ui::kBorderFixedDialog:
        case ui::kBorderFixedToolWindow: style |= WS_CAPTION | WS_SYSMENU; break;
        default: style |= WS_OVERLAPPEDWINDOW; break;
    }
    return style;
}

DWORD Win32FormPeer::FormExStyle() const {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (form_.BorderStyle() == ui::kBorderFixedDialog) ex |= WS_EX_DLGMODALFRAME;
    if (form_.BorderStyle() == ui::kBorderFixedToolWindow) ex |= WS_EX_TOOLWINDOW;
    if (form_.TopMost()) ex |= WS_EX_TOPMOST;
    return ex;
}

void Win32FormPeer::CreateForm() {
    const DWORD style = FormStyle();
    const DWORD ex = FormExStyle();
    RECT r{0, 0, ToPixelsX(form_.ScaleWidth()), ToPixelsY(form_.ScaleHeight())};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    hwnd_ = CreateWindowExA(ex, kFormClass, form_.Caption().c_str(), style, ToPixelsX(form_.Left()),
                            ToPixelsY(form_.Top()), r.right - r.left, r.bottom - r.top, nullptr,
                            nullptr, platform_.Instance(), this);
    if (hwnd_ == nullptr) return;
    SetDesignName(hwnd_, form_.Name());
    // The form class already shows the program's icon (resource 1).
    if (form_.IconResource() != 0 && form_.IconResource() != kClassIconResource) {
        HANDLE icon = LoadImageA(platform_.Instance(), MAKEINTRESOURCEA(form_.IconResource()),
                                 IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        if (icon != nullptr) {
            SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
    }
    if (!form_.Enabled()) EnableWindow(hwnd_, FALSE);
    // Most forms keep the system menu as it comes: copying it costs.
    if (!form_.Closable()) ApplyClosable();
}

void Win32FormPeer::ApplyClosable() {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (menu != nullptr)
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (form_.Closable() ? MF_ENABLED : MF_GRAYED));
}

void Win32FormPeer::ReportGeometry() {
    if (hwnd_ == nullptr || IsIconic(hwnd_)) return;
    RECT outer, client;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    form_.PeerGeometry(ToTwipsX(outer.left), ToTwipsY(outer.top), ToTwipsX(outer.right - outer.left),
                       ToTwipsY(outer.bottom - outer.top), ToTwipsX(client.right),
                       ToTwipsY(client.bottom));
}

int Win32FormPeer::FrameWidthTwips() {
    RECT r{0, 0, 200, 200};
    AdjustWindowRectEx(&r, FormStyle(), FALSE, FormExStyle());
    return ToTwipsX(r.right - r.left - 200);
}

int Win32FormPeer::FrameHeightTwips() {
    RECT r{0, 0, 200, 200};
    AdjustWindowRectEx(&r, FormStyle(), FALSE, FormExStyle());
    return ToTwipsY(r.bottom - r.top - 200);
}

void Win32FormPeer::ApplyForm(Prop what) {
    switch (what) {
        case Prop::Caption: SetWindowTextA(hwnd_, form_.Caption().c_str()); break;
        case Prop::Geometry:
            if (!IsZoomed(hwnd_) && !IsIconic(hwnd_))
                SetWindowPos(hwnd_, nullptr, ToPixelsX(form_.Left()), ToPixelsY(form_.Top()),
                             ToPixelsX(form_.Width()), ToPixelsY(form_.Height()),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case Prop::Visible:
            if (form_.Visible()) {
                if (!shown_) CreateShownWindows();
                const int state = form_.WindowState();
                const bool activate = form_.ActivateOnShow();
                ShowWindow(hwnd_, state == ui::kWindowMaximized   ? SW_SHOWMAXIMIZED
                                  : state == ui::kWindowMinimized ? SW_SHOWMINIMIZED
                                  : activate                      ? SW_SHOW
                                                                  : SW_SHOWNA);
                ReportGeometry();
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case Prop::Enabled: EnableWindow(hwnd_, form_.Enabled()); break;
        case Prop::BackColor:
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case Prop::MousePointer: UpdateCursor(); break;
        case Prop::WindowState:
            if (form_.Visible()) {
                const int state = form_.WindowState();
                ShowWindow(hwnd_, state == ui::kWindowMaximized   ? SW_MAXIMIZE
                                  : state == ui::kWindowMinimized ? SW_MINIMIZE
                                                                  : SW_RESTORE);
                ReportGeometry();
            }
            break;
        case Prop::Style: {
            const DWORD style = FormStyle() | (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE);
            const DWORD ex = FormExStyle();
            const DWORD oldEx = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
            if ((oldEx & WS_EX_TOPMOST) != (ex & WS_EX_TOPMOST))
                SetWindowPos(hwnd_, form_.TopMost() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)) != style ||
                (oldEx & ~WS_EX_TOPMOST) != (ex & ~WS_EX_TOPMOST)) {
                // A new border keeps the client area.
                SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
                SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, (ex & ~WS_EX_TOPMOST) | (oldEx & WS_EX_TOPMOST));
                RECT r{0, 0, ToPixelsX(form_.ScaleWidth()), ToPixelsY(form_.ScaleHeight())};
                AdjustWindowRectEx(&r, style, FALSE, ex);
                SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            }
            ApplyClosable();
            break;
        }
        default: break;
    }
}

// ---- controls ------------------------------------------------------------------------

HWND Win32FormPeer::WindowOf(const Control& control) const {
    auto it = windows_.find(&control);
    return it == windows_.end() ? nullptr : it->second;
}

Control* Win32FormPeer::ControlOf(HWND window) const {
    auto it = controlsByWindow_.find(window);
    return it == controlsByWindow_.end() ? nullptr : it->second;
}

Control* Win32FormPeer::ControlById(int id) const {
    const auto& controls = form_.Controls();
    const int i = id - kFirstControlId;
    if (i < 0 || i >= static_cast<int>(controls.size())) return nullptr;
    return controls[static_cast<size_t>(i)].get();
}

Control* Win32FormPeer::ControlNamed(const std::string& designName) const {
    for (auto& c : form_.Controls())
        if (c->DesignName() == designName) return c.get();
    return nullptr;
}

std::intptr_t Win32FormPeer::ControlHandle(Control& control) {
    // The program wants the window itself.
    if (passiveBoxes_.count(&control) != 0) GiveWindow(control);
    return reinterpret_cast<std::intptr_t>(EnsureWindow(control));
}

void Win32FormPeer::ControlAdded(Control& control) {
    if (!shown_) return;
    if (Windowless(control)) InvalidateWindowless(control);
    else if (EffectiveVisible(control)) CreateControl(control);
}

HWND Win32FormPeer::EnsureWindow(Control& c) {
    if (Windowless(c)) return nullptr;
    CreateControl(c);
    return WindowOf(c);
}

void Win32FormPeer::CreateShownWindows() {
    shown_ = true;
    // A picture box that takes no keys and no mouse and holds no control
    // with a window is drawn by its host like a frame, until something
    // draws on it. Contents come after their container, so going backwards
    // settles the inner boxes first.
    const auto& controls = form_.Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const Control& box = **it;
        if (box.Kind() != ControlKind::PictureBox || windows_.count(&box) != 0 || box.KeyDown ||
            box.KeyUp || box.MouseDown || box.MouseMove || box.MouseUp || box.Click || box.DblClick)
            continue;
        bool holdsWindow = false;
        for (auto& d : controls)
            for (const Control* k = d->Container(); k != nullptr && !holdsWindow; k = k->Container())
                holdsWindow = k == &box && !IsWindowless(d->Kind()) && passiveBoxes_.count(d.get()) == 0;
        if (!holdsWindow) passiveBoxes_.insert(&box);
    }
    // Made in the design's order, the windows lie in it without being moved.
    inDesignOrder_ = true;
    for (auto& c : controls) {
        if (Windowless(*c)) drawnAt_[c.get()] = EffectiveVisible(*c) ? HostRect(*c) : RECT{};
        else if (EffectiveVisible(*c)) CreateControl(*c);
    }
    inDesignOrder_ = false;
}

void Win32FormPeer::GiveWindow(Control& box) {
    InvalidateWindowless(box);  // its host no longer draws it
    drawnAt_.erase(&box);
    passiveBoxes_.erase(&box);
    CreateControl(box);
    // What it holds is drawn by its own window from now on.
    for (auto& d : form_.Controls())
        if (Windowless(*d) && WindowedContainer(*d) == &box)
            drawnAt_[d.get()] = EffectiveVisible(*d) ? HostRect(*d) : RECT{};
}

void Win32FormPeer::CreateControl(Control& c) {
    if (windows_.count(&c) != 0 || Windowless(c)) return;
    HWND parent = hwnd_;
    if (const Control* host = WindowedContainer(c)) {
        CreateControl(*const_cast<Control*>(host));
        if (HWND w = WindowOf(*host)) parent = w;
    }
    const char* cls = "BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::string text = c.Caption();
    switch (c.Kind()) {
        case ControlKind::CommandButton:
            style |= WS_TABSTOP | (c.ShowsDefaultBorder() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::CheckBox: style |= WS_TABSTOP | BS_CHECKBOX; break;
        case ControlKind::OptionButton: style |= WS_TABSTOP | BS_RADIOBUTTON; break;
        case ControlKind::HScrollBar:
            cls = "SCROLLBAR";
            style |= WS_TABSTOP | SBS_HORZ;
            text.clear();
            break;
        case ControlKind::ComboBox:
            cls = "COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            text.clear();
            break;
        case ControlKind::PictureBox:
            cls = kPictureClass;
            style |= WS_CLIPCHILDREN | WS_TABSTOP;
            ex |= WS_EX_CONTROLPARENT;
            if (c.BorderStyle() == 1) ex |= WS_EX_CLIENTEDGE;
            text.clear();
            break;
        default: return;  // windowless
    }
    if (EffectiveVisible(c)) style |= WS_VISIBLE;
    if (!EffectiveEnabled(c)) style |= WS_DISABLED;
    const auto& controls = form_.Controls();
    const auto at = std::find_if(controls.begin(), controls.end(),
                                 [&](auto& p) { return p.get() == &c; });
    const int id = kFirstControlId + static_cast<int>(at - controls.begin());
    RECT r = HostRect(c);
    int height = r.bottom - r.top;
    if (c.Kind() == ControlKind::ComboBox) height += 200;  // room for the drop-down list
    HWND w = CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, height,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             platform_.Instance(), &c);
    if (w == nullptr) return;
    windows_[&c] = w;
    controlsByWindow_[w] = &c;
    if (c.Kind() != ControlKind::PictureBox) {
        SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.GetFont())), FALSE);
        SubclassControl(w);
    }
    switch (c.Kind()) {
        case ControlKind::HScrollBar: ApplyScrollRange(c, w); break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            if (c.Value() != 0) SendMessageA(w, BM_SETCHECK, c.Value(), 0);
            break;
        case ControlKind::ComboBox: FillCombo(c, w); break;
        case ControlKind::CommandButton:
            if (c.GetPicture()) ApplyButtonPicture(c, w);
            break;
        default: break;
    }
    // A window made after the form was shown keeps the order of the design,
    // in which an earlier control lies on top: right below the last earlier
    // control of the same host that has a window, or on top of them all.
    if (shown_ && !inDesignOrder_) {
        HWND above = HWND_TOP;
        for (auto before = controls.begin(); before != at; ++before) {
            HWND other = WindowOf(**before);
            if (other != nullptr && GetParent(other) == parent) above = other;
        }
        SetWindowPos(w, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32FormPeer::Changed(Control* control, Prop what) {
    if (hwnd_ == nullptr) return;
    if (control == nullptr) {
        ApplyForm(what);
        return;
    }
    if (!shown_) return;  // the windows take the model's state when they are made
    ApplyChange(control, what);
    if (IsWindow(hwnd_)) Announce(*control, what);
}

void Win32FormPeer::Announce(const Control& control, Prop what) {
    // What screen readers and automation tools listen for.
    switch (what) {
        case Prop::Caption:
            NotifyAccessibleEvent(control.Kind() == ControlKind::ComboBox ? EVENT_OBJECT_VALUECHANGE
                                                                           : EVENT_OBJECT_NAMECHANGE,
                                  hwnd_, &control);
            // A label's or frame's caption may name a bar or a list too.
            for (auto& d : form_.Controls())
                if (ui::NamedBy(*d) == &control) NotifyAccessibleEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, d.get());
            break;
        case Prop::Value:
            NotifyAccessibleEvent(control.Kind() == ControlKind::HScrollBar ? EVENT_OBJECT_VALUECHANGE
                                                                             : EVENT_OBJECT_STATECHANGE,
                                  hwnd_, &control);
            break;
        case Prop::ListIndex: NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, hwnd_, &control); break;
        case Prop::Style:
            if (control.Kind() == ControlKind::CommandButton)
                NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE, hwnd_, &control);  // default border
            break;
        case Prop::Enabled:
        case Prop::Visible: {
            const DWORD event = what == Prop::Enabled ? EVENT_OBJECT_STATECHANGE
                                : ui::ShownInForm(control) ? EVENT_OBJECT_SHOW
                                                           : EVENT_OBJECT_HIDE;
            NotifyAccessibleEvent(event, hwnd_, &control);
            // Everything a container holds changes with it.
            for (auto& d : form_.Controls())
                for (const Control* k = d->Container(); k != nullptr; k = k->Container())
                    if (k == &control) {
                        NotifyAccessibleEvent(event, hwnd_, d.get());
                        break;
                    }
            break;
        }
        default: break;
    }
}

void Win32FormPeer::ApplyChange(Control* control, Prop what) {
    if (Windowless(*control)) {
        InvalidateWindowless(*control);
        if ((control->Kind() == ControlKind::Frame || control->Kind() == ControlKind::PictureBox) &&
            (what == Prop::Visible || what == Prop::Enabled || what == Prop::Geometry ||
             what == Prop::Style))
            ApplyToDescendants(*control, what);
        return;
    }
    HWND w = WindowOf(*control);
    if (w == nullptr) {
        if (what == Prop::Visible && EffectiveVisible(*control)) CreateControl(*control);
        if (control->Kind() == ControlKind::PictureBox && what == Prop::Visible)
            ApplyToDescendants(*control, what);
        return;
    }
    ApplyControl(*control, what, w);
    if (control->Kind() == ControlKind::PictureBox && (what == Prop::Visible || what == Prop::Enabled))
        ApplyToDescendants(*control, what);
}

void Win32FormPeer::ApplyToDescendants(Control& container, Prop what) {
    for (auto& p : form_.Controls()) {
        Control& d = *p;
        bool inside = false;
        for (const Control* k = d.Container(); k != nullptr && !inside; k = k->Container())
            inside = k == &container;
        if (!inside) continue;
        if (Windowless(d)) {
            InvalidateWindowless(d);
            continue;
        }
        HWND w = WindowOf(d);
        if (w == nullptr) {
            if (what == Prop::Visible && EffectiveVisible(d)) CreateControl(d);
            continue;
        }
        switch (what) {
            case Prop::Visible: ShowWindow(w, EffectiveVisible(d) ? SW_SHOWNA : SW_HIDE); break;
            case Prop::Enabled: EnableWindow(w, EffectiveEnabled(d)); break;
            case Prop::Geometry:
            case Prop::Style: ApplyControl(d, Prop::Geometry, w); break;
            default: break;
        }
    }
}

void Win32FormPeer::InvalidateWindowless(const Control& c) {
    HWND host = HostOf(c);
    if (!shown_ || host == nullptr) return;
    const RECT now = EffectiveVisible(c) ? HostRect(c) : RECT{};
    RECT& before = drawnAt_[&c];
    if (!IsRectEmpty(&before)) InvalidateRect(host, &before, TRUE);
    if (!IsRectEmpty(&now) && !EqualRect(&now, &before)) InvalidateRect(host, &now, TRUE);
    before = now;
}

void Win32FormPeer::ApplyControl(Control& c, Prop what, HWND w) {
    switch (what) {
        case Prop::Caption:
            if (c.Kind() == ControlKind::ComboBox) break;
            SetWindowTextA(w, c.Caption().c_str());
            break;
        case Prop::Value:
            if (c.Kind() == ControlKind::HScrollBar) ApplyScrollRange(c, w);
            else if (c.Kind() == ControlKind::CheckBox || c.Kind() == ControlKind::OptionButton)
                SendMessageA(w, BM_SETCHECK, c.Value(), 0);
            break;
        case Prop::Enabled: EnableWindow(w, EffectiveEnabled(c)); break;
        case Prop::Visible: ShowWindow(w, EffectiveVisible(c) ? SW_SHOWNA : SW_HIDE); break;
        case Prop::BackColor:
            // A new background wipes what was drawn, as in the classic runtime.
            if (c.Kind() == ControlKind::PictureBox) ClearCanvas(c);
            InvalidateRect(w, nullptr, TRUE);
            break;
        case Prop::ForeColor: InvalidateRect(w, nullptr, TRUE); break;
        case Prop::Geometry: {
            RECT r = HostRect(c);
            int height = r.bottom - r.top;
            if (c.Kind() == ControlKind::ComboBox) height += 200;
            MoveWindow(w, r.left, r.top, r.right - r.left, height, TRUE);
            break;
        }
        case Prop::Font:
            SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.GetFont())), TRUE);
            break;
        case Prop::List: FillCombo(c, w); break;
        case Prop::ListIndex: SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(c.ListIndex()), 0); break;
        case Prop::Range: ApplyScrollRange(c, w); break;
        case Prop::Picture:
            if (c.Kind() == ControlKind::PictureBox) ClearCanvas(c);
            if (c.Kind() == ControlKind::CommandButton) ApplyButtonPicture(c, w);
            InvalidateRect(w, nullptr, TRUE);
            break;
        case Prop::Style: ApplyStyle(c, w); break;
        default: break;
    }
}

void Win32FormPeer::ApplyStyle(Control& c, HWND w) {
    if (c.Kind() == ControlKind::CommandButton) {
        const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
        if (((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) != c.ShowsDefaultBorder())
            SendMessageA(w, BM_SETSTYLE, c.ShowsDefaultBorder() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                         TRUE);
        return;
    }
    if (c.Kind() != ControlKind::PictureBox) return;
    const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
    const LONG_PTR newEx = c.BorderStyle() == 1 ? ex | WS_EX_CLIENTEDGE
                                                : ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    if (newEx != ex) {
        SetWindowLongPtrA(w, GWL_EXSTYLE, newEx);
        SetWindowPos(w, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    InvalidateRect(w, nullptr, TRUE);
}

void Win32FormPeer::ApplyScrollRange(Control& c, HWND w) {
    // Win32 wants min <= max; a bar whose Min is above its Max runs backwards.
    const bool reversed = c.Min() > c.Max();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    si.nMin = std::min(c.Min(), c.Max());
    si.nMax = std::max(c.Min(), c.Max());
    si.nPage = 0;
    si.nPos = reversed ? c.Min() + c.Max() - c.Value() : c.Value();
    SetScrollInfo(w, SB_CTL, &si, TRUE);
}

void Win32FormPeer::FillCombo(Control& c, HWND w) {
    SendMessageA(w, CB_RESETCONTENT, 0, 0);
    for (const auto& item : c.Items()) SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(c.ListIndex()), 0);
}

void Win32FormPeer::ApplyButtonPicture(Control& c, HWND w) {
    const ui::Picture& p = c.GetPicture();
    LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_BITMAP | BS_ICON);
    if (p && p->native) style |= p->type == ui::PictureData::Type::Icon ? BS_ICON : BS_BITMAP;
    SetWindowLongPtrA(w, GWL_STYLE, style);
    const WPARAM type = (p && p->type == ui::PictureData::Type::Icon) ? IMAGE_ICON : IMAGE_BITMAP;
    SendMessageA(w, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(p ? p->native.get() : nullptr));
    InvalidateRect(w, nullptr, TRUE);
}

// ---- questions from other processes -------------------------------------------------

RECT Win32FormPeer::ScreenRect(const Control& c) const {
    RECT r{};
    if (HWND w = WindowOf(c)) {
        GetWindowRect(w, &r);
        return r;
    }
    r = HostRect(c);
    HWND host = HostOf(c);
    MapWindowPoints(host != nullptr ? host : hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Win32FormPeer::AnswerQuery(const std::string& designName, HWND asker) {
    Control* c = ControlNamed(designName);
    if (c == nullptr) return false;
    HWND w = EnsureWindow(*c);
    const bool visible = IsWindowVisible(hwnd_) != FALSE && EffectiveVisible(*c);
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE && EffectiveEnabled(*c);
    ControlReply reply{};
    reply.flags = (visible ? kControlVisible : 0u) | (enabled ? kControlEnabled : 0u) |
                  (w == nullptr ? kControlWindowless : 0u);
    if (w == nullptr)
        if (const Control* windowed = WindowedContainer(*c)) EnsureWindow(*const_cast<Control*>(windowed));
    const RECT r = ScreenRect(*c);
    reply.left = r.left;
    reply.top = r.top;
    reply.right = r.right;
    reply.bottom = r.bottom;
    reply.window = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(w));
    std::string text = c->Caption();
    if (c->Kind() == ControlKind::ComboBox) {
        const int i = c->ListIndex();
        text = i >= 0 && i < static_cast<int>(c->Items().size()) ? c->Items()[static_cast<size_t>(i)]
                                                                  : std::string();
    }
    std::string data(reinterpret_cast<const char*>(&reply), sizeof reply);
    data += text;
    COPYDATASTRUCT answer{kControlReply, static_cast<DWORD>(data.size()), data.data()};
    // The asker waits in its own request, so it answers at once; a window
    // that does not must not hang this form.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_),
                        reinterpret_cast<LPARAM>(&answer), SMTO_ABORTIFHUNG, 2000, &ignored);
    return true;
}

// ---- focus, refresh, cursor --------------------------------------------------------------

void Win32FormPeer::SetFocus(Control* control) {
    if (control == nullptr) {
        if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
        HWND focus = GetFocus();
        if (focus != hwnd_ && !IsChild(hwnd_, focus)) ::SetFocus(hwnd_);
        return;
    }
    // Focusing a child of an inactive window would activate it: an inactive
    // form keeps the choice until it is activated (WM_ACTIVATE).
    HWND w = WindowOf(*control);
    if (w != nullptr && GetActiveWindow() == hwnd_ && GetFocus() != w) ::SetFocus(w);
}

void Win32FormPeer::FocusFormWindow() {
    if (GetActiveWindow() == hwnd_ && GetFocus() != hwnd_) ::SetFocus(hwnd_);
}

void Win32FormPeer::Refresh(Control* control) {
    if (control != nullptr && Windowless(*control)) {
        HWND host = HostOf(*control);
        const RECT r = HostRect(*control);
        if (host != nullptr)
            RedrawWindow(host, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    HWND w = control != nullptr ? WindowOf(*control) : hwnd_;
    if (w != nullptr)
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool Win32FormPeer::Hourglass() const {
    return form_.MousePointer() == ui::kPointerHourglass ||
           platform_.ScreenMousePointer() == ui::kPointerHourglass;
}

void Win32FormPeer::UpdateCursor() {
    POINT p;
    if (!GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    if (under != hwnd_ && !IsChild(hwnd_, under)) return;
    SetCursor(LoadCursorA(nullptr, Hourglass() ? IDC_WAIT : IDC_ARROW));
}

}  // namespace kv::win32
