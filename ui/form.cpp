#include "ui/form.h"

#include <algorithm>
#include <stdexcept>

#include "ui/headless.h"

namespace kv::ui {

namespace {

std::vector<Form*>& LoadedList() {
    static std::vector<Form*> forms;
    return forms;
}

Form*& ActivePointer() {
    static Form* active = nullptr;
    return active;
}

void Forget(Form* form) {
    auto& list = LoadedList();
    list.erase(std::remove(list.begin(), list.end(), form), list.end());
    if (ActivePointer() == form) ActivePointer() = nullptr;
}

}  // namespace

const std::vector<Form*>& LoadedForms() { return LoadedList(); }
Form* ActiveForm() { return ActivePointer(); }

struct Form::State {
    std::string caption;
    int left, top, width, height, clientWidth, clientHeight;
    bool enabled;
    Color backColor, foreColor;
    Font font;
    int mousePointer, borderStyle, windowState;
    bool topMost, keyPreview;
    std::vector<Control::State> controls;
};

Form::Form(std::string name) : name_(std::move(name)) {
    clientWidth_ = std::max(width_ - FrameWidth(), 0);
    clientHeight_ = std::max(height_ - FrameHeight(), 0);
}

Form::~Form() {
    // No events here: the handlers may refer to objects already gone.
    if (loaded_) Forget(this);
    peer_.reset();
}

// ---- controls ----------------------------------------------------------------

Control& Form::Add(ControlKind kind, const std::string& name, int index, Control* container) {
    if (Control* existing = Find(name, index)) return *existing;
    controls_.push_back(std::make_unique<Control>(*this, kind, name, index, container));
    Control& c = *controls_.back();
    tabOrder_.push_back(&c);
    if (peer_) peer_->ControlAdded(c);
    return c;
}

Control* Form::Find(const std::string& name, int index) {
    if (index < 0) index = -1;
    for (auto& c : controls_)
        if (c->Index() == index && c->Name() == name) return c.get();
    return nullptr;
}

Control& Form::Ctl(const std::string& name, int index) {
    if (Control* c = Find(name, index)) return *c;
    std::string what = name_ + "." + name;
    if (index >= 0) what += "(" + std::to_string(index) + ")";
    throw std::out_of_range("no control " + what);
}

std::vector<Control*> Form::Array(const std::string& name) {
    std::vector<Control*> elements;
    for (auto& c : controls_)
        if (c->Index() >= 0 && c->Name() == name) elements.push_back(c.get());
    std::sort(elements.begin(), elements.end(),
              [](Control* a, Control* b) { return a->Index() < b->Index(); });
    return elements;
}

int Form::LBound(const std::string& name) {
    auto elements = Array(name);
    return elements.empty() ? -1 : elements.front()->Index();
}

int Form::UBound(const std::string& name) {
    auto elements = Array(name);
    return elements.empty() ? -1 : elements.back()->Index();
}

void Form::ClearOptionSiblings(Control& option) {
    for (auto& c : controls_) {
        if (c.get() == &option || c->Kind() != ControlKind::OptionButton) continue;
        if (c->Container() != option.Container()) continue;
        c->SetValue(0);  // clearing an option fires nothing
    }
}

void Form::ArrangeDocked() {
    int top = 0;
    int bottom = clientHeight_;
    for (auto& c : controls_) {
        if (c->Container() != nullptr || c->Kind() != ControlKind::PictureBox) continue;
        if (c->Align() == kDockTop) {
            c->Move(0, top, clientWidth_, c->Height());
            top += c->Height();
        } else if (c->Align() == kDockBottom) {
            bottom -= c->Height();
            c->Move(0, bottom, clientWidth_, c->Height());
        }
    }
}

// ---- properties ------------------------------------------------------------------

void Form::Notify(Prop what) {
    if (peer_) peer_->Changed(nullptr, what);
}

void Form::NotifyControl(Control& c, Prop what) {
    if (peer_) peer_->Changed(&c, what);
}

void Form::DrawOn(Control& c, const DrawOp& op) {
    if (peer_) peer_->Draw(c, op);
}

void Form::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Notify(Prop::Caption);
}

