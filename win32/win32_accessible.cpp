// IAccessible over the form model. Everything it reports comes from
// ui/accessibility.h; this file only speaks the interface.
//
// oleacc, oleaut32 and ole32 are loaded at the first WM_GETOBJECT, not
// imported: most runs of a program never meet a screen reader, and
// loading them at start costs every run.
#include "win32/win32_accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/accessibility.h"
#include "win32/win32_form_peer.h"

namespace kv::win32 {

using ui::Control;

static_assert(static_cast<int>(ui::AccessibleRole::PushButton) == ROLE_SYSTEM_PUSHBUTTON);
static_assert(static_cast<int>(ui::AccessibleRole::StaticText) == ROLE_SYSTEM_STATICTEXT);
static_assert(static_cast<int>(ui::AccessibleRole::RadioButton) == ROLE_SYSTEM_RADIOBUTTON);
static_assert(static_cast<int>(ui::AccessibleRole::CheckButton) == ROLE_SYSTEM_CHECKBUTTON);
static_assert(static_cast<int>(ui::AccessibleRole::ScrollBar) == ROLE_SYSTEM_SCROLLBAR);
static_assert(static_cast<int>(ui::AccessibleRole::ComboBox) == ROLE_SYSTEM_COMBOBOX);
static_assert(static_cast<int>(ui::AccessibleRole::Grouping) == ROLE_SYSTEM_GROUPING);
static_assert(static_cast<int>(ui::AccessibleRole::Graphic) == ROLE_SYSTEM_GRAPHIC);
static_assert(static_cast<int>(ui::AccessibleRole::Client) == ROLE_SYSTEM_CLIENT);
static_assert(ui::kAccUnavailable == STATE_SYSTEM_UNAVAILABLE && ui::kAccFocused == STATE_SYSTEM_FOCUSED &&
              ui::kAccChecked == STATE_SYSTEM_CHECKED && ui::kAccMixed == STATE_SYSTEM_MIXED &&
              ui::kAccDefault == STATE_SYSTEM_DEFAULT && ui::kAccInvisible == STATE_SYSTEM_INVISIBLE &&
              ui::kAccFocusable == STATE_SYSTEM_FOCUSABLE);

namespace {

struct OleFunctions {
    bool loaded = false;
    bool ok = false;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
};

template <typename F>
void Bind(F& f, HMODULE module, const char* name) {
    f = module != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                          : nullptr;
}

UINT& ActionMessage() {
    static UINT message = 0;
    return message;
}

const OleFunctions& Ole() {
    static OleFunctions f;
    if (f.loaded) return f;
    f.loaded = true;
    HMODULE ole32 = LoadLibraryA("ole32.dll");
    decltype(&CoInitializeEx) coInitializeEx = nullptr;
    Bind(coInitializeEx, ole32, "CoInitializeEx");
    // Calls from other processes reach the object through this thread's
    // message loop, which a single-threaded apartment provides.
    if (coInitializeEx != nullptr) coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Bind(f.lresultFromObject, LoadLibraryA("oleacc.dll"), "LresultFromObject");
    Bind(f.createStdAccessibleObject, GetModuleHandleA("oleacc.dll"), "CreateStdAccessibleObject");
    Bind(f.sysAllocStringLen, LoadLibraryA("oleaut32.dll"), "SysAllocStringLen");
    f.ok = f.lresultFromObject != nullptr && f.sysAllocStringLen != nullptr;
    ActionMessage() = RegisterWindowMessageA("KvAccessibleDefaultAction");
    return f;
}

// S_FALSE with no string for an empty one, as the interface expects.
HRESULT ReturnString(const std::string& text, BSTR* out) {
    if (out == nullptr) return E_INVALIDARG;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    // Captions are short; a longer text is cut rather than allocated twice.
    WCHAR wide[1024];
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(std::min<size_t>(text.size(), 1024)),
                                      wide, 1024);
    *out = Ole().sysAllocStringLen(wide, static_cast<UINT>(n));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// VariantInit's work, without importing oleaut32 for it.
void Empty(VARIANT* v) { v->vt = VT_EMPTY; }

void SetChild(VARIANT* v, long id) {
    v->vt = VT_I4;
    v->lVal = id;
}

class FormAccessible final : public IAccessible, public IEnumVARIANT {
public:
    // `self`: 0 for the form and its listed controls, else the child id of
    // the one control this object stands for.
    FormAccessible(HWND form, long self) : form_(form), self_(self) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible)))
            *out = static_cast<IAccessible*>(this);
        else if (self_ == 0 && IsEqualIID(riid, __uuidof(IEnumVARIANT)))
            *out = static_cast<IEnumVARIANT*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // IDispatch: tools use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n == nullptr) return E_INVALIDARG;
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_INVALIDARG;
        *parent = nullptr;
        if (Peer() == nullptr) return RPC_E_DISCONNECTED;
        if (self_ != 0) {
            *parent = static_cast<IAccessible*>(new FormAccessible(form_, 0));
            (*parent)->AddRef();
            return S_OK;
        }
        if (Ole().createStdAccessibleObject == nullptr) return S_FALSE;
        return Ole().createStdAccessibleObject(form_, OBJID_WINDOW, __uuidof(IDispatch),
                                               reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) return E_INVALIDARG;
        Win32FormPeer* peer = Peer();
        if (peer == nullptr) return RPC_E_DISCONNECTED;
        *count = self_ != 0 ? 0 : static_cast<long>(ui::AccessibleChildren(peer->Model()).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) return E_INVALIDARG;
        *out = nullptr;
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        return t.control != nullptr && !t.self ? S_FALSE : E_INVALIDARG;  // simple children
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, name);
        return ReturnString(t.control != nullptr ? ui::AccessibleName(*t.control) : t.peer->Model().Caption(),
                            name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, value);
        return ReturnString(t.control != nullptr ? ui::AccessibleValue(*t.control) : std::string(), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, text);
        return ReturnString({}, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_INVALIDARG;
        Empty(role);
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        SetChild(role, t.control != nullptr ? static_cast<long>(ui::RoleOf(*t.control)) : ROLE_SYSTEM_CLIENT);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_INVALIDARG;
        Empty(state);
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        const bool active = t.peer->Active();
        long bits = 0;
        if (t.control != nullptr) {
            bits = static_cast<long>(ui::StateOf(*t.control, active));
        } else {
            bits = STATE_SYSTEM_FOCUSABLE;
            if (!IsWindowEnabled(form_)) bits |= STATE_SYSTEM_UNAVAILABLE;
            if (active && GetFocus() == form_) bits |= STATE_SYSTEM_FOCUSED;
        }
        if (!IsWindowVisible(form_)) bits |= STATE_SYSTEM_INVISIBLE;
        SetChild(state, bits);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, help);
        return ReturnString({}, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file != nullptr) *file = nullptr;
        if (topic != nullptr) *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, keys);
        char shortcut[] = "Alt+?";
        shortcut[4] = t.control != nullptr ? t.control->AccessKey() : 0;
        return ReturnString(shortcut[4] != 0 ? shortcut : "", keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_INVALIDARG;
        Empty(focus);
        Win32FormPeer* peer = Peer();
        if (peer == nullptr) return RPC_E_DISCONNECTED;
        if (!peer->Active()) return S_FALSE;
        const Control* active = peer->Model().ActiveControl();
        if (active != nullptr && !active->CanFocus()) active = nullptr;
        if (self_ != 0) {
            if (active == nullptr || ui::ChildIdOf(*active) != self_) return S_FALSE;
            SetChild(focus, CHILDID_SELF);
        } else {
            SetChild(focus, active != nullptr ? ui::ChildIdOf(*active) : CHILDID_SELF);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection != nullptr) Empty(selection);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return Fail(hr, action);
        return ReturnString(t.control != nullptr ? ui::DefaultActionName(*t.control) : std::string(), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        if ((flags & ~SELFLAG_TAKEFOCUS) != 0 || flags == 0) return DISP_E_MEMBERNOTFOUND;
        if (t.control == nullptr) {
            SetForegroundWindow(form_);
            return S_OK;
        }
        if (!t.control->CanFocus()) return S_FALSE;
        t.control->SetFocus();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        if (x == nullptr || y == nullptr || w == nullptr || h == nullptr) return E_INVALIDARG;
        *x = *y = *w = *h = 0;
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        const RECT r = Rect(t);
        *x = r.left;
        *y = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_INVALIDARG;
        Empty(end);
        Target t;
        if (HRESULT hr = Resolve(start, &t); hr != S_OK) return hr;
        if (self_ != 0) return S_FALSE;  // a control window's object holds no children
        const ui::Form& form = t.peer->Model();
        const Control* to = nullptr;
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                if (t.control != nullptr) return S_FALSE;  // simple children have none
                to = ui::Navigate(form, nullptr, direction == NAVDIR_FIRSTCHILD ? ui::Navigation::First
                                                                                : ui::Navigation::Last);
                break;
            case NAVDIR_NEXT:
            case NAVDIR_PREVIOUS:
                if (t.control == nullptr) return S_FALSE;  // the form's siblings are the system's
                to = ui::Navigate(form, t.control, direction == NAVDIR_NEXT ? ui::Navigation::Next
                                                                            : ui::Navigation::Previous);
                break;
            default: return DISP_E_MEMBERNOTFOUND;
        }
        if (to == nullptr) return S_FALSE;
        SetChild(end, ui::ChildIdOf(*to));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (hit == nullptr) return E_INVALIDARG;
        Empty(hit);
        VARIANT self;
        SetChild(&self, CHILDID_SELF);
        Target t;
        if (HRESULT hr = Resolve(self, &t); hr != S_OK) return hr;
        const POINT at{x, y};
        const RECT whole = Rect(t);
        if (!PtInRect(&whole, at)) return S_FALSE;
        const Control* found = nullptr;
        if (self_ == 0) {
            std::vector<Control*> under;
            for (Control* c : ui::AccessibleChildren(t.peer->Model())) {
                const RECT r = t.peer->ScreenRect(*c);
                if (PtInRect(&r, at)) under.push_back(c);
            }
            found = ui::TopmostOf(under);
        }
        SetChild(hit, found != nullptr ? ui::ChildIdOf(*found) : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        Target t;
        if (HRESULT hr = Resolve(child, &t); hr != S_OK) return hr;
        if (t.control == nullptr || ui::DefaultActionName(*t.control).empty())
            return DISP_E_MEMBERNOTFOUND;
        if (!t.control->Reachable()) return E_FAIL;
        PostMessageA(form_, DefaultActionMessage(), static_cast<WPARAM>(ui::ChildIdOf(*t.control)), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

    // IEnumVARIANT over the listed controls of the form.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (out == nullptr || (count > 1 && fetched == nullptr)) return E_INVALIDARG;
        Win32FormPeer* peer = Peer();
        if (peer == nullptr) return RPC_E_DISCONNECTED;
        const std::vector<Control*> listed = ui::AccessibleChildren(peer->Model());
        ULONG n = 0;
        for (; n < count && cursor_ < listed.size(); ++n, ++cursor_)
            SetChild(&out[n], ui::ChildIdOf(*listed[cursor_]));
        if (fetched != nullptr) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        Win32FormPeer* peer = Peer();
        if (peer == nullptr) return RPC_E_DISCONNECTED;
        const size_t total = ui::AccessibleChildren(peer->Model()).size();
        cursor_ += count;
        if (cursor_ <= total) return S_OK;
        cursor_ = total;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        cursor_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (out == nullptr) return E_INVALIDARG;
        auto* copy = new FormAccessible(form_, self_);
        copy->cursor_ = cursor_;
        *out = static_cast<IEnumVARIANT*>(copy);
        copy->AddRef();
        return S_OK;
    }

private:
    struct Target {
        Win32FormPeer* peer = nullptr;
        Control* control = nullptr;  // nullptr: the form
        bool self = false;           // CHILDID_SELF was asked for
    };

    // The peer, or nullptr once the form has been unloaded: a tool may
    // hold the object longer than the window lives. Every call asks, so
    // this stays clear of requests to the window server (a class name
    // is one under Wine): the window is ours, or gone.
    Win32FormPeer* Peer() const {
        return IsWindow(form_) ? reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrA(form_, GWLP_USERDATA))
                               : nullptr;
    }

    HRESULT Resolve(const VARIANT& child, Target* t) const {
        t->peer = Peer();
        if (t->peer == nullptr) return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        const ui::Form& form = t->peer->Model();
        t->self = child.lVal == CHILDID_SELF;
        if (self_ != 0) {
            if (!t->self) return E_INVALIDARG;
            const auto& controls = form.Controls();
            if (self_ > static_cast<long>(controls.size())) return RPC_E_DISCONNECTED;
            t->control = controls[static_cast<size_t>(self_ - 1)].get();
            return S_OK;
        }
        if (t->self) return S_OK;
        t->control = ui::ListedChild(form, child.lVal);
        return t->control != nullptr ? S_OK : E_INVALIDARG;
    }

    static HRESULT Fail(HRESULT hr, BSTR* out) {
        if (out != nullptr) *out = nullptr;
        return hr;
    }

    RECT Rect(const Target& t) const {
        if (t.control != nullptr) return t.peer->ScreenRect(*t.control);
        RECT r{};
        GetClientRect(form_, &r);
        MapWindowPoints(form_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    LONG refs_ = 0;
    HWND form_;
    long self_;
    size_t cursor_ = 0;
};

}  // namespace

bool AnswerGetObject(HWND formWindow, const Control* self, WPARAM wParam, LPARAM lParam,
                     LRESULT* result) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return false;
    const OleFunctions& ole = Ole();
    if (!ole.ok) return false;
    auto* object = new FormAccessible(formWindow, self != nullptr ? ui::ChildIdOf(*self) : 0);
    object->AddRef();
    *result = ole.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();  // the system holds its own reference for the asker
    return true;
}

UINT DefaultActionMessage() { return ActionMessage(); }

void PerformDefaultAction(Win32FormPeer& peer, WPARAM childId) {
    if (Control* c = ui::ListedChild(peer.Model(), static_cast<long>(childId))) ui::DoDefaultAction(*c);
}

void NotifyAccessibleEvent(DWORD event, HWND formWindow, const Control* control) {
    NotifyWinEvent(event, formWindow, OBJID_CLIENT, control != nullptr ? ui::ChildIdOf(*control) : CHILDID_SELF);
}

}  // namespace kv::win32
