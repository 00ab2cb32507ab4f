// A form of the classic forms runtime, as a retained model: a window with
// a caption, twip geometry and named controls. The program builds a form
// once (its "design": Add controls, set their design properties), then
// Load/Show/Hide/Unload it as often as it likes.
//
//   Form f("frmMouseSpeed");
//   f.SetCaption("Mouse Speed");
//   Control& apply = f.Add(ControlKind::CommandButton, "cmdApply");
//   f.Add(ControlKind::OptionButton, "optAcceleration", 3, &frame);
//   f.Ctl("optAcceleration", 3).SetValue(1);
//
// Life cycle:
//  - Load(): creates the peer (real windows, hidden) and runs the Load
//    handler; a loaded form ignores further Load() calls. The design state
//    (every property of the form and its controls) is recorded at the first
//    Load.
//  - Show(): Load() if needed, makes the form visible and, unless it is
//    already the active form, fires OnActivate (a back end also reports
//    activation through UserActivate; Activate fires only when the active
//    form of the program changes, as in the classic runtime).
//  - Hide(): invisible, still loaded.
//  - Unload(): fires Unload once, destroys the peer and puts every property
//    back to its design state, so that the next Load starts as the designer
//    left it. Controls and handlers stay: references to them remain valid.
//
// Keyboard, as a Windows user expects it (the back end hands the keys here
// before a control sees them):
//  - a form that is shown or activated gives the focus back to the control
//    that had it, else to its first control in tab order;
//  - Tab and Shift+Tab go round the controls that can take the focus; of
//    an option group only its selected option is a stop;
//  - the options of one container (a frame) form a group: an arrow moves to
//    the next option of the group and selects it, firing Click; on buttons
//    and check boxes arrows move among the stops of the same container;
//  - Enter presses the focused command button, else the Default button;
//    Esc presses the Cancel button;
//  - Alt+letter (or the letter alone, unless the focused control takes
//    characters) presses the control whose caption has "&letter";
//  - a picture box with a key handler keeps every key;
//  - while no control has the focus, a form with a key handler of its own
//    gets every key itself.
//
// Geometry: Left/Top/Width/Height are the outer window in twips,
// ScaleWidth/ScaleHeight the client area in twips; the two differ by the
// frame of the current border style, which the peer measures (headless:
// the platform's frame sizes).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/control.h"
#include "ui/ui_types.h"

namespace kv::ui {

class Form {
public:
    using Handler = std::function<void()>;
    using MouseHandler = std::function<void(int button, int shift, int x, int y)>;
    using KeyHandler = std::function<void(int key, int shift)>;

    explicit Form(std::string name);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }

    // Controls. Add() refuses a duplicate name/index pair (returns the
    // existing control). `index` -1 makes a plain control; 0 or more an
    // element of the control array `name`.
    Control& Add(ControlKind kind, const std::string& name, int index = -1,
                 Control* container = nullptr);
    // Lookup; throws std::out_of_range naming the control when missing, so
    // a misspelt name fails loudly in tests.
    Control& Ctl(const std::string& name, int index = -1);
    Control* Find(const std::string& name, int index = -1);
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // The elements of a control array, in index order.
    std::vector<Control*> Array(const std::string& name);
    int LBound(const std::string& name);
    int UBound(const std::string& name);