int Form::FrameWidth() const {
    if (peer_) return peer_->FrameWidthTwips();
    return borderStyle_ == kBorderNone ? 0 : Headless().FrameWidth();
}

int Form::FrameHeight() const {
    if (peer_) return peer_->FrameHeightTwips();
    return borderStyle_ == kBorderNone ? 0 : Headless().FrameHeight();
}

void Form::Move(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    clientWidth_ = std::max(width_ - FrameWidth(), 0);
    clientHeight_ = std::max(height_ - FrameHeight(), 0);
    Notify(Prop::Geometry);
    ClientSizeChanged();
}

void Form::SetClientSize(int width, int height) {
    Move(left_, top_, std::max(width, 0) + FrameWidth(), std::max(height, 0) + FrameHeight());
}

int Form::ScaleWidth() const { return clientWidth_; }
int Form::ScaleHeight() const { return clientHeight_; }

void Form::PeerGeometry(int left, int top, int width, int height, int clientWidth,
                        int clientHeight) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    ClientSizeChanged();
}

void Form::ClientSizeChanged() {
    ArrangeDocked();
    // Resize fires from the first Show on, whenever the client size changes.
    if (!loaded_ || lastResizeW_ < 0) return;
    if (clientWidth_ == lastResizeW_ && clientHeight_ == lastResizeH_) return;
    lastResizeW_ = clientWidth_;
    lastResizeH_ = clientHeight_;
    if (Handler h = OnResize) h();
}

void Form::SetVisible(bool visible) {
    if (visible) Show();
    else Hide();
}

void Form::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Notify(Prop::Enabled);
}

void Form::SetBackColor(Color c) {
    if (c == backColor_) return;
    backColor_ = c;
    Notify(Prop::BackColor);
}

void Form::SetForeColor(Color c) {
    if (c == foreColor_) return;
    foreColor_ = c;
    Notify(Prop::ForeColor);
}

void Form::SetFont(const Font& font) {
    if (font == font_) return;
    font_ = font;
    Notify(Prop::Font);
}

void Form::SetMousePointer(int pointer) {
    if (pointer == mousePointer_) return;
    mousePointer_ = pointer;
    Notify(Prop::MousePointer);
}

void Form::SetBorderStyle(int style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    // The client area is what the designer drew; the frame follows the style.
    width_ = clientWidth_ + FrameWidth();
    height_ = clientHeight_ + FrameHeight();
    Notify(Prop::Style);
}

void Form::SetWindowState(int state) {
    if (state == windowState_) return;
    windowState_ = state;
    Notify(Prop::WindowState);
}

void Form::SetTopMost(bool topMost) {
    if (topMost == topMost_) return;
    topMost_ = topMost;
    Notify(Prop::Style);
}

void Form::SetClosable(bool closable) {
    if (closable == closable_) return;
    closable_ = closable;
    Notify(Prop::Style);
}

// ---- life cycle ---------------------------------------------------------------------

void Form::RecordDesign() {
    design_ = std::make_unique<State>();
    State& s = *design_;
    s.caption = caption_;
    s.left = left_;
    s.top = top_;
    s.width = width_;
    s.height = height_;
    s.clientWidth = clientWidth_;
    s.clientHeight = clientHeight_;
    s.enabled = enabled_;
    s.backColor = backColor_;
    s.foreColor = foreColor_;
    s.font = font_;
    s.mousePointer = mousePointer_;
    s.borderStyle = borderStyle_;
    s.windowState = windowState_;
    s.topMost = topMost_;
    s.keyPreview = keyPreview_;
    for (auto& c : controls_) s.controls.push_back(c->Snapshot());
}

