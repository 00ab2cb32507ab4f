#include "harness/accessible_reader.h"

namespace e2e {

VARIANT ChildVariant(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

namespace {

std::string Narrow(BSTR text) {
    if (text == nullptr) return {};
    const int wide = static_cast<int>(SysStringLen(text));
    const int n = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wide, out.data(), n, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

long IdOf(HRESULT hr, VARIANT& v) {
    long id = -1;
    if (SUCCEEDED(hr) && v.vt == VT_I4) id = v.lVal;
    VariantClear(&v);
    return id;
}

}  // namespace

AccessibleWindow::AccessibleWindow(HWND window) {
    void* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             &object)))
        object_ = static_cast<IAccessible*>(object);
}

AccessibleWindow::~AccessibleWindow() {
    if (object_ != nullptr) object_->Release();
}

std::vector<long> AccessibleWindow::ChildIds() const {
    std::vector<long> ids;
    long count = 0;
    if (object_ == nullptr || FAILED(object_->get_accChildCount(&count)) || count <= 0) return ids;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(object_, 0, count, children.data(), &got))) return ids;
    for (long i = 0; i < got; ++i) {
        VARIANT& v = children[static_cast<size_t>(i)];
        ids.push_back(v.vt == VT_I4 ? v.lVal : -1);
        VariantClear(&v);
    }
    return ids;
}

AccessibleItem AccessibleWindow::Read(long childId) const {
    AccessibleItem item;
    item.childId = childId;
    if (object_ == nullptr) return item;
    VARIANT id = ChildVariant(childId);
    BSTR text = nullptr;
    if (SUCCEEDED(object_->get_accName(id, &text))) item.name = Narrow(text);
    text = nullptr;
    if (SUCCEEDED(object_->get_accValue(id, &text))) item.value = Narrow(text);
    text = nullptr;
    if (SUCCEEDED(object_->get_accDefaultAction(id, &text))) item.defaultAction = Narrow(text);
    VARIANT v;
    VariantInit(&v);
    item.role = IdOf(object_->get_accRole(id, &v), v);
    item.state = IdOf(object_->get_accState(id, &v), v);
    long x = 0, y = 0, w = 0, h = 0;
    if (SUCCEEDED(object_->accLocation(&x, &y, &w, &h, id))) item.screen = RECT{x, y, x + w, y + h};
    return item;
}

std::vector<AccessibleItem> AccessibleWindow::Children() const {
    std::vector<AccessibleItem> items;
    for (long id : ChildIds()) items.push_back(Read(id));
    return items;
}

HRESULT AccessibleWindow::DoDefaultAction(long childId) const {
    return object_ != nullptr ? object_->accDoDefaultAction(ChildVariant(childId)) : E_FAIL;
}

long AccessibleWindow::HitTest(int x, int y) const {
    if (object_ == nullptr) return -1;
    VARIANT v;
    VariantInit(&v);
    return IdOf(object_->accHitTest(x, y, &v), v);
}

long AccessibleWindow::Navigate(long direction, long from) const {
    if (object_ == nullptr) return -1;
    VARIANT v;
    VariantInit(&v);
    return IdOf(object_->accNavigate(direction, ChildVariant(from), &v), v);
}

long AccessibleWindow::Focus() const {
    if (object_ == nullptr) return -1;
    VARIANT v;
    VariantInit(&v);
    return IdOf(object_->get_accFocus(&v), v);
}

std::string RoleText(long role) {
    char text[128] = {};
    if (GetRoleTextA(static_cast<DWORD>(role), text, sizeof text) == 0) return std::to_string(role);
    return text;
}

}  // namespace e2e
