// Painting for the form back end: colours and fonts, windowless shapes,
// the persistent drawing surface of picture boxes, images.
#include <algorithm>
#include <cmath>

#include "win32/win32_form_peer.h"
#include "win32/win32_forms.h"

namespace kv::win32 {

using ui::Control;
using ui::ControlKind;

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

void DrawPicture(HDC dc, const ui::Picture& picture, int x, int y) {
    if (!picture || !picture->native) return;
    if (picture->type == ui::PictureData::Type::Icon) {
        DrawIconEx(dc, x, y, static_cast<HICON>(picture->native.get()), picture->widthPx,
                   picture->heightPx, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, static_cast<HBITMAP>(picture->native.get()));
    BitBlt(dc, x, y, picture->widthPx, picture->heightPx, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// ---- painting -------------------------------------------------------------------------

HBRUSH Win32FormPeer::Brush(COLORREF color) {
    auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second;
    HBRUSH b = CreateSolidBrush(color);
    brushes_[color] = b;
    return b;
}

HFONT Win32FormPeer::FontOf(const ui::Font& font) {
    const int centiPoints = Round(font.size * 100.0);
    auto key = std::make_tuple(font.name, centiPoints, font.bold, font.italic);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    const int dpi = 1440 / platform_.TwipsPerPixelY();
    HFONT f = CreateFontA(-MulDiv(centiPoints, dpi, 7200), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                          font.italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          font.name.c_str());
    fonts_[key] = f;
    return f;
}

int Win32FormPeer::TextWidthTwips(const ui::Font& font, const std::string& text) {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, FontOf(font));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return ToTwipsX(size.cx);
}

COLORREF Win32FormPeer::ContainerBack(const Control& c) const {
    return ToColorRef(c.Container() != nullptr ? c.Container()->BackColor() : form_.BackColor());
}

void Win32FormPeer::PaintShapes(HDC dc, const Control* container) {
    for (auto& p : form_.Controls()) {
        Control& s = *p;
        if (s.Kind() != ControlKind::Shape || s.Container() != container || !s.Visible()) continue;
        RECT r = PixelRect(s);
        HPEN pen = s.BorderStyle() != 0 ? CreatePen(PS_SOLID, 1, ToColorRef(s.BorderColor()))
                                        : static_cast<HPEN>(GetStockObject(NULL_PEN));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, s.BackStyle() == 1 ? Brush(ToColorRef(s.BackColor()))
                                                               : GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        if (s.BorderStyle() != 0) DeleteObject(pen);
    }
}

void Win32FormPeer::ResizeCanvas(Control& box) {
    HWND w = WindowOf(box);
    if (w == nullptr) return;
    RECT client;
    GetClientRect(w, &client);
    Canvas& canvas = canvases_[&box];
    if (canvas.bitmap != nullptr && canvas.width == client.right && canvas.height == client.bottom)
        return;
    // Keep what was drawn; new area gets the background.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<int>(client.right, 1),
                                            std::max<int>(client.bottom, 1));
    HDC dst = CreateCompatibleDC(screen);
    HGDIOBJ oldDst = SelectObject(dst, bitmap);
    RECT all{0, 0, std::max<int>(client.right, 1), std::max<int>(client.bottom, 1)};
    FillRect(dst, &all, Brush(ToColorRef(box.BackColor())));
    if (canvas.bitmap != nullptr) {
        HDC src = CreateCompatibleDC(screen);
        HGDIOBJ oldSrc = SelectObject(src, canvas.bitmap);
        BitBlt(dst, 0, 0, canvas.width, canvas.height, src, 0, 0, SRCCOPY);
        SelectObject(src, oldSrc);
        DeleteDC(src);
        DeleteObject(canvas.bitmap);
    } else {
        DrawPicture(dst, box.GetPicture(), 0, 0);
    }
    SelectObject(dst, oldDst);
    DeleteDC(dst);
    ReleaseDC(nullptr, screen);
    canvas.bitmap = bitmap;
    canvas.width = client.right;
    canvas.height = client.bottom;
}

void Win32FormPeer::ClearCanvas(Control& box) {
    ResizeCanvas(box);
    Canvas& canvas = canvases_[&box];
    if (canvas.bitmap == nullptr) return;
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, canvas.bitmap);
    RECT all{0, 0, canvas.width, canvas.height};
    FillRect(mem, &all, Brush(ToColorRef(box.BackColor())));
    DrawPicture(mem, box.GetPicture(), 0, 0);
    SelectObject(mem, old);
    DeleteDC(mem);
    if (HWND w = WindowOf(box)) InvalidateRect(w, nullptr, FALSE);
}

void Win32FormPeer::PaintPictureBox(Control& box, HDC dc) {
    ResizeCanvas(box);
    Canvas& canvas = canvases_[&box];
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, canvas.bitmap);
    BitBlt(dc, 0, 0, canvas.width, canvas.height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    PaintShapes(dc, &box);
}

void Win32FormPeer::PaintImage(Control& image, HDC dc) {
    EraseUnder(image, dc);
    DrawPicture(dc, image.GetPicture(), 0, 0);
}

void Win32FormPeer::EraseUnder(Control& c, HDC dc) {
    HWND w = WindowOf(c);
    RECT client{};
    GetClientRect(w, &client);
    Control* container = c.Container();
    if (container != nullptr && container->Kind() == ControlKind::PictureBox) {
        // Show the container's drawing through.
        ResizeCanvas(*container);
        Canvas& canvas = canvases_[container];
        POINT origin{0, 0};
        MapWindowPoints(w, WindowOf(*container), &origin, 1);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, canvas.bitmap);
        BitBlt(dc, 0, 0, client.right, client.bottom, mem, origin.x, origin.y, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return;
    }
    FillRect(dc, &client, Brush(ContainerBack(c)));
}

void Win32FormPeer::Draw(Control& surface, const ui::DrawOp& op) {
    if (surface.Kind() != ControlKind::PictureBox) return;
    HWND w = WindowOf(surface);
    if (w == nullptr) return;
    if (op.kind == ui::DrawOp::Kind::Clear) {
        ClearCanvas(surface);
        return;
    }
    ResizeCanvas(surface);
    Canvas& canvas = canvases_[&surface];
    const int ux = surface.ScaleUnitTwips(true), uy = surface.ScaleUnitTwips(false);
    auto px = [&](int v) { return ToPixelsX(v * ux); };
    auto py = [&](int v) { return ToPixelsY(v * uy); };
    const COLORREF color = ToColorRef(op.color);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(mem, canvas.bitmap);
    HPEN pen = CreatePen(PS_SOLID, op.width, color);
    HGDIOBJ oldPen = SelectObject(mem, pen);
    HGDIOBJ oldBrush = SelectObject(mem, GetStockObject(NULL_BRUSH));
    const int x1 = px(op.x1), y1 = py(op.y1), x2 = px(op.x2), y2 = py(op.y2);
    switch (op.kind) {
        case ui::DrawOp::Kind::Point:
            if (op.width <= 1) {
                SetPixel(mem, x1, y1, color);
            } else {
                SelectObject(mem, Brush(color));
                const int r = op.width / 2;
                Ellipse(mem, x1 - r, y1 - r, x1 - r + op.width, y1 - r + op.width);
            }
            break;
        case ui::DrawOp::Kind::Line:
            MoveToEx(mem, x1, y1, nullptr);
            LineTo(mem, x2, y2);
            if (op.width <= 1) SetPixel(mem, x2, y2, color);  // the end point is drawn too
            break;
        case ui::DrawOp::Kind::Box:
            Rectangle(mem, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                      std::max(y1, y2) + 1);
            break;
        case ui::DrawOp::Kind::Clear: break;
    }
    SelectObject(mem, oldBrush);
    SelectObject(mem, oldPen);
    SelectObject(mem, oldBitmap);
    DeleteObject(pen);
    DeleteDC(mem);
    InvalidateRect(w, nullptr, FALSE);
}

}  // namespace kv::win32