void Form::RestoreDesign() {
    if (!design_) return;
    const State& s = *design_;
    caption_ = s.caption;
    left_ = s.left;
    top_ = s.top;
    width_ = s.width;
    height_ = s.height;
    clientWidth_ = s.clientWidth;
    clientHeight_ = s.clientHeight;
    enabled_ = s.enabled;
    backColor_ = s.backColor;
    foreColor_ = s.foreColor;
    font_ = s.font;
    mousePointer_ = s.mousePointer;
    borderStyle_ = s.borderStyle;
    windowState_ = s.windowState;
    topMost_ = s.topMost;
    keyPreview_ = s.keyPreview;
    for (size_t i = 0; i < s.controls.size() && i < controls_.size(); ++i)
        controls_[i]->Restore(s.controls[i]);
}

void Form::Load() {
    if (loaded_ || unloading_) return;
    if (!design_) RecordDesign();
    loaded_ = true;
    LoadedList().push_back(this);
    peer_ = Platform().CreatePeer(*this);
    if (Handler h = OnLoad) h();
}

void Form::Show() {
    Load();
    if (!loaded_) return;  // the Load handler unloaded the form
    if (!visible_) {
        // A window system activates the window as it shows it; the runtime's
        // order is Load, Resize, Activate, so the activation waits.
        visible_ = true;
        showing_ = true;
        Notify(Prop::Visible);
        showing_ = false;
    }
    if (!loaded_) return;
    if (lastResizeW_ < 0) {
        lastResizeW_ = clientWidth_;
        lastResizeH_ = clientHeight_;
        if (Handler h = OnResize) h();
        if (!loaded_) return;
    }
    if (!visible_ || !activateOnShow_) return;
    ActivateNow();
    if (loaded_) RestoreFocus();
}

void Form::SetFocus() {
    if (!peer_) return;
    peer_->SetFocus(nullptr);
    RestoreFocus();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (ActivePointer() == this) ActivePointer() = nullptr;
    Notify(Prop::Visible);
}

void Form::ActivateNow() {
    if (ActivePointer() == this) return;
    ActivePointer() = this;
    if (Handler h = OnActivate) h();
}

void Form::UserActivate() {
    if (!loaded_ || !visible_ || unloading_) return;
    if (!showing_) ActivateNow();  // Show fires Activate itself, after Resize
    if (loaded_) RestoreFocus();
}

void Form::Unload() {
    if (!loaded_ || unloading_) return;
    unloading_ = true;
    if (Handler h = OnUnload) h();
    Forget(this);
    peer_.reset();
    activeControl_ = nullptr;
    loaded_ = false;
    visible_ = false;
    lastResizeW_ = lastResizeH_ = -1;
    RestoreDesign();
    unloading_ = false;
}

void Form::UserClose() {
    if (closable_) Unload();
}

void Form::Refresh() {
    if (peer_) peer_->Refresh(nullptr);
}

int Form::TextWidth(const std::string& text) {
    if (peer_) return peer_->TextWidthTwips(font_, text);
    return EstimateTextWidthTwips(font_, text);
}

std::intptr_t Form::Handle() const { return peer_ ? peer_->FormHandle() : 0; }

// ---- user actions -------------------------------------------------------------------

void Form::UserKeyDown(int key, int shift) {
    if (!enabled_) return;
    if (KeyHandler h = OnKeyDown) h(key, shift);
}

void Form::UserMouseDown(int button, int shift, int x, int y) {
    if (!enabled_) return;
    if (MouseHandler h = OnMouseDown) h(button, shift, x, y);
}

bool Form::PressDefault() {
    for (auto& c : controls_) {
        if (c->Kind() == ControlKind::CommandButton && c->Default() && c->Reachable()) {
            c->UserClick();
            return true;
        }
    }
    return false;
}

// ---- focus and keyboard ---------------------------------------------------------

int Form::TabIndexOf(const Control& c) const {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), &c);
    return it == tabOrder_.end() ? -1 : static_cast<int>(it - tabOrder_.begin());
}

