// The real windows of one loaded form (internal to the Win32 back end).
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ui/backend.h"
#include "ui/form.h"

namespace kv::win32 {

class Win32FormPlatform;

class Win32FormPeer : public ui::FormPeer {
public:
    Win32FormPeer(Win32FormPlatform& platform, ui::Form& form);
    ~Win32FormPeer() override;

    void Changed(ui::Control* control, ui::Prop what) override;
    void ControlAdded(ui::Control& control) override;
    void Draw(ui::Control& surface, const ui::DrawOp& op) override;
    void SetFocus(ui::Control* control) override;
    void FocusFormWindow() override;
    void Refresh(ui::Control* control) override;
    int FrameWidthTwips() override;
    int FrameHeightTwips() override;
    int TextWidthTwips(const ui::Font& font, const std::string& text) override;
    std::intptr_t FormHandle() override { return reinterpret_cast<std::intptr_t>(hwnd_); }
    std::intptr_t ControlHandle(ui::Control& control) override;

    // Used by the window procedures.
    ui::Form& Model() { return form_; }
    HWND Window() const { return hwnd_; }
    HWND WindowOf(const ui::Control& control) const;
    // The control's window, created now if it should have one and has none
    // yet; nullptr for a windowless control.
    HWND EnsureWindow(ui::Control& control);
    // Labels, images, shapes, frames and passive picture boxes.
    bool Windowless(const ui::Control& control) const;
    // A passive picture box that is drawn on or whose window a program
    // asks for gets one.
    void GiveWindow(ui::Control& box);
    ui::Control* ControlOf(HWND window) const;
    ui::Control* ControlById(int id) const;
    ui::Control* ControlNamed(const std::string& designName) const;
    bool Creating() const { return creating_; }
    // The form's window is the active one (kept from WM_ACTIVATE, so that
    // answering a screen reader asks the window server nothing).
    bool Active() const { return active_; }
    void NoteActivation(bool active) { active_ = active; }
    void ReportGeometry();
    HBRUSH Brush(COLORREF color);
    HFONT FontOf(const ui::Font& font);
    bool Hourglass() const;
    // Draws the windowless controls that `level` (a host, nullptr for the
    // form, or a windowless frame in it) holds.
    void PaintWindowless(HDC dc, const ui::Control* level);
    void PaintPictureBox(ui::Control& box, HDC dc);
    void ResizeCanvas(ui::Control& box);
    // The topmost shown and enabled windowless control that `level` holds
    // (as for PaintWindowless) under `at` (host client pixels) and that
    // takes mouse input.
    ui::Control* WindowlessAt(const ui::Control* level, POINT at) const;
    // Where `control` is in its host window's client area, in pixels.
    RECT HostRect(const ui::Control& control) const;
    // Where a windowless control's own area starts in its host's client
    // area (inside a picture box's border).
    POINT ClientOrigin(const ui::Control& control) const;
    // The windowless control that had the button pressed on it and gets the
    // mouse until it is released.
    ui::Control*& MouseCapture() { return mouseCapture_; }
    int ToPixelsX(int twips) const;
    int ToPixelsY(int twips) const;
    int ToTwipsX(int pixels) const;
    int ToTwipsY(int pixels) const;
    RECT PixelRect(const ui::Control& control) const;  // in its container's client area
    // Where `control` is on the screen, in pixels (right and bottom
    // exclusive); makes no window.
    RECT ScreenRect(const ui::Control& control) const;
    // Answers a control query (control_query.h) to `asker`; false when
    // the form has no control of that design name.
    bool AnswerQuery(const std::string& designName, HWND asker);
    // Mouse position in the units the control's handlers expect.
    POINT EventPoint(const ui::Control* control, int xPx, int yPx) const;

private:
    struct Canvas {
        HBITMAP bitmap = nullptr;
        int width = 0, height = 0;
    };

    // Applies a change of a control of the shown form to its windows.
    void ApplyChange(ui::Control* control, ui::Prop what);
    // Raises the accessibility events a change of `control` means.
    void Announce(const ui::Control& control, ui::Prop what);
    void CreateForm();
    // Greys or restores the close box and the system menu's Close.
    void ApplyClosable();
    void CreateShownWindows();
    void CreateControl(ui::Control& control);
    // Applies a change of a container (or a control) to every descendant:
    // their windows' places, shown and enabled states; windowless ones are
    // redrawn.
    void ApplyToDescendants(ui::Control& control, ui::Prop what);
    void InvalidateWindowless(const ui::Control& control);
    void PaintOne(const ui::Control& control, HDC dc);
    void PaintLabel(const ui::Control& label, HDC dc, RECT r);
    void PaintFrame(const ui::Control& frame, HDC dc, RECT r);
    // The nearest container with a window of its own (nullptr: the form).
    const ui::Control* WindowedContainer(const ui::Control& control) const;
    // The window that shows `control` (its windowed container's or the
    // form's); nullptr while that has none yet.
    HWND HostOf(const ui::Control& control) const;
    bool EffectiveVisible(const ui::Control& control) const;
    bool EffectiveEnabled(const ui::Control& control) const;
    void ApplyControl(ui::Control& c, ui::Prop what, HWND w);
    void ApplyForm(ui::Prop what);
    void ApplyStyle(ui::Control& c, HWND w);
    void ApplyScrollRange(ui::Control& c, HWND w);
    void FillCombo(ui::Control& c, HWND w);
    void ApplyButtonPicture(ui::Control& c, HWND w);
    void ClearCanvas(ui::Control& box);
    void UpdateCursor();
    DWORD FormStyle() const;
    DWORD FormExStyle() const;

    Win32FormPlatform& platform_;
    ui::Form& form_;
    HWND hwnd_ = nullptr;
    bool creating_ = true;
    bool active_ = false;
    // The control windows are made when the form is first shown: changes
    // made while loading cost nothing then, and a control that is never
    // shown never gets a window.
    bool shown_ = false;
    bool inDesignOrder_ = false;  // making the first windows, in the design's order
    ui::Control* mouseCapture_ = nullptr;
    std::map<const ui::Control*, HWND> windows_;
    std::map<HWND, ui::Control*> controlsByWindow_;
    // Where each windowless control was last drawn, for redrawing the old
    // place when it moves or hides.
    std::map<const ui::Control*, RECT> drawnAt_;
    std::set<const ui::Control*> passiveBoxes_;
    std::map<const ui::Control*, Canvas> canvases_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::map<std::tuple<std::string, int, bool, bool>, HFONT> fonts_;
};

// Draws a picture at its natural size.
void DrawPicture(HDC dc, const ui::Picture& picture, int x, int y);

// The peer behind a form window (GWLP_USERDATA), or nullptr.
Win32FormPeer* PeerOf(HWND formWindow);
// The peer of the form that contains `window` (any descendant).
Win32FormPeer* PeerOfDescendant(HWND window);

// Tab, Enter, Esc, arrows and access keys of a message bound for a form's
// window, handed to the form before the control sees them. True when the
// form used the message.
bool RouteFormKeys(const MSG& msg);

// Labels, images, shapes and frames have no window: their host draws them
// and passes them its mouse input (and so with a passive picture box).
bool IsWindowless(ui::ControlKind kind);

// Window procedures and class registration (win32_form_procs.cpp).
void RegisterFormClasses(HINSTANCE instance);
void SubclassControl(HWND window);
extern const char kFormClass[];
extern const char kPictureClass[];
constexpr int kFirstControlId = 100;
// The program's icon, which every form window shows unless it names another.
constexpr int kClassIconResource = 1;

}  // namespace kv::win32
