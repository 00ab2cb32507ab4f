#include "ui/control.h"

#include <algorithm>
#include <cmath>

#include "ui/backend.h"
#include "ui/form.h"

namespace kv::ui {

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::CommandButton: return "CommandButton";
        case ControlKind::Label: return "Label";
        case ControlKind::HScrollBar: return "HScrollBar";
        case ControlKind::CheckBox: return "CheckBox";
        case ControlKind::OptionButton: return "OptionButton";
        case ControlKind::ComboBox: return "ComboBox";
        case ControlKind::Frame: return "Frame";
        case ControlKind::PictureBox: return "PictureBox";
        case ControlKind::Image: return "Image";
        case ControlKind::Shape: return "Shape";
    }
    return "?";
}

Control::Control(Form& form, ControlKind kind, std::string name, int index, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index < 0 ? -1 : index),
      container_(container) {
    // The runtime's defaults for a freshly drawn control of each kind.
    switch (kind_) {
        case ControlKind::HScrollBar: height_ = 255; break;
        case ControlKind::Label: height_ = 255; break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: height_ = 255; break;
        case ControlKind::ComboBox:
            height_ = 315;
            foreColor_ = kSysWindowText;
            backColor_ = kSysWindow;
            break;
        case ControlKind::PictureBox: borderStyle_ = 1; break;
        case ControlKind::Shape:
            borderStyle_ = 1;
            backStyle_ = 0;
            break;
        default: break;
    }
}

std::string Control::DesignName() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

void Control::Notify(Prop what) { form_.NotifyControl(*this, what); }

void Control::Fire(const Handler& h) {
    // A copy: the handler may replace itself while it runs.
    if (Handler copy = h) copy();
}

// ---- text ------------------------------------------------------------------

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Notify(Prop::Caption);
}

void Control::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Notify(Prop::Caption);
}

// ---- value and range --------------------------------------------------------

int Control::RangeLow() const { return std::min(min_, max_); }
int Control::RangeHigh() const { return std::max(min_, max_); }
int Control::ClampToRange(int v) const { return std::clamp(v, RangeLow(), RangeHigh()); }

void Control::SetValue(int v) {
    switch (kind_) {
        case ControlKind::HScrollBar:
            v = ClampToRange(v);
            if (v == value_) return;
            value_ = v;
            Notify(Prop::Value);
            Fire(Change);
            return;
        case ControlKind::CheckBox:
            if (v < 0 || v > 2 || v == value_) return;  // 2 is the greyed state
            value_ = v;
            Notify(Prop::Value);
            Fire(Click);
            return;
        case ControlKind::OptionButton:
            v = v != 0 ? 1 : 0;
            if (v == value_) return;
            if (v == 1) form_.ClearOptionSiblings(*this);
            value_ = v;
            Notify(Prop::Value);
            if (v == 1) Fire(Click);  // clearing an option fires nothing
            return;
        default:
            value_ = v;
            return;
    }
}

void Control::SetValueQuiet(int v) {
    if (v == value_) return;
    value_ = v;
    Notify(Prop::Value);
}

void Control::SetMin(int v) {
    if (v == min_) return;
    min_ = v;
    Notify(Prop::Range);
    if (kind_ == ControlKind::HScrollBar) SetValue(value_);  // clamps, fires Change if moved
}

void Control::SetMax(int v) {
    if (v == max_) return;
    max_ = v;
    Notify(Prop::Range);
    if (kind_ == ControlKind::HScrollBar) SetValue(value_);
}

void Control::SetSmallChange(int v) {
    if (v == smallChange_ || v < 1) return;
    smallChange_ = v;
    Notify(Prop::Range);
}

void Control::SetLargeChange(int v) {
    if (v == largeChange_ || v < 1) return;
    largeChange_ = v;
    Notify(Prop::Range);
}

// ---- state ------------------------------------------------------------------

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Notify(Prop::Enabled);
    if (!enabled) form_.ControlLostReach(*this);
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Notify(Prop::Visible);
    if (!visible) form_.ControlLostReach(*this);
}

bool Control::Reachable() const {
    if (!enabled_ || !visible_ || kind_ == ControlKind::Shape) return false;
    if (container_ != nullptr) return container_->Reachable();
    return form_.Enabled();
}