void Form::MoveInTabOrder(Control& c, int index) {
    const auto it = std::find(tabOrder_.begin(), tabOrder_.end(), &c);
    if (it == tabOrder_.end()) return;
    tabOrder_.erase(it);
    index = std::clamp(index, 0, static_cast<int>(tabOrder_.size()));
    tabOrder_.insert(tabOrder_.begin() + index, &c);
}

std::vector<Control*> Form::TabStops() const {
    std::vector<Control*> stops;
    for (Control* c : tabOrder_) {
        if (!c->TabStop() || !c->CanFocus()) continue;
        if (c->Kind() == ControlKind::OptionButton && c->Value() == 0) {
            // An unselected option is a stop only for a group with no
            // selected option, and then only the group's first.
            bool groupHasStop = false;
            for (Control* other : tabOrder_) {
                if (other == c) break;
                if (other->Kind() == ControlKind::OptionButton &&
                    other->Container() == c->Container() && other->CanFocus())
                    groupHasStop = true;
            }
            for (Control* other : tabOrder_)
                if (other->Kind() == ControlKind::OptionButton &&
                    other->Container() == c->Container() && other->Value() != 0 &&
                    other->CanFocus())
                    groupHasStop = true;
            if (groupHasStop) continue;
        }
        stops.push_back(c);
    }
    return stops;
}

Control* Form::NextTabStop(const Control* from, bool forward) const {
    const std::vector<Control*> stops = TabStops();
    if (stops.empty()) return nullptr;
    const int n = static_cast<int>(tabOrder_.size());
    const int start = from != nullptr ? TabIndexOf(*from) : -1;
    if (start < 0) return forward ? stops.front() : stops.back();
    for (int i = 1; i <= n; ++i) {
        Control* c = tabOrder_[static_cast<size_t>(((start + (forward ? i : -i)) % n + n) % n)];
        if (std::find(stops.begin(), stops.end(), c) != stops.end()) return c;
    }
    return nullptr;
}

Control* Form::DefaultBorderHolder() const {
    if (activeControl_ != nullptr && activeControl_->Kind() == ControlKind::CommandButton)
        return activeControl_;
    for (auto& c : controls_)
        if (c->Kind() == ControlKind::CommandButton && c->Default()) return c.get();
    return nullptr;
}

void Form::SetActive(Control* c) {
    if (c == activeControl_) return;
    Control* oldBorder = DefaultBorderHolder();
    activeControl_ = c;
    Control* newBorder = DefaultBorderHolder();
    if (oldBorder == newBorder) return;
    if (oldBorder != nullptr) NotifyControl(*oldBorder, Prop::Style);
    if (newBorder != nullptr) NotifyControl(*newBorder, Prop::Style);
}

void Form::FocusControl(Control* c) {
    if (c == nullptr || &c->Owner() != this) return;
    SetActive(c);
    if (peer_) peer_->SetFocus(c);
}

void Form::PeerFocus(Control* c) {
    if (c != nullptr && &c->Owner() != this) return;
    SetActive(c);
}

void Form::RestoreFocus() {
    if (!loaded_ || !visible_) return;
    Control* target = (activeControl_ != nullptr && activeControl_->CanFocus())
                          ? activeControl_
                          : NextTabStop(nullptr, true);
    if (target != nullptr) {
        FocusControl(target);
        return;
    }
    SetActive(nullptr);
    if (peer_) peer_->FocusFormWindow();
}

void Form::ControlLostReach(Control& c) {
    bool inside = false;
    for (const Control* p = activeControl_; p != nullptr; p = p->Container())
        if (p == &c) inside = true;
    if (!inside) return;
    Control* from = activeControl_;
    Control* next = NextTabStop(from, true);
    if (next != nullptr && next != from) {
        FocusControl(next);
        return;
    }
    SetActive(nullptr);
    if (peer_ && visible_) peer_->FocusFormWindow();
}

