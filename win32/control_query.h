// Asking a form window about one of its controls by design name, from any
// process. Labels, images, shapes and frames have no window of their own
// (their container draws them, as the classic forms runtime did), and the
// other controls get theirs only when they are first shown, so a test or a
// tool cannot find a control among the form's child windows: it asks the
// form instead.
//
//   request: WM_COPYDATA sent to the form window; wParam = the asking
//            window, dwData = kControlQuery, lpData/cbData = the design name
//            ("lblHS", "optAcceleration(3)"), without a terminating NUL.
//   reply:   before the request returns, WM_COPYDATA sent to the asking
//            window; wParam = the form window, dwData = kControlReply,
//            lpData = a ControlReply followed by the control's caption (the
//            selected text of a combo box), without a terminating NUL.
//   result:  TRUE when the form has the control and replied, FALSE when it
//            has none of that name.
//
// Asking for a control creates its window if it should have one and has
// none yet, so the reply's window is the one the user would see.
#pragma once

#include <cstdint>

namespace kv::win32 {

inline constexpr std::uintptr_t kControlQuery = 0x4B564351;  // "KVCQ"
inline constexpr std::uintptr_t kControlReply = 0x4B564352;  // "KVCR"

inline constexpr std::uint32_t kControlVisible = 1;     // it and every container are shown
inline constexpr std::uint32_t kControlEnabled = 2;     // it and every container are enabled
inline constexpr std::uint32_t kControlWindowless = 4;  // drawn by its container

#pragma pack(push, 1)
struct ControlReply {
    std::uint32_t flags;
    // Where the control is on the screen, in pixels (right and bottom
    // exclusive).
    std::int32_t left, top, right, bottom;
    // The control's own window (an HWND), 0 for a windowless control.
    std::uint64_t window;
};
#pragma pack(pop)

}  // namespace kv::win32
