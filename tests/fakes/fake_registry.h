// An in-memory registry with the platform's semantics, for unit tests.
//
// Keys are "\"-separated paths under the predefined roots, matched without
// regard to case; values keep their type and raw bytes exactly as set (a
// REG_SZ need not end in a NUL). RegCreateKeyA creates missing keys,
// RegOpenKeyA does not (2). A path that begins with "\" is refused (161);
// doubled or trailing separators are skipped (both measured under Wine). RegQueryValueExA with no
// buffer reports type and size; with a buffer too small it returns 234
// and the size needed. RegDeleteKeyA refuses a key with subkeys (5), as
// NT and Wine do. Every handle is tracked, so a test can assert that each
// opened key was closed; a handle of a deleted key answers 1018.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ports/registry_port.h"

namespace kv {

class FakeRegistry : public RegistryPort {
public:
    struct Value {
        std::uint32_t type = kRegNone;
        std::vector<std::uint8_t> data;
    };

    enum class Call { CreateKey, OpenKey, QueryValue, SetValue, DeleteKey, CloseKey };

    static constexpr long kErrorAccessDenied = 5;
    static constexpr long kErrorInvalidHandle = 6;
    static constexpr long kErrorInvalidParameter = 87;
    static constexpr long kErrorBadPathname = 161;
    static constexpr long kErrorKeyDeleted = 1018;

    FakeRegistry();
    ~FakeRegistry() override;

    // RegistryPort.
    long RegCreateKeyA(RegKey root, const char* path, RegKey* result) override;
    long RegOpenKeyA(RegKey root, const char* path, RegKey* result) override;
    long RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) override;
    long RegSetValueExA(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) override;
    long RegDeleteKeyA(RegKey root, const char* path) override;
    long RegCloseKey(RegKey key) override;

    // Set-up and inspection. Paths are relative to a predefined root; keys
    // on the way are created. These do not count as calls.
    void SetValue(RegKey root, const std::string& path, const std::string& name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    // REG_SZ with its terminating NUL, as the platform stores text.
    void SetString(RegKey root, const std::string& path, const std::string& name,
                   const std::string& text);
    void SetDword(RegKey root, const std::string& path, const std::string& name,
                  std::uint32_t value);
    void CreateKey(RegKey root, const std::string& path);
    std::optional<Value> GetValue(RegKey root, const std::string& path,
                                  const std::string& name) const;
    bool KeyExists(RegKey root, const std::string& path) const;
    // Names of the values and subkeys of a key, as first spelled.
    std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
    std::vector<std::string> SubkeyNames(RegKey root, const std::string& path) const;

    // The next call of that kind returns `error` and changes nothing.
    void FailNext(Call call, long error);
    // Runs at the start of every port call (after it is counted), so a test
    // can change the registry between two calls of the code under test.
    std::function<void(Call call, int count)> beforeCall;

    int CallCount(Call call) const;
    int TotalCalls() const;
    // Handles returned by create/open and not closed yet (predefined roots
    // are never counted).
    std::size_t OpenHandleCount() const;

private:
    struct Key;
    using KeyPtr = std::shared_ptr<Key>;

    KeyPtr RootKey(RegKey root) const;
    // The key a handle or predefined root stands for; null when unknown.
    KeyPtr Resolve(RegKey key) const;
    // Splits a relative path; false when the platform would refuse it.
    static bool SplitPath(const char* path, std::vector<std::string>& parts);
    KeyPtr Walk(KeyPtr from, const std::vector<std::string>& parts, bool create) const;
    KeyPtr WalkFromRoot(RegKey root, const std::string& path, bool create) const;
    long OpenOrCreate(Call call, RegKey root, const char* path, RegKey* result, bool create);
    bool TakeFailure(Call call, long& error);

    std::map<RegKey, KeyPtr> roots_;
    std::map<RegKey, KeyPtr> handles_;
    RegKey nextHandle_ = 0x1000;
    std::map<Call, long> failures_;
    std::map<Call, int> calls_;
};

}  // namespace kv