bool Control::WantsAllKeys() const {
    return kind_ == ControlKind::PictureBox && (KeyDown || KeyUp);
}

bool Control::CanFocus() const {
    switch (kind_) {
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::HScrollBar:
        case ControlKind::ComboBox: break;
        case ControlKind::PictureBox:
            if (!WantsAllKeys()) return false;
            break;
        default: return false;
    }
    return Reachable();
}

bool Control::HasFocus() const { return form_.ActiveControl() == this; }

int Control::TabIndex() const { return form_.TabIndexOf(*this); }
void Control::SetTabIndex(int index) { form_.MoveInTabOrder(*this, index); }

char Control::AccessKey() const {
    for (size_t i = 0; i + 1 < caption_.size(); ++i) {
        if (caption_[i] != '&') continue;
        if (caption_[i + 1] == '&') {
            ++i;  // "&&" shows one ampersand
            continue;
        }
        const char c = caption_[i + 1];
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return 0;
}

bool Control::ShowsDefaultBorder() const {
    return kind_ == ControlKind::CommandButton && form_.DefaultBorderHolder() == this;
}

void Control::SetForeColor(Color c) {
    if (c == foreColor_) return;
    foreColor_ = c;
    Notify(Prop::ForeColor);
}

void Control::SetBackColor(Color c) {
    if (c == backColor_) return;
    backColor_ = c;
    Notify(Prop::BackColor);
}

void Control::SetBorderColor(Color c) {
    if (c == borderColor_) return;
    borderColor_ = c;
    Notify(Prop::ForeColor);
}

// ---- geometry -----------------------------------------------------------------

void Control::Move(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Notify(Prop::Geometry);
    if (resized && kind_ == ControlKind::PictureBox) Fire(Resize);
}

void Control::PeerSized(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (kind_ == ControlKind::PictureBox) Fire(Resize);
}

int Control::ContainerUnitTwips(bool horizontal) const {
    if (container_ != nullptr) return container_->ScaleUnitTwips(horizontal);
    return 1;
}

int Control::ScaleUnitTwips(bool horizontal) const {
    if (scaleMode_ != kScalePixels) return 1;
    return horizontal ? Platform().TwipsPerPixelX() : Platform().TwipsPerPixelY();
}

int Control::InnerBorderPixels() const {
    // The sunken edge of a bordered picture box: two pixels each side.
    return (kind_ == ControlKind::PictureBox && borderStyle_ == 1) ? 2 : 0;
}

int Control::ScaleWidth() const {
    const int twips = width_ * ContainerUnitTwips(true) -
                      2 * InnerBorderPixels() * Platform().TwipsPerPixelX();
    return std::max(twips, 0) / ScaleUnitTwips(true);
}

int Control::ScaleHeight() const {
    const int twips = height_ * ContainerUnitTwips(false) -
                      2 * InnerBorderPixels() * Platform().TwipsPerPixelY();
    return std::max(twips, 0) / ScaleUnitTwips(false);
}

void Control::SetFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    Notify(Prop::Font);
}

void Control::SetFontName(const std::string& name) {
    Font f = font_;
    f.name = name;
    SetFont(f);
}

void Control::SetFontSize(double size) {
    Font f = font_;
    f.size = size;
    SetFont(f);
}

void Control::SetFontBold(bool bold) {
    Font f = font_;
    f.bold = bold;
    SetFont(f);
}

void Control::SetFontItalic(bool italic) {
    Font f = font_;
    f.italic = italic;
    SetFont(f);
}

// ---- list -----------------------------------------------------------------------

void Control::AddItem(const std::string& item) {
    list_.push_back(item);
    Notify(Prop::List);
}

void Control::RemoveItem(int i) {
    if (i < 0 || i >= ListCount()) return;
    list_.erase(list_.begin() + i);
    if (listIndex_ == i) {
        listIndex_ = -1;
        text_.clear();
    } else if (listIndex_ > i) {
        --listIndex_;
    }
    Notify(Prop::List);
}

void Control::Clear() {
    if (list_.empty() && listIndex_ == -1) return;
    list_.clear();
    listIndex_ = -1;
    text_.clear();
    Notify(Prop::List);
}

std::string Control::List(int i) const {
    if (i < 0 || i >= ListCount()) return {};
    return list_[static_cast<size_t>(i)];
}

