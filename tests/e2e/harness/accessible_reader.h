// Reading a window the way a screen reader does: its IAccessible through
// AccessibleObjectFromWindow (from this process, so every call crosses to
// the program), its children, and each child's name, role, state, place,
// value and default action. The calling thread must have initialised COM.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace e2e {

// The VARIANT that names child `id` of an accessible object.
VARIANT ChildVariant(long id);

struct AccessibleItem {
    long childId = 0;  // CHILDID_SELF for the window's own object
    std::string name, value, defaultAction;
    long role = 0;
    long state = 0;
    RECT screen{};     // accLocation, right and bottom exclusive
};

class AccessibleWindow {
public:
    // The client object of `window` (OBJID_CLIENT); Valid() tells whether
    // the program answered.
    explicit AccessibleWindow(HWND window);
    ~AccessibleWindow();
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    bool Valid() const { return object_ != nullptr; }
    IAccessible* Object() const { return object_; }

    // Child ids in the order the object lists them (AccessibleChildren).
    std::vector<long> ChildIds() const;
    AccessibleItem Read(long childId) const;
    // Every child, read in full.
    std::vector<AccessibleItem> Children() const;

    HRESULT DoDefaultAction(long childId) const;
    // The child id a call returned, or -1 for VT_EMPTY (and failures).
    long HitTest(int x, int y) const;
    long Navigate(long direction, long from) const;
    long Focus() const;

private:
    IAccessible* object_ = nullptr;
};

// A role number as a readable word ("push button"), for messages.
std::string RoleText(long role);

}  // namespace e2e
