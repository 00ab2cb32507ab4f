// The two seams between the form model and a window system:
//  - FormPeer: the real window of one loaded form; the model tells it what
//    changed, it reports what the user did through the User* entry points of
//    Form and Control.
//  - FormPlatform: the process-wide part (creating peers, pictures, screen
//    metrics, letting pending events run). The headless platform is the
//    default; a Win32 program installs its own with SetPlatform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/ui_types.h"

namespace kv::ui {

class Form;
class Control;

class FormPeer {
public:
    virtual ~FormPeer() = default;

    // control == nullptr: a property of the form itself.
    virtual void Changed(Control* control, Prop what) = 0;
    // A control added to a loaded form.
    virtual void ControlAdded(Control& control) = 0;
    virtual void Draw(Control& surface, const DrawOp& op) = 0;
    // A control: focus it (a back end may wait until its window is active).
    // nullptr: activate the form's window.
    virtual void SetFocus(Control* control) = 0;
    // The focus onto the form's window itself, without activating it.
    virtual void FocusFormWindow() { SetFocus(nullptr); }
    virtual void Refresh(Control* control) = 0;   // repaint now
    // Outer minus client size of the form's window in twips, for its
    // current border style.
    virtual int FrameWidthTwips() = 0;
    virtual int FrameHeightTwips() = 0;
    // Width of `text` in `font`, in twips.
    virtual int TextWidthTwips(const Font& font, const std::string& text) = 0;
    // Native handles (HWND on Win32); 0 when there is none.
    virtual std::intptr_t FormHandle() = 0;
    virtual std::intptr_t ControlHandle(Control& control) = 0;
};

class FormPlatform {
public:
    virtual ~FormPlatform() = default;

    // Creates the windows of a form that is being loaded (all controls
    // included), hidden.
    virtual std::unique_ptr<FormPeer> CreatePeer(Form& form) = 0;

    // Runs the events already waiting, then returns.
    virtual void DoEvents() = 0;
    // Runs events until no form is loaded any more.
    virtual void RunMessageLoop() = 0;

    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual int TwipsPerPixelX() = 0;
    virtual int TwipsPerPixelY() = 0;
    // Screen.MousePointer: overrides every form's pointer while not 0.
    virtual void SetScreenMousePointer(int pointer) = 0;
    virtual int ScreenMousePointer() = 0;

    // Null when the file cannot be read as a bitmap.
    virtual Picture LoadPicture(const std::string& path) = 0;
    // A bitmap or icon resource of the program; null when missing.
    virtual Picture LoadResPicture(int id, PictureData::Type type) = 0;
};

// The platform in force (the headless one unless a program set another).
FormPlatform& Platform();
// Installs `platform` (not owned; must outlive every form). nullptr goes
// back to the headless platform.
void SetPlatform(FormPlatform* platform);

// Shorthands for the program code.
inline void DoEvents() { Platform().DoEvents(); }
inline int ScreenWidthTwips() { return Platform().ScreenWidthTwips(); }
inline int ScreenHeightTwips() { return Platform().ScreenHeightTwips(); }
inline int TwipsPerPixelX() { return Platform().TwipsPerPixelX(); }
inline int TwipsPerPixelY() { return Platform().TwipsPerPixelY(); }
inline Picture LoadPicture(const std::string& path) { return Platform().LoadPicture(path); }

}  // namespace kv::ui