bool Control::SetListIndex(int i) {
    if (i < -1 || i >= ListCount()) return false;
    if (i == listIndex_) return true;
    listIndex_ = i;
    text_ = i >= 0 ? list_[static_cast<size_t>(i)] : std::string();
    Notify(Prop::ListIndex);
    Fire(Click);
    return true;
}

// ---- picture --------------------------------------------------------------------

void Control::SetPicture(Picture picture) {
    if (picture == picture_) return;
    picture_ = std::move(picture);
    Notify(Prop::Picture);
    SizeToPicture();
}

void Control::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    SizeToPicture();
}

void Control::SizeToPicture() {
    // An image always takes its picture's size; a picture box when AutoSize.
    const bool sizes = kind_ == ControlKind::Image || (kind_ == ControlKind::PictureBox && autoSize_);
    if (!sizes || !picture_) return;
    const int border = 2 * InnerBorderPixels();
    const int w = (picture_->widthPx + border) * Platform().TwipsPerPixelX() / ContainerUnitTwips(true);
    const int h =
        (picture_->heightPx + border) * Platform().TwipsPerPixelY() / ContainerUnitTwips(false);
    Move(left_, top_, w, h);
}

// ---- styles ---------------------------------------------------------------------

void Control::SetDefault(bool v) {
    if (v == default_) return;
    if (v) {
        // One default button per form.
        for (auto& c : form_.Controls())
            if (c.get() != this && c->Default()) c->SetDefault(false);
    }
    default_ = v;
    Notify(Prop::Style);
}

void Control::SetCancel(bool v) {
    if (v == cancel_) return;
    if (v) {
        for (auto& c : form_.Controls())
            if (c.get() != this && c->Cancel()) c->SetCancel(false);
    }
    cancel_ = v;
    Notify(Prop::Style);
}

void Control::SetBorderStyle(int v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    Notify(Prop::Style);
}

void Control::SetBackStyle(int v) {
    if (v == backStyle_) return;
    backStyle_ = v;
    Notify(Prop::Style);
}

void Control::SetAlignment(int v) {
    if (v == alignment_) return;
    alignment_ = v;
    Notify(Prop::Style);
}

void Control::SetAlign(int align) {
    if (align == align_) return;
    align_ = align;
    form_.ArrangeDocked();
}

void Control::SetScaleMode(int mode) {
    scaleMode_ = mode == kScalePixels ? kScalePixels : kScaleTwips;
}

// ---- drawing --------------------------------------------------------------------

void Control::SetDrawWidth(int pixels) {
    pixels = std::max(pixels, 1);
    if (pixels == drawWidth_) return;
    drawWidth_ = pixels;
    Notify(Prop::DrawState);
}

void Control::PSet(int x, int y, Color c) {
    currentX_ = x;
    currentY_ = y;
    form_.DrawOn(*this, {DrawOp::Kind::Point, x, y, x, y, c, drawWidth_});
}

void Control::Line(int x1, int y1, int x2, int y2, Color c) {
    currentX_ = x2;
    currentY_ = y2;
    form_.DrawOn(*this, {DrawOp::Kind::Line, x1, y1, x2, y2, c, drawWidth_});
}

void Control::LineTo(int x2, int y2, Color c) { Line(currentX_, currentY_, x2, y2, c); }

void Control::Box(int x1, int y1, int x2, int y2, Color c) {
    currentX_ = x2;
    currentY_ = y2;
    form_.DrawOn(*this, {DrawOp::Kind::Box, x1, y1, x2, y2, c, drawWidth_});
}

void Control::Cls() {
    currentX_ = 0;
    currentY_ = 0;
    form_.DrawOn(*this, {DrawOp::Kind::Clear, 0, 0, 0, 0, backColor_, drawWidth_});
}

// ---- focus, handle ----------------------------------------------------------------

void Control::SetFocus() {
    if (CanFocus()) form_.FocusControl(this);
}

void Control::Refresh() {
    if (FormPeer* peer = form_.Peer()) peer->Refresh(this);
}

std::intptr_t Control::Handle() const {
    FormPeer* peer = form_.Peer();
    return peer != nullptr ? peer->ControlHandle(const_cast<Control&>(*this)) : 0;
}

// ---- user actions -------------------------------------------------------------------

