// The form layer on real Win32 windows.
//
// A program installs the platform once in WinMain, before its first form:
//
//   kv::win32::Win32FormPlatform forms(hInstance);
//   kv::ui::SetPlatform(&forms);
//   mainForm.Show();
//   forms.RunMessageLoop();       // returns when the last form unloads
//
// Each loaded form is one top-level window (class "KvForm"). Command
// buttons, check and option boxes, scroll bars, combo boxes (drop-down
// lists) and picture boxes (class "KvPicture") are child windows of the
// system's classes, made when they are first shown. Labels, images, shapes
// and frames are windowless, as in the classic forms runtime: the window
// that hosts them (the form or a picture box) draws them and passes them its
// mouse input, and a frame's windowed controls are children of the frame's
// host. The form window carries its design name in the property "Name" as
// a global atom ("frmMain"); other processes ask the form about its
// controls by design name (control_query.h).
//
// Replacing a form's window procedure (SetWindowLongPtrA GWLP_WNDPROC, as
// the right-button agent does): the back end finds its state through
// GWLP_USERDATA of the form window, so leave GWLP_USERDATA alone, pass every
// message you do not handle to the previous procedure with CallWindowProcA,
// and put the previous procedure back before the form unloads. The child
// windows are not affected.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "ui/backend.h"
#include "ui/form.h"

namespace kv::win32 {

class Win32FormPlatform : public ui::FormPlatform {
public:
    explicit Win32FormPlatform(HINSTANCE instance);
    ~Win32FormPlatform() override;

    std::unique_ptr<ui::FormPeer> CreatePeer(ui::Form& form) override;
    void DoEvents() override;
    void RunMessageLoop() override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    int TwipsPerPixelX() override;
    int TwipsPerPixelY() override;
    void SetScreenMousePointer(int pointer) override;
    int ScreenMousePointer() override { return screenPointer_; }
    ui::Picture LoadPicture(const std::string& path) override;
    ui::Picture LoadResPicture(int id, ui::PictureData::Type type) override;

    HINSTANCE Instance() const { return instance_; }

    // Runs one retrieved message through the forms' keyboard handling
    // (Enter/Esc, Tab) and dispatches it.
    static void Dispatch(MSG& msg);

private:
    ui::Picture LoadResPictureNow(int id, ui::PictureData::Type type);

    HINSTANCE instance_;
    int screenPointer_ = 0;
    // Resource pictures, loaded once: a program designs all its forms at
    // start, and many show the same icon.
    std::map<std::pair<int, int>, ui::Picture> resourcePictures_;
    int dpiX_ = 96, dpiY_ = 96;
};

// The form's window, or nullptr when it is not loaded on this platform.
HWND FormWindow(const ui::Form& form);
HWND ControlWindow(const ui::Control& control);

// The design name of a form window: SetPropA(hwnd, "Name", GlobalAddAtomA(name)).
void SetDesignName(HWND window, const std::string& name);
void RemoveDesignName(HWND window);
// A form window's design name, or a control window's of this process; ""
// for any other window.
std::string DesignNameOf(HWND window);
// The window of the control named `name` in the form of this process that
// `parent` belongs to (made now if the control should have one), when it is
// a descendant of `parent`; nullptr otherwise and for windowless controls.
HWND FindChildByDesignName(HWND parent, const std::string& name);

// 0x00BBGGRR with system colours resolved.
COLORREF ToColorRef(ui::Color color);

}  // namespace kv::win32