    // Properties.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { Move(v, top_, width_, height_); }
    void SetTop(int v) { Move(left_, v, width_, height_); }
    void SetWidth(int v) { Move(left_, top_, v, height_); }
    void SetHeight(int v) { Move(left_, top_, width_, v); }
    void Move(int left, int top, int width, int height);
    int ScaleWidth() const;
    int ScaleHeight() const;
    // Sets the client size (the outer size follows with the frame).
    void SetClientSize(int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color c);
    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color c);
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);  // 0 default, 11 hourglass
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);     // applied when the window is created
    int WindowState() const { return windowState_; }
    void SetWindowState(int state);
    bool TopMost() const { return topMost_; }
    void SetTopMost(bool topMost);
    // False: the user cannot close the window (close box greyed, Alt+F4
    // and the system menu ignored); the program still unloads it.
    bool Closable() const { return closable_; }
    void SetClosable(bool closable);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    // False: Show makes the window visible without activating it (a
    // topmost tool window that must not take the keyboard from the user's
    // window). A click on it still activates it.
    bool ActivateOnShow() const { return activateOnShow_; }
    void SetActivateOnShow(bool v) { activateOnShow_ = v; }
    // Program icon resource for the window (0: the platform's default).
    int IconResource() const { return iconResource_; }
    void SetIconResource(int id) { iconResource_ = id; }

    // Life cycle.
    bool Loaded() const { return loaded_; }
    void Load();
    void Show();
    void Hide();
    void Unload();
    void SetFocus();
    void Refresh();
    int TextWidth(const std::string& text);  // in the form's font, twips

    // Focus. ActiveControl is the control with the focus, or the one that
    // gets it back when the form is activated again; nullptr when the form
    // itself has it.
    Control* ActiveControl() const { return activeControl_; }
    // The controls that can take the focus now, in tab order (an option
    // group contributes its selected option, or its first one).
    std::vector<Control*> TabStops() const;
    // The stop after (or before) `from` in tab order, wrapping round;
    // `from` need not be a stop itself. nullptr when there is none.
    Control* NextTabStop(const Control* from, bool forward) const;
    int TabIndexOf(const Control& c) const;
    // Every control, in tab order.
    const std::vector<Control*>& TabOrder() const { return tabOrder_; }
    void MoveInTabOrder(Control& c, int index);
    // The command button that shows the default border, or nullptr.
    Control* DefaultBorderHolder() const;

    // Native window (HWND on Win32; a made-up non-zero value headless); 0
    // when not loaded.
    std::intptr_t Handle() const;
    FormPeer* Peer() const { return peer_.get(); }

    // Events (Form_Load, Form_Activate...; "On" because Load() and
    // Unload() are the actions).
    Handler OnLoad, OnActivate, OnResize, OnUnload;
    MouseHandler OnMouseDown;
    KeyHandler OnKeyDown;

    // User actions and back-end reports.
    void UserActivate();                 // the window became active
    void UserClose();                    // close box / system close: Unload
    void UserKeyDown(int key, int shift);  // a key on the form itself
    void UserMouseDown(int button, int shift, int x, int y);
    bool PressDefault();                 // Enter: clicks the Default button
    bool PressCancel();                  // Esc: clicks the Cancel button
    // Tab, Enter, Esc and the arrows, before the focused control sees them.
    // True when the form used the key (the control must not get it).
    bool UserNavigationKey(int key, int shift);
    // A typed character, with Alt or without: the control with that access
    // key is pressed. True when one was.
    bool UserAccessKey(char ch, bool alt);
    // The back end reports where the focus went (nullptr: the form itself).
    void PeerFocus(Control* c);
    // The window became active: the focus goes back into the form.
    void RestoreFocus();
    // Focuses `c` (a control of this form that can take the focus).
    void FocusControl(Control* c);
    // `c` was disabled or hidden: if the focus was on it or inside it, it
    // moves on to the next control in tab order.
    void ControlLostReach(Control& c);
    // The window was moved or sized by the system or the user (twips).
    void PeerGeometry(int left, int top, int width, int height, int clientWidth,
                      int clientHeight);

    // Lets a control reach the form's peer.
    void NotifyControl(Control& c, Prop what);
    void DrawOn(Control& c, const DrawOp& op);
    // Clears the other option buttons of `option`'s container (no events).
    void ClearOptionSiblings(Control& option);
    // Lays docked picture boxes along the top and bottom edges.
    void ArrangeDocked();

private:
    struct State;
    void Notify(Prop what);
    void RecordDesign();
    void RestoreDesign();
    int FrameWidth() const;
    int FrameHeight() const;
    void ClientSizeChanged();
    void ActivateNow();
    void SetActive(Control* c);
    bool MoveWithinContainer(Control& from, bool forward);

    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unique_ptr<FormPeer> peer_;
    std::unique_ptr<State> design_;

    std::string caption_;
    int left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
    int clientWidth_ = -1, clientHeight_ = -1;  // -1: derive from the frame
    int lastResizeW_ = -1, lastResizeH_ = -1;
    bool visible_ = false, enabled_ = true;
    Color backColor_ = kSysButtonFace, foreColor_ = kSysButtonText;
    Font font_;
    int mousePointer_ = kPointerDefault;
    int borderStyle_ = kBorderSizable;
    int windowState_ = kWindowNormal;
    bool topMost_ = false, keyPreview_ = false, closable_ = true;
    bool activateOnShow_ = true;
    int iconResource_ = 0;
    Control* activeControl_ = nullptr;
    std::vector<Control*> tabOrder_;
    bool loaded_ = false, unloading_ = false;
    bool showing_ = false;  // inside Show: activation waits for the first Resize
};

// Forms currently loaded, in load order.
const std::vector<Form*>& LoadedForms();
// The form that was activated last and is still loaded, or nullptr.
Form* ActiveForm();

}  // namespace kv::ui