void Control::UserClick() {
    if (!Reachable()) return;
    switch (kind_) {
        case ControlKind::CheckBox: SetValue(value_ == 0 ? 1 : 0); return;
        case ControlKind::OptionButton:
            // Picking the selected option again still reports the click.
            if (value_ == 0) SetValue(1);
            else Fire(Click);
            return;
        case ControlKind::ComboBox:
        case ControlKind::HScrollBar: return;
        default: Fire(Click); return;
    }
}

void Control::UserDblClick() {
    if (Reachable()) Fire(DblClick);
}

void Control::UserThumbTrack(int v) {
    if (kind_ != ControlKind::HScrollBar || !Reachable()) return;
    v = ClampToRange(v);
    if (v == value_) return;
    value_ = v;
    trackMoved_ = true;
    Notify(Prop::Value);
    Fire(Scroll);
}

void Control::UserThumbRelease() {
    if (!trackMoved_) return;
    trackMoved_ = false;
    Fire(Change);
}

void Control::UserScroll(int v) {
    UserThumbTrack(v);
    UserThumbRelease();
}

void Control::UserLineScroll(int direction) {
    if (kind_ != ControlKind::HScrollBar || !Reachable()) return;
    SetValue(value_ + (direction < 0 ? -smallChange_ : smallChange_));
}

void Control::UserPageScroll(int direction) {
    if (kind_ != ControlKind::HScrollBar || !Reachable()) return;
    SetValue(value_ + (direction < 0 ? -largeChange_ : largeChange_));
}

void Control::UserScrollToEnd(int end) {
    if (kind_ != ControlKind::HScrollBar || !Reachable()) return;
    SetValue(end < 0 ? min_ : max_);
}

void Control::UserSelect(int i) {
    if (kind_ != ControlKind::ComboBox || !Reachable()) return;
    SetListIndex(i);
}

void Control::UserMouseDown(int button, int shift, int x, int y) {
    if (!Reachable()) return;
    if (MouseHandler h = MouseDown) h(button, shift, x, y);
}

void Control::UserMouseMove(int button, int shift, int x, int y) {
    if (!Reachable()) return;
    if (MouseHandler h = MouseMove) h(button, shift, x, y);
}

void Control::UserMouseUp(int button, int shift, int x, int y) {
    if (!Reachable()) return;
    if (MouseHandler h = MouseUp) h(button, shift, x, y);
}

void Control::UserKeyDown(int key, int shift) {
    if (!Reachable()) return;
    if (form_.KeyPreview()) form_.UserKeyDown(key, shift);
    if (KeyHandler h = KeyDown) h(key, shift);
}

void Control::UserKeyUp(int key, int shift) {
    if (!Reachable()) return;
    if (KeyHandler h = KeyUp) h(key, shift);
}

// ---- design state ---------------------------------------------------------------------

Control::State Control::Snapshot() const {
    return State{caption_,     text_,      value_,     min_,         max_,         smallChange_,
                 largeChange_, enabled_,   visible_,   foreColor_,   backColor_,   borderColor_,
                 left_,        top_,       width_,     height_,      font_,        list_,
                 listIndex_,   picture_,   autoSize_,  default_,     cancel_,      borderStyle_,
                 backStyle_,   alignment_, align_,     scaleMode_,   drawWidth_};
}

void Control::Restore(const State& s) {
    caption_ = s.caption;
    text_ = s.text;
    value_ = s.value;
    min_ = s.min;
    max_ = s.max;
    smallChange_ = s.smallChange;
    largeChange_ = s.largeChange;
    enabled_ = s.enabled;
    visible_ = s.visible;
    foreColor_ = s.foreColor;
    backColor_ = s.backColor;
    borderColor_ = s.borderColor;
    left_ = s.left;
    top_ = s.top;
    width_ = s.width;
    height_ = s.height;
    font_ = s.font;
    list_ = s.list;
    listIndex_ = s.listIndex;
    picture_ = s.picture;
    autoSize_ = s.autoSize;
    default_ = s.isDefault;
    cancel_ = s.isCancel;
    borderStyle_ = s.borderStyle;
    backStyle_ = s.backStyle;
    alignment_ = s.alignment;
    align_ = s.align;
    scaleMode_ = s.scaleMode;
    drawWidth_ = s.drawWidth;
    currentX_ = currentY_ = 0;
    trackMoved_ = false;
}

}  // namespace kv::ui
