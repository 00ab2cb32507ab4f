// A control of a form, modelled on the classic forms runtime: properties
// that notify the form's peer, events as std::function members.
//
// Setting a value fires the event a user change fires, and only when the
// value changes: a scroll bar's Value fires Change, a check box's Value
// fires Click, an option button set true fires Click (after clearing the
// other options of its container without firing theirs), a combo box's
// ListIndex fires Click. Handlers run at once, nested in the setter.
//
// User* functions are what a back end (or a test) calls when the user acts;
// a control that is disabled or invisible, or inside one that is, or on a
// disabled form, ignores them.
//
// Focus: buttons, check boxes, options, scroll bars and combo boxes take the
// keyboard focus; a picture box only when it handles keys (KeyDown or
// KeyUp set), so a logo never traps Tab, Enter or Esc. A focused control
// that is disabled or hidden hands the focus to the next control in tab
// order (see Form).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/ui_types.h"

namespace kv::ui {

class Form;

class Control {
public:
    using Handler = std::function<void()>;
    using MouseHandler = std::function<void(int button, int shift, int x, int y)>;
    using KeyHandler = std::function<void(int key, int shift)>;

    Control(Form& form, ControlKind kind, std::string name, int index, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Identity.
    Form& Owner() const { return form_; }
    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }  // -1 when not in a control array
    std::string DesignName() const;      // "cmdApply", "optAcceleration(3)"
    Control* Container() const { return container_; }  // nullptr: the form

    // Text.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Text() const { return text_; }  // combo box: the selected item
    void SetText(const std::string& text);

    // Value: scroll position; check box 0/1/2; option button 0/1.
    int Value() const { return value_; }
    void SetValue(int value);

    // Scroll bar range. Changing it moves Value into the range (firing Change).
    int Min() const { return min_; }
    int Max() const { return max_; }
    int SmallChange() const { return smallChange_; }
    int LargeChange() const { return largeChange_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetSmallChange(int v);
    void SetLargeChange(int v);

    // State.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // True when the control, its containers and its form accept user actions.
    bool Reachable() const;
    // True when the control can take the keyboard focus now.
    bool CanFocus() const;
    bool HasFocus() const;
    // A picture box with a key handler takes every key, Tab and Esc included.
    bool WantsAllKeys() const;

    // Tab order: the position among the form's controls (0 first). New
    // controls come last; setting an index moves the control there and
    // shifts the others, as in the classic runtime.
    int TabIndex() const;
    void SetTabIndex(int index);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    // The letter after a single "&" of the caption, upper case; 0 if none.
    char AccessKey() const;

    // Colours (0x00BBGGRR or a system colour).
    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color c);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color c);
    // Shape outline.
    Color BorderColor() const { return borderColor_; }
    void SetBorderColor(Color c);

