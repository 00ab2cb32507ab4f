// The process-wide part of the Win32 form back end: window classes, the
// message loop and DoEvents, screen metrics, pictures, design names.
#include <windows.h>

#include "win32/win32_form_peer.h"
#include "win32/win32_forms.h"

namespace kv::win32 {

Win32FormPlatform::Win32FormPlatform(HINSTANCE instance) : instance_(instance) {
    RegisterFormClasses(instance_);
    HDC screen = GetDC(nullptr);
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpiX_ <= 0) dpiX_ = 96;
    if (dpiY_ <= 0) dpiY_ = 96;
}

Win32FormPlatform::~Win32FormPlatform() {
    if (&ui::Platform() == this) ui::SetPlatform(nullptr);
}

std::unique_ptr<ui::FormPeer> Win32FormPlatform::CreatePeer(ui::Form& form) {
    return std::make_unique<Win32FormPeer>(*this, form);
}

void Win32FormPlatform::Dispatch(MSG& msg) {
    // The forms do their own keyboard navigation: the system's dialog
    // manager would query the form with DM_GETDEFID (a WM_USER message that
    // a program's own procedure may take for one of its commands) and keeps
    // its default button apart from the model's.
    if (RouteFormKeys(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Win32FormPlatform::DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            break;
        }
        Dispatch(msg);
    }
}

void Win32FormPlatform::RunMessageLoop() {
    MSG msg;
    while (!ui::LoadedForms().empty()) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        Dispatch(msg);
    }
}

int Win32FormPlatform::TwipsPerPixelX() { return 1440 / dpiX_; }
int Win32FormPlatform::TwipsPerPixelY() { return 1440 / dpiY_; }
int Win32FormPlatform::ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
int Win32FormPlatform::ScreenHeightTwips() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

void Win32FormPlatform::SetScreenMousePointer(int pointer) {
    screenPointer_ = pointer;
    SetCursor(LoadCursorA(nullptr, pointer == ui::kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

namespace {

ui::Picture MakePicture(HANDLE image, ui::PictureData::Type type, int width, int height,
                        const std::string& source, int resourceId) {
    auto data = std::make_shared<ui::PictureData>();
    data->type = type;
    data->source = source;
    data->resourceId = resourceId;
    data->widthPx = width;
    data->heightPx = height;
    if (type == ui::PictureData::Type::Icon)
        data->native = std::shared_ptr<void>(image, [](void* p) { DestroyIcon(static_cast<HICON>(p)); });
    else
        data->native = std::shared_ptr<void>(image, [](void* p) { DeleteObject(static_cast<HGDIOBJ>(p)); });
    return data;
}

}  // namespace

ui::Picture Win32FormPlatform::LoadPicture(const std::string& path) {
    if (path.empty()) return nullptr;
    HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (image == nullptr) return nullptr;
    BITMAP bm{};
    GetObjectA(image, sizeof bm, &bm);
    return MakePicture(image, ui::PictureData::Type::Bitmap, bm.bmWidth, bm.bmHeight, path, 0);
}

ui::Picture Win32FormPlatform::LoadResPicture(int id, ui::PictureData::Type type) {
    ui::Picture& cached = resourcePictures_[{id, static_cast<int>(type)}];
    if (!cached) cached = LoadResPictureNow(id, type);
    return cached;
}

ui::Picture Win32FormPlatform::LoadResPictureNow(int id, ui::PictureData::Type type) {
    const bool icon = type == ui::PictureData::Type::Icon;
    HANDLE image = LoadImageA(instance_, MAKEINTRESOURCEA(id), icon ? IMAGE_ICON : IMAGE_BITMAP, 0, 0,
                              icon ? LR_DEFAULTSIZE : 0);
    if (image == nullptr) return nullptr;
    int width = 0, height = 0;
    if (icon) {
        width = GetSystemMetrics(SM_CXICON);
        height = GetSystemMetrics(SM_CYICON);
    } else {
        BITMAP bm{};
        GetObjectA(image, sizeof bm, &bm);
        width = bm.bmWidth;
        height = bm.bmHeight;
    }
    return MakePicture(image, type, width, height, std::string(), id);
}

// ---- handles and design names ----------------------------------------------------------

HWND FormWindow(const ui::Form& form) { return reinterpret_cast<HWND>(form.Handle()); }
HWND ControlWindow(const ui::Control& control) { return reinterpret_cast<HWND>(control.Handle()); }

void SetDesignName(HWND window, const std::string& name) {
    RemoveDesignName(window);
    ATOM atom = GlobalAddAtomA(name.c_str());
    if (atom != 0) SetPropA(window, "Name", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void RemoveDesignName(HWND window) {
    HANDLE h = RemovePropA(window, "Name");
    if (h != nullptr) GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(h)));
}

std::string DesignNameOf(HWND window) {
    if (Win32FormPeer* peer = PeerOfDescendant(window))
        if (const ui::Control* c = peer->ControlOf(window)) return c->DesignName();
    HANDLE h = GetPropA(window, "Name");
    if (h == nullptr) return {};
    char name[256] = {};
    if (GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(h)), name, sizeof name) == 0)
        return {};
    return name;
}

HWND FindChildByDesignName(HWND parent, const std::string& name) {
    Win32FormPeer* peer = PeerOfDescendant(parent);
    ui::Control* c = peer != nullptr ? peer->ControlNamed(name) : nullptr;
    HWND w = c != nullptr ? peer->EnsureWindow(*c) : nullptr;
    return w != nullptr && IsChild(parent, w) ? w : nullptr;
}

COLORREF ToColorRef(ui::Color color) {
    if (ui::IsSystemColor(color)) return GetSysColor(static_cast<int>(ui::SystemColorIndex(color)));
    return color & 0xFFFFFFu;
}

}  // namespace kv::win32