bool Form::MoveWithinContainer(Control& from, bool forward) {
    // A container's options form one group; other controls move among the
    // stops of their own container.
    const bool option = from.Kind() == ControlKind::OptionButton;
    std::vector<Control*> group;
    if (option) {
        for (Control* c : tabOrder_)
            if (c->Kind() == ControlKind::OptionButton && c->Container() == from.Container() &&
                c->CanFocus())
                group.push_back(c);
    } else {
        for (Control* c : TabStops())
            if (c->Container() == from.Container() && c->Kind() != ControlKind::OptionButton)
                group.push_back(c);
    }
    const auto it = std::find(group.begin(), group.end(), &from);
    if (it == group.end()) return false;
    const int n = static_cast<int>(group.size());
    const int i = static_cast<int>(it - group.begin());
    Control* target = group[static_cast<size_t>(((i + (forward ? 1 : -1)) % n + n) % n)];
    if (target == &from) return true;
    FocusControl(target);
    if (option) target->UserClick();  // the option reached is selected
    return true;
}

bool Form::UserNavigationKey(int key, int shift) {
    if (!enabled_ || (shift & kAltMask) != 0) return false;
    Control* focus =
        (activeControl_ != nullptr && activeControl_->CanFocus()) ? activeControl_ : nullptr;
    if (focus != nullptr && focus->WantsAllKeys()) return false;
    if (focus == nullptr && OnKeyDown) return false;
    switch (key) {
        case kKeyTab: {
            Control* next = NextTabStop(focus, (shift & kShiftMask) == 0);
            if (next == nullptr) return false;
            FocusControl(next);
            return true;
        }
        case kKeyReturn:
            if (focus != nullptr && focus->Kind() == ControlKind::CommandButton) {
                focus->UserClick();
                return true;
            }
            return PressDefault();
        case kKeyEscape: return PressCancel();
        case kKeyLeft:
        case kKeyUp:
        case kKeyRight:
        case kKeyDown:
            if (focus == nullptr) return false;
            switch (focus->Kind()) {
                case ControlKind::OptionButton:
                case ControlKind::CommandButton:
                case ControlKind::CheckBox:
                    return MoveWithinContainer(*focus, key == kKeyRight || key == kKeyDown);
                default: return false;  // scroll bars and lists use arrows themselves
            }
        default: return false;
    }
}

bool Form::UserAccessKey(char ch, bool alt) {
    if (!enabled_) return false;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))) return false;
    Control* focus = activeControl_;
    if (!alt) {
        if (focus == nullptr && OnKeyDown) return false;
        if (focus != nullptr && (focus->Kind() == ControlKind::ComboBox || focus->WantsAllKeys()))
            return false;  // it takes characters itself
    }
    const int n = static_cast<int>(tabOrder_.size());
    const int start = focus != nullptr ? TabIndexOf(*focus) : -1;
    // From the focused control on, so that a key shared by two controls
    // alternates between them.
    for (int i = 1; i <= n; ++i) {
        Control* c = tabOrder_[static_cast<size_t>((start + i + n) % n)];
        if (c->AccessKey() != ch) continue;
        if (c->Kind() == ControlKind::Label || c->Kind() == ControlKind::Frame) {
            if (!c->Reachable()) continue;
            if (Control* next = NextTabStop(c, true)) {  // a label names the control after it
                FocusControl(next);
                return true;
            }
            continue;
        }
        if (!c->CanFocus()) continue;
        FocusControl(c);
        if (c->Kind() == ControlKind::CommandButton || c->Kind() == ControlKind::CheckBox ||
            c->Kind() == ControlKind::OptionButton)
            c->UserClick();
        return true;
    }
    return false;
}

bool Form::PressCancel() {
    for (auto& c : controls_) {
        if (c->Kind() == ControlKind::CommandButton && c->Cancel() && c->Reachable()) {
            c->UserClick();
            return true;
        }
    }
    return false;
}

}  // namespace kv::ui