    // Geometry in the container's scale units (twips unless the container
    // is a picture box in pixels).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { Move(v, top_, width_, height_); }
    void SetTop(int v) { Move(left_, v, width_, height_); }
    void SetWidth(int v) { Move(left_, top_, v, height_); }
    void SetHeight(int v) { Move(left_, top_, width_, v); }
    void Move(int left, int top, int width, int height);

    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    void SetFontName(const std::string& name);
    void SetFontSize(double size);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);

    // Combo box list.
    void AddItem(const std::string& item);
    void RemoveItem(int i);
    void Clear();
    int ListCount() const { return static_cast<int>(list_.size()); }
    std::string List(int i) const;  // "" outside the list
    const std::vector<std::string>& Items() const { return list_; }
    int ListIndex() const { return listIndex_; }  // -1: nothing selected
    // -1..ListCount-1; any other index is refused (returns false).
    bool SetListIndex(int i);

    // Picture box, image, graphical command button.
    const Picture& GetPicture() const { return picture_; }
    void SetPicture(Picture picture);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // Command buttons answering Enter / Esc on their form. The default
    // border shows on the focused command button, or on the Default button
    // while no command button has the focus.
    bool ShowsDefaultBorder() const;
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v);

    // Styles: BorderStyle 0 none / 1 single; BackStyle 0 transparent /
    // 1 opaque; Alignment of a label.
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int v);
    int BackStyle() const { return backStyle_; }
    void SetBackStyle(int v);
    int Alignment() const { return alignment_; }
    void SetAlignment(int v);

    // Docking of a picture box to the form's top or bottom edge: it keeps
    // its height and takes the form's client width.
    int Align() const { return align_; }
    void SetAlign(int align);  // kDockNone, kDockTop, kDockBottom

    // Picture box surface.
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode);  // kScaleTwips or kScalePixels
    int ScaleWidth() const;       // inner size in ScaleMode units
    int ScaleHeight() const;
    int DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(int pixels);
    int CurrentX() const { return currentX_; }
    int CurrentY() const { return currentY_; }
    void PSet(int x, int y, Color c);                   // also moves the current point
    void Line(int x1, int y1, int x2, int y2, Color c);  // current point := (x2, y2)
    void LineTo(int x2, int y2, Color c);               // from the current point
    void Box(int x1, int y1, int x2, int y2, Color c);  // outline, not filled
    void Cls();                                         // back colour; current point 0,0

    // Twips per unit of the container's scale (1 in a form or a twips
    // container; the pixel size in a pixel container), and per unit of the
    // control's own scale.
    int ContainerUnitTwips(bool horizontal) const;
    int ScaleUnitTwips(bool horizontal) const;
    // Width of the border a picture box draws inside its rectangle, pixels.
    int InnerBorderPixels() const;

    // Focus and painting.
    void SetFocus();
    void Refresh();
    std::intptr_t Handle() const;  // the back end's window, 0 headless/windowless

    // Events.
    Handler Click, DblClick, Change, Scroll, Resize;
    MouseHandler MouseDown, MouseMove, MouseUp;
    KeyHandler KeyDown, KeyUp;

    // User actions (back ends and tests).
    void UserClick();            // button press, box toggle, option pick, label click
    void UserDblClick();
    void UserThumbTrack(int v);  // thumb dragged to v: Scroll
    void UserThumbRelease();     // thumb let go: Change if the value moved
    void UserScroll(int v);      // a whole drag to v: Scroll then Change
    void UserLineScroll(int direction);  // arrows: +-SmallChange, Change
    void UserPageScroll(int direction);  // trough: +-LargeChange, Change
    void UserScrollToEnd(int end);       // Home (end < 0): Min; End: Max; Change
    void UserSelect(int i);      // combo box pick
    void UserMouseDown(int button, int shift, int x, int y);
    void UserMouseMove(int button, int shift, int x, int y);
    void UserMouseUp(int button, int shift, int x, int y);
    void UserKeyDown(int key, int shift);
    void UserKeyUp(int key, int shift);

    // Back-end hook: the peer moved/resized the control itself (AutoSize).
    void PeerSized(int width, int height);

    // Everything but identity and handlers, for restoring design state.
    struct State;
    State Snapshot() const;
    void Restore(const State& s);

private:
    void Notify(Prop what);
    static void Fire(const Handler& h);
    int ClampToRange(int v) const;
    void SetValueQuiet(int v);  // for option groups: no event
    void SizeToPicture();
    int RangeLow() const;
    int RangeHigh() const;

    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Control* container_;

    std::string caption_, text_;
    int value_ = 0;
    int min_ = 0, max_ = 32767, smallChange_ = 1, largeChange_ = 1;
    bool enabled_ = true, visible_ = true;
    Color foreColor_ = kSysButtonText, backColor_ = kSysButtonFace, borderColor_ = kBlack;
    int left_ = 0, top_ = 0, width_ = 1215, height_ = 495;
    Font font_;
    std::vector<std::string> list_;
    int listIndex_ = -1;
    Picture picture_;
    bool autoSize_ = false;
    bool default_ = false, cancel_ = false;
    int borderStyle_ = 0, backStyle_ = 1, alignment_ = kAlignLeft, align_ = 0;
    int scaleMode_ = kScaleTwips, drawWidth_ = 1, currentX_ = 0, currentY_ = 0;
    bool trackMoved_ = false;  // thumb moved since the drag began
    bool tabStop_ = true;
};

struct Control::State {
    std::string caption, text;
    int value, min, max, smallChange, largeChange;
    bool enabled, visible;
    Color foreColor, backColor, borderColor;
    int left, top, width, height;
    Font font;
    std::vector<std::string> list;
    int listIndex;
    Picture picture;
    bool autoSize, isDefault, isCancel;
    int borderStyle, backStyle, alignment, align, scaleMode, drawWidth;
};

}  // namespace kv::ui
