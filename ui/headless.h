// The headless back end: no windows, properties only. It is the default
// platform, so unit tests can load forms, click, scroll and read captions
// without a display. Tests reach it with Headless() to set the screen, a
// DoEvents hook, pictures of resources, or to read what was drawn.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace kv::ui {

class HeadlessPeer : public FormPeer {
public:
    explicit HeadlessPeer(Form& form, std::intptr_t handle) : form_(form), handle_(handle) {}

    void Changed(Control* control, Prop what) override;
    void ControlAdded(Control&) override {}
    void Draw(Control& surface, const DrawOp& op) override;
    void SetFocus(Control* control) override { focus_ = control; }
    void Refresh(Control*) override {}
    int FrameWidthTwips() override;
    int FrameHeightTwips() override;
    int TextWidthTwips(const Font& font, const std::string& text) override;
    std::intptr_t FormHandle() override { return handle_; }
    std::intptr_t ControlHandle(Control& control) override;

    // What was drawn on each picture box since its last Cls.
    const std::vector<DrawOp>& Drawing(const Control& surface) const;
    Control* Focus() const { return focus_; }

private:
    Form& form_;
    std::intptr_t handle_;
    Control* focus_ = nullptr;
    std::map<const Control*, std::vector<DrawOp>> drawing_;
};

class HeadlessPlatform : public FormPlatform {
public:
    std::unique_ptr<FormPeer> CreatePeer(Form& form) override;
    void DoEvents() override;
    void RunMessageLoop() override {}
    int ScreenWidthTwips() override { return screenWidthPx_ * twipsPerPixel_; }
    int ScreenHeightTwips() override { return screenHeightPx_ * twipsPerPixel_; }
    int TwipsPerPixelX() override { return twipsPerPixel_; }
    int TwipsPerPixelY() override { return twipsPerPixel_; }
    void SetScreenMousePointer(int pointer) override { screenPointer_ = pointer; }
    int ScreenMousePointer() override { return screenPointer_; }
    // Reads the size from the file's bitmap header.
    Picture LoadPicture(const std::string& path) override;
    Picture LoadResPicture(int id, PictureData::Type type) override;

    // Test controls.
    void SetScreenPixels(int width, int height) {
        screenWidthPx_ = width;
        screenHeightPx_ = height;
    }
    void SetTwipsPerPixel(int twips) { twipsPerPixel_ = twips; }
    // Called by every DoEvents (a test's stand-in for pending window events).
    void SetDoEventsHook(std::function<void()> hook) { doEventsHook_ = std::move(hook); }
    int DoEventsCount() const { return doEventsCount_; }
    void AddResource(int id, PictureData::Type type, int widthPx, int heightPx);
    // Frame of a bordered window (outer minus client), in twips.
    void SetFrameTwips(int width, int height) {
        frameWidth_ = width;
        frameHeight_ = height;
    }
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    // Back to the defaults: 1024 x 768 at 15 twips per pixel, no hook.
    void Reset();

private:
    int screenWidthPx_ = 1024, screenHeightPx_ = 768, twipsPerPixel_ = 15;
    int screenPointer_ = 0;
    int frameWidth_ = 120, frameHeight_ = 405;  // 4-pixel borders, 19-pixel caption
    std::function<void()> doEventsHook_;
    int doEventsCount_ = 0;
    std::intptr_t nextHandle_ = 0x10010;
    std::map<std::pair<int, int>, std::pair<int, int>> resources_;
};

// The process's headless platform (the default one).
HeadlessPlatform& Headless();

// A text width estimate for when no window can measure it: an average
// character of half the em, bold a tenth wider.
int EstimateTextWidthTwips(const Font& font, const std::string& text);

// Width and height in pixels from a .bmp file's header; false when the file
// is missing or is not a bitmap.
bool ReadBitmapSize(const std::string& path, int* widthPx, int* heightPx);

}  // namespace kv::ui
