#include "ui/headless.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ui/form.h"

namespace kv::ui {

namespace {
FormPlatform* g_platform = nullptr;
}

HeadlessPlatform& Headless() {
    static HeadlessPlatform platform;
    return platform;
}

FormPlatform& Platform() { return g_platform != nullptr ? *g_platform : Headless(); }

void SetPlatform(FormPlatform* platform) { g_platform = platform; }

int EstimateTextWidthTwips(const Font& font, const std::string& text) {
    const double perChar = font.size * 20.0 * 0.5 * (font.bold ? 1.1 : 1.0);
    return static_cast<int>(perChar * static_cast<double>(text.size()) + 0.5);
}

// ---- peer ----------------------------------------------------------------------

void HeadlessPeer::Draw(Control& surface, const DrawOp& op) {
    auto& ops = drawing_[&surface];
    if (op.kind == DrawOp::Kind::Clear) ops.clear();
    else ops.push_back(op);
}

const std::vector<DrawOp>& HeadlessPeer::Drawing(const Control& surface) const {
    static const std::vector<DrawOp> none;
    auto it = drawing_.find(&surface);
    return it == drawing_.end() ? none : it->second;
}

int HeadlessPeer::FrameWidthTwips() {
    return form_.BorderStyle() == kBorderNone ? 0 : Headless().FrameWidth();
}

int HeadlessPeer::FrameHeightTwips() {
    return form_.BorderStyle() == kBorderNone ? 0 : Headless().FrameHeight();
}

int HeadlessPeer::TextWidthTwips(const Font& font, const std::string& text) {
    return EstimateTextWidthTwips(font, text);
}

std::intptr_t HeadlessPeer::ControlHandle(Control& control) {
    if (control.Kind() == ControlKind::Shape) return 0;  // windowless
    const auto& controls = form_.Controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == &control) return handle_ + 4 * static_cast<std::intptr_t>(i + 1);
    return 0;
}

void HeadlessPeer::Changed(Control* control, Prop what) {
    // A maximised form fills the screen when it is shown.
    if (control != nullptr || (what != Prop::Visible && what != Prop::WindowState)) return;
    if (!form_.Visible() || form_.WindowState() != kWindowMaximized) return;
    auto& platform = Platform();
    const int w = platform.ScreenWidthTwips();
    const int h = platform.ScreenHeightTwips();
    form_.PeerGeometry(0, 0, w, h, w - FrameWidthTwips(), h - FrameHeightTwips());
}

// ---- platform ------------------------------------------------------------------

std::unique_ptr<FormPeer> HeadlessPlatform::CreatePeer(Form& form) {
    nextHandle_ += 0x100;
    return std::make_unique<HeadlessPeer>(form, nextHandle_);
}

void HeadlessPlatform::DoEvents() {
    ++doEventsCount_;
    if (std::function<void()> hook = doEventsHook_) hook();
}

Picture HeadlessPlatform::LoadPicture(const std::string& path) {
    int w = 0, h = 0;
    if (!ReadBitmapSize(path, &w, &h)) return nullptr;
    auto data = std::make_shared<PictureData>();
    data->type = PictureData::Type::Bitmap;
    data->source = path;
    data->widthPx = w;
    data->heightPx = h;
    return data;
}

Picture HeadlessPlatform::LoadResPicture(int id, PictureData::Type type) {
    auto it = resources_.find({id, static_cast<int>(type)});
    if (it == resources_.end()) return nullptr;
    auto data = std::make_shared<PictureData>();
    data->type = type;
    data->resourceId = id;
    data->widthPx = it->second.first;
    data->heightPx = it->second.second;
    return data;
}

void HeadlessPlatform::AddResource(int id, PictureData::Type type, int widthPx, int heightPx) {
    resources_[{id, static_cast<int>(type)}] = {widthPx, heightPx};
}

void HeadlessPlatform::Reset() {
    screenWidthPx_ = 1024;
    screenHeightPx_ = 768;
    twipsPerPixel_ = 15;
    screenPointer_ = 0;
    frameWidth_ = 120;
    frameHeight_ = 405;
    doEventsHook_ = nullptr;
    doEventsCount_ = 0;
    resources_.clear();
}

// ---- bitmap header ---------------------------------------------------------------

namespace {
std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
}  // namespace

bool ReadBitmapSize(const std::string& path, int* widthPx, int* heightPx) {
    if (path.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    unsigned char head[26] = {};
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if (got < sizeof head || head[0] != 'B' || head[1] != 'M') return false;
    const std::uint32_t infoSize = Le(head + 14, 4);
    long w = 0, h = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        w = static_cast<long>(Le(head + 18, 2));
        h = static_cast<long>(Le(head + 20, 2));
    } else if (infoSize >= 40) {
        w = static_cast<std::int32_t>(Le(head + 18, 4));
        h = static_cast<std::int32_t>(Le(head + 22, 4));
        h = std::labs(h);  // negative: stored top-down
    } else {
        return false;
    }
    if (w <= 0 || h <= 0 || w > 0x7FFF || h > 0x7FFF) return false;
    *widthPx = static_cast<int>(w);
    *heightPx = static_cast<int>(h);
    return true;
}

}  // namespace kv::ui
