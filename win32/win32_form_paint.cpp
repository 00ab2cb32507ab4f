// Painting for the form back end: colours and fonts, the windowless
// controls (shapes, labels, images, frames), the persistent drawing surface
// of picture boxes.
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

void Win32FormPeer::PaintWindowless(HDC dc, const Control* level) {
    // Shapes lie beneath. Of the others, one placed earlier lies on top of
    // one placed later, as the system's child windows do; a frame's contents
    // lie on the frame.
    const auto& controls = form_.Controls();
    for (const bool shapes : {true, false}) {
        for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
            const Control& c = **it;
            if (c.Container() != level || !Windowless(c) || !c.Visible() ||
                (c.Kind() == ControlKind::Shape) != shapes)
                continue;
            PaintOne(c, dc);
            if (c.Kind() == ControlKind::Frame || c.Kind() == ControlKind::PictureBox) {
                // A container's contents stay inside its client area.
                const int saved = SaveDC(dc);
                const RECT r = HostRect(c);
                const POINT origin = ClientOrigin(c);
                IntersectClipRect(dc, origin.x, origin.y, r.right - (origin.x - r.left),
                                  r.bottom - (origin.y - r.top));
                PaintWindowless(dc, &c);
                RestoreDC(dc, saved);
            }
        }
    }
}

void Win32FormPeer::PaintOne(const Control& c, HDC dc) {
    const RECT r = HostRect(c);
    switch (c.Kind()) {
        case ControlKind::Shape: {
            HPEN pen = c.BorderStyle() != 0 ? CreatePen(PS_SOLID, 1, ToColorRef(c.BorderColor()))
                                            : static_cast<HPEN>(GetStockObject(NULL_PEN));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            HGDIOBJ oldBrush = SelectObject(dc, c.BackStyle() == 1 ? Brush(ToColorRef(c.BackColor()))
                                                                   : GetStockObject(NULL_BRUSH));
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            if (c.BorderStyle() != 0) DeleteObject(pen);
            break;
        }
        case ControlKind::Label: PaintLabel(c, dc, r); break;
        case ControlKind::PictureBox: {
            RECT inside = r;
            if (c.BorderStyle() == 1) {
                DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            }
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
            FillRect(dc, &inside, Brush(ToColorRef(c.BackColor())));
            DrawPicture(dc, c.GetPicture(), inside.left, inside.top);
            RestoreDC(dc, saved);
            break;
        }
        case ControlKind::Frame: PaintFrame(c, dc, r); break;
        case ControlKind::Image: {
            // An image shows what is under it where its picture does not cover.
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
            RECT inside = r;
            if (c.BorderStyle() == 1) {
                FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
                InflateRect(&inside, -1, -1);
            }
            DrawPicture(dc, c.GetPicture(), inside.left, inside.top);
            RestoreDC(dc, saved);
            break;
        }
        default: break;
    }
}

// As the system's static text draws it: words wrap, "&" underlines the
// next letter ("&&" is one ampersand), grey when disabled.
void Win32FormPeer::PaintLabel(const Control& label, HDC dc, RECT r) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    if (label.BorderStyle() == 1) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (label.BackStyle() != 0) FillRect(dc, &r, Brush(ToColorRef(label.BackColor())));
    SelectObject(dc, FontOf(label.GetFont()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, EffectiveEnabled(label) ? ToColorRef(label.ForeColor()) : GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_WORDBREAK | DT_EXPANDTABS;
    if (label.Alignment() == ui::kAlignCenter) format |= DT_CENTER;
    if (label.Alignment() == ui::kAlignRight) format |= DT_RIGHT;
    DrawTextA(dc, label.Caption().c_str(), static_cast<int>(label.Caption().size()), &r, format);
    RestoreDC(dc, saved);
}

// A group box: an etched border whose top runs through the middle of the
// caption, on the frame's own background.
void Win32FormPeer::PaintFrame(const Control& frame, HDC dc, RECT r) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    FillRect(dc, &r, Brush(ToColorRef(frame.BackColor())));
    SelectObject(dc, FontOf(frame.GetFont()));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT border = r;
    border.top += metrics.tmHeight / 2 - 1;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (!frame.Caption().empty()) {
        const std::string& caption = frame.Caption();
        RECT text{r.left + ToPixelsX(120), r.top, r.right - ToPixelsX(120), r.top + metrics.tmHeight};
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_CALCRECT);
        InflateRect(&text, 1, 0);  // the line stops a pixel short of the caption
        FillRect(dc, &text, Brush(ToColorRef(frame.BackColor())));
        InflateRect(&text, -1, 0);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, EffectiveEnabled(frame) ? ToColorRef(frame.ForeColor())
                                                 : GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
    }
    RestoreDC(dc, saved);
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
    PaintWindowless(dc, &box);
}

void Win32FormPeer::Draw(Control& surface, const ui::DrawOp& op) {
    if (surface.Kind() != ControlKind::PictureBox) return;
    if (Windowless(surface)) GiveWindow(surface);  // drawing needs a surface of its own
    HWND w = EnsureWindow(surface);
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
