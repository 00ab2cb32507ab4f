// Small value types shared by the form model and its back ends: colours,
// fonts, pictures, the control kinds and the property identifiers a back
// end is told about.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kv::ui {

// Colours as the classic forms runtime holds them: 0x00BBGGRR, or a system
// colour 0x800000nn where nn is the platform's COLOR_* index.
using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr unsigned SystemColorIndex(Color c) { return c & 0xFFu; }

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kTeal = 0x808000;              // &H808000, unselected options
constexpr Color kSysWindow = 0x80000005;        // window background
constexpr Color kSysWindowText = 0x80000008;
constexpr Color kSysButtonFace = 0x8000000F;   // &H8000000F
constexpr Color kSysButtonText = 0x80000012;

enum class ControlKind {
    CommandButton,
    Label,
    HScrollBar,
    CheckBox,
    OptionButton,
    ComboBox,
    Frame,
    PictureBox,
    Image,
    Shape,
};

const char* KindName(ControlKind kind);

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

// MousePointer values used by the system.
constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;

// Mouse buttons and shift masks as the event handlers receive them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// Virtual key codes the forms care about.
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

// ScaleMode of a picture box: the unit of its children's geometry, of its
// ScaleWidth/ScaleHeight, of its mouse coordinates and of its drawing.
constexpr int kScaleTwips = 1;
constexpr int kScalePixels = 3;

// Form.BorderStyle
constexpr int kBorderNone = 0;
constexpr int kBorderFixedSingle = 1;
constexpr int kBorderSizable = 2;
constexpr int kBorderFixedDialog = 3;
constexpr int kBorderFixedToolWindow = 4;

// Form.WindowState
constexpr int kWindowNormal = 0;
constexpr int kWindowMinimized = 1;
constexpr int kWindowMaximized = 2;

// Label.Alignment
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kAlignCenter = 2;

// Control.Align of a picture box
constexpr int kDockNone = 0;
constexpr int kDockTop = 1;
constexpr int kDockBottom = 2;

// A loaded picture, shared: copying a Picture from one control to another
// shows the same image, even when the file it came from is gone.
struct PictureData {
    enum class Type { Bitmap, Icon };
    Type type = Type::Bitmap;
    std::string source;     // file path, or empty for a resource
    int resourceId = 0;     // resource id, or 0 for a file
    int widthPx = 0;
    int heightPx = 0;
    std::shared_ptr<void> native;  // the back end's image (HBITMAP/HICON), freed with the last copy
};
using Picture = std::shared_ptr<const PictureData>;

// What changed, as told to a back end. One value per group of properties
// that a back end applies together.
enum class Prop {
    Caption,
    Value,
    Enabled,
    Visible,
    ForeColor,
    BackColor,
    Geometry,   // Left/Top/Width/Height (a form: outer rectangle)
    Font,
    List,       // items added/removed/cleared
    ListIndex,
    Range,      // Min/Max/SmallChange/LargeChange of a scroll bar
    Picture,
    Style,      // BorderStyle, BackStyle, Alignment, Default/Cancel, TopMost
    MousePointer,
    WindowState,
    DrawState,  // DrawWidth / pen colour of a picture box
};

// One drawing operation on a picture box, in its scale units.
struct DrawOp {
    enum class Kind { Point, Line, Box, Clear };
    Kind kind = Kind::Point;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Color color = 0;
    int width = 1;  // pen width in pixels
};

}  // namespace kv::ui
