#include "tests/fakes/fake_registry.h"

#include <algorithm>
#include <cctype>

namespace kv {

namespace {

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

bool IsPredefined(RegKey key) { return key >= kHkeyClassesRoot && key <= kHkeyUsers; }

}  // namespace

struct FakeRegistry::Key {
    std::string name;
    Key* parent = nullptr;
    bool deleted = false;
    // Both maps are keyed by the folded name; the original spelling is kept.
    std::map<std::string, KeyPtr> subkeys;
    std::map<std::string, std::pair<std::string, Value>> values;
};

FakeRegistry::FakeRegistry() {
    for (RegKey root = kHkeyClassesRoot; root <= kHkeyUsers; ++root)
        roots_[root] = std::make_shared<Key>();
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::KeyPtr FakeRegistry::RootKey(RegKey root) const {
    const auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : it->second;
}

FakeRegistry::KeyPtr FakeRegistry::Resolve(RegKey key) const {
    if (IsPredefined(key)) return RootKey(key);
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

bool FakeRegistry::SplitPath(const char* path, std::vector<std::string>& parts) {
    parts.clear();
    if (path == nullptr || *path == '\0') return true;
    const std::string text(path);
    if (text.front() == '\\') return false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\\', start), text.size());
        // Doubled and trailing separators are skipped, as Wine does.
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

FakeRegistry::KeyPtr FakeRegistry::Walk(KeyPtr from, const std::vector<std::string>& parts,
                                        bool create) const {
    KeyPtr key = std::move(from);
    for (const std::string& part : parts) {
        const std::string folded = Folded(part);
        auto it = key->subkeys.find(folded);
        if (it == key->subkeys.end()) {
            if (!create) return nullptr;
            auto child = std::make_shared<Key>();
            child->name = part;
            child->parent = key.get();
            it = key->subkeys.emplace(folded, std::move(child)).first;
        }
        key = it->second;
    }
    return key;
}

FakeRegistry::KeyPtr FakeRegistry::WalkFromRoot(RegKey root, const std::string& path,
                                                bool create) const {
    std::vector<std::string> parts;
    KeyPtr start = RootKey(root);
    if (!start || !SplitPath(path.c_str(), parts)) return nullptr;
    return Walk(start, parts, create);
}

bool FakeRegistry::TakeFailure(Call call, long& error) {
    const int count = ++calls_[call];
    if (beforeCall) beforeCall(call, count);
    const auto it = failures_.find(call);
    if (it == failures_.end()) return false;
    error = it->second;
    failures_.erase(it);
    return true;
}

long FakeRegistry::OpenOrCreate(Call call, RegKey root, const char* path, RegKey* result,
                                bool create) {
    long error = 0;
    if (TakeFailure(call, error)) return error;
    if (result == nullptr) return kErrorInvalidParameter;
    KeyPtr base = Resolve(root);
    if (!base) return kErrorInvalidHandle;
    if (base->deleted) return kErrorKeyDeleted;
    std::vector<std::string> parts;
    if (!SplitPath(path, parts)) return kErrorBadPathname;
    // RegOpenKeyA hands back the very handle it was given for an empty
    // path; RegCreateKeyA opens a new handle to the same key.
    if (parts.empty() && !create) {
        *result = root;
        return kErrorSuccess;
    }
    KeyPtr key = Walk(base, parts, create);
    if (!key) return kErrorFileNotFound;
    const RegKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = key;
    *result = handle;
    return kErrorSuccess;
}

long FakeRegistry::RegCreateKeyA(RegKey root, const char* path, RegKey* result) {
    return OpenOrCreate(Call::CreateKey, root, path, result, true);
}

long FakeRegistry::RegOpenKeyA(RegKey root, const char* path, RegKey* result) {
    return OpenOrCreate(Call::OpenKey, root, path, result, false);
}

long FakeRegistry::RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    long error = 0;
    if (TakeFailure(Call::QueryValue, error)) return error;
    KeyPtr k = Resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    const auto it = k->values.find(Folded(name ? name : ""));
    if (it == k->values.end()) return kErrorFileNotFound;
    const Value& value = it->second.second;
    const auto stored = static_cast<std::uint32_t>(value.data.size());
    if (type) *type = value.type;
    if (data == nullptr) {
        if (size) *size = stored;
        return kErrorSuccess;
    }
    if (*size < stored) {
        *size = stored;
        return kErrorMoreData;
    }
    std::copy(value.data.begin(), value.data.end(), data);
    *size = stored;
    return kErrorSuccess;
}

long FakeRegistry::RegSetValueExA(RegKey key, const char* name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    long error = 0;
    if (TakeFailure(Call::SetValue, error)) return error;
    KeyPtr k = Resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    if (data == nullptr && size > 0) return kErrorInvalidParameter;
    const std::string spelled = name ? name : "";
    Value value;
    value.type = type;
    if (size > 0) value.data.assign(data, data + size);
    k->values[Folded(spelled)] = {spelled, std::move(value)};
    return kErrorSuccess;
}

long FakeRegistry::RegDeleteKeyA(RegKey root, const char* path) {
    long error = 0;
    if (TakeFailure(Call::DeleteKey, error)) return error;
    KeyPtr base = Resolve(root);
    if (!base) return kErrorInvalidHandle;
    if (base->deleted) return kErrorKeyDeleted;
    std::vector<std::string> parts;
    if (path == nullptr) return kErrorInvalidParameter;
    if (!SplitPath(path, parts)) return kErrorBadPathname;
    KeyPtr key = Walk(base, parts, false);
    if (!key) return kErrorFileNotFound;
    // A root cannot go, nor (on NT) a key that still has subkeys.
    if (key->parent == nullptr || !key->subkeys.empty()) return kErrorAccessDenied;
    key->deleted = true;
    key->parent->subkeys.erase(Folded(key->name));
    key->parent = nullptr;
    return kErrorSuccess;
}

long FakeRegistry::RegCloseKey(RegKey key) {
    long error = 0;
    if (TakeFailure(Call::CloseKey, error)) return error;
    if (IsPredefined(key)) return kErrorSuccess;
    return handles_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

void FakeRegistry::SetValue(RegKey root, const std::string& path, const std::string& name,
                            std::uint32_t type, std::vector<std::uint8_t> data) {
    KeyPtr key = WalkFromRoot(root, path, true);
    if (!key) return;
    key->values[Folded(name)] = {name, Value{type, std::move(data)}};
}

void FakeRegistry::SetString(RegKey root, const std::string& path, const std::string& name,
                             const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(root, path, name, kRegSz, std::move(data));
}

void FakeRegistry::SetDword(RegKey root, const std::string& path, const std::string& name,
                            std::uint32_t value) {
    SetValue(root, path, name, kRegDword,
             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void FakeRegistry::CreateKey(RegKey root, const std::string& path) {
    WalkFromRoot(root, path, true);
}

std::optional<FakeRegistry::Value> FakeRegistry::GetValue(RegKey root, const std::string& path,
                                                          const std::string& name) const {
    KeyPtr key = WalkFromRoot(root, path, false);
    if (!key) return std::nullopt;
    const auto it = key->values.find(Folded(name));
    if (it == key->values.end()) return std::nullopt;
    return it->second.second;
}

bool FakeRegistry::KeyExists(RegKey root, const std::string& path) const {
    return WalkFromRoot(root, path, false) != nullptr;
}

std::vector<std::string> FakeRegistry::ValueNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (KeyPtr key = WalkFromRoot(root, path, false))
        for (const auto& [folded, entry] : key->values) names.push_back(entry.first);
    return names;
}

std::vector<std::string> FakeRegistry::SubkeyNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (KeyPtr key = WalkFromRoot(root, path, false))
        for (const auto& [folded, child] : key->subkeys) names.push_back(child->name);
    return names;
}

void FakeRegistry::FailNext(Call call, long error) { failures_[call] = error; }

int FakeRegistry::CallCount(Call call) const {
    const auto it = calls_.find(call);
    return it == calls_.end() ? 0 : it->second;
}

int FakeRegistry::TotalCalls() const {
    int total = 0;
    for (const auto& [call, count] : calls_) total += count;
    return total;
}

std::size_t FakeRegistry::OpenHandleCount() const { return handles_.size(); }

}  // namespace kv
