// The real windows of one loaded form (internal to the Win32 back end).
#pragma once

#include <windows.h>

#include <map>
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
    ui::Control* ControlOf(HWND window) const;
    ui::Control* ControlById(int id) const;
    bool Creating() const { return creating_; }
    void ReportGeometry();
    HBRUSH Brush(COLORREF color);
    HFONT FontOf(const ui::Font& font);
    bool Hourglass() const;
    void PaintShapes(HDC dc, const ui::Control* container);
    void PaintPictureBox(ui::Control& box, HDC dc);
    void PaintImage(ui::Control& image, HDC dc);
    void EraseUnder(ui::Control& control, HDC dc);  // the container's background
    void ResizeCanvas(ui::Control& box);
    COLORREF ContainerBack(const ui::Control& control) const;
    int ToPixelsX(int twips) const;
    int ToPixelsY(int twips) const;
    int ToTwipsX(int pixels) const;
    int ToTwipsY(int pixels) const;
    RECT PixelRect(const ui::Control& control) const;
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

    void CreateForm();
    void CreateControl(ui::Control& control);
    void ApplyControl(ui::Control& c, ui::Prop what, HWND w);
    void ApplyForm(ui::Prop what);
    void ApplyStyle(ui::Control& c, HWND w);
    void ApplyScrollRange(ui::Control& c, HWND w);
    void FillCombo(ui::Control& c, HWND w);
    void ApplyButtonPicture(ui::Control& c, HWND w);
    void ClearCanvas(ui::Control& box);
    void InvalidateInContainer(ui::Control& c);
    void UpdateCursor();
    DWORD FormStyle() const;
    DWORD FormExStyle() const;

    Win32FormPlatform& platform_;
    ui::Form& form_;
    HWND hwnd_ = nullptr;
    bool creating_ = true;
    std::map<const ui::Control*, HWND> windows_;
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

// Window procedures and class registration (win32_form_procs.cpp).
void RegisterFormClasses(HINSTANCE instance);
void SubclassControl(HWND window);
extern const char kFormClass[];
extern const char kPictureClass[];
constexpr int kFirstControlId = 100;

}  // namespace kv::win32
