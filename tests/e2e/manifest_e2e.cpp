// What every installed program declares about itself, read from the .exe
// as the system reads it: the embedded application manifest (rights, DPI
// awareness, supported systems; accepted by the loader's own parser) and
// the version resource. A program not installed in this world yet is
// skipped, so it is covered as soon as it is built.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace {

struct ProgramCase {
    const char* program;  // KVPANEL
    const char* level;    // requestedExecutionLevel
};

const ProgramCase kPrograms[] = {
    {"KVPANEL", "asInvoker"},
    {"KVSTART", "asInvoker"},
    {"KVRBTN", "asInvoker"},
    {"KVSETUP", "requireAdministrator"},
    {"KVREMOVE", "requireAdministrator"},
};

// Windows Vista, 7, 8, 8.1 and 10/11.
const std::set<std::string> kSupportedSystems = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// One element of a manifest: its attributes (as written) and its text.
struct Element {
    std::string attributes, text;
    std::string Attribute(const std::string& name) const {
        std::smatch m;
        return std::regex_search(attributes, m, std::regex("(^|\\s)" + name + "\\s*=\\s*[\"']([^\"']*)"))
                   ? m[2].str()
                   : "";
    }
};

// Every element of that local name (namespace prefix ignored), in order.
std::vector<Element> Named(const std::string& manifest, const std::string& name) {
    const std::string xml = std::regex_replace(manifest, std::regex("<!--[\\s\\S]*?-->"), "");
    std::vector<Element> found;
    const std::regex tag("<(\\w+:)?" + name + "(\\s[^>]*?)?(/?)>([^<]*)");
    for (std::sregex_iterator i(xml.begin(), xml.end(), tag), end; i != end; ++i) {
        const std::string text = (*i)[3].length() ? "" : (*i)[4].str();
        const auto first = text.find_first_not_of(" \t\r\n");
        found.push_back({(*i)[2].str(), first == std::string::npos
                                            ? ""
                                            : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1)});
    }
    return found;
}

class InstalledProgram : public ::testing::TestWithParam<ProgramCase> {
protected:
    void SetUp() override {
        exe = std::string(GetParam().program) + ".exe";
        path = e2e::InstalledProgram(exe);
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << exe << " is not installed in this world yet";
    }
    std::string exe;
    std::string path;
};

using EmbeddedManifest = InstalledProgram;
using VersionResource = InstalledProgram;

// RT_MANIFEST 1 of `path`, as the loader finds it; empty when there is none.
std::string ManifestOf(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return "";
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST)) {
        const DWORD size = SizeofResource(module, found);
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), size);
    }
    FreeLibrary(module);
    return text;
}

TEST_P(EmbeddedManifest, DeclaresItsRightsDpiAwarenessAndSystems) {
    const std::string manifest = ManifestOf(path);
    ASSERT_FALSE(manifest.empty()) << exe << " has no RT_MANIFEST 1";

    // One identity, its own: a second one would be a dependency (the
    // visual-styles library among them), which the classic look does not want.
    const auto identities = Named(manifest, "assemblyIdentity");
    ASSERT_EQ(identities.size(), 1u) << manifest;
    EXPECT_EQ(identities[0].Attribute("name"), std::string("Halvane.TouchScreen.") + GetParam().program);
    EXPECT_EQ(identities[0].Attribute("type"), "win32");
    EXPECT_EQ(identities[0].Attribute("version"), "7.0.0.0");
    EXPECT_EQ(identities[0].Attribute("processorArchitecture"), "amd64");
    EXPECT_TRUE(Named(manifest, "dependency").empty()) << "a dependent assembly is declared";

    const auto levels = Named(manifest, "requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u) << manifest;
    EXPECT_EQ(levels[0].Attribute("level"), GetParam().level);
    EXPECT_EQ(levels[0].Attribute("uiAccess"), "false");

    // System-aware: "true" for the systems before 10 (1607), "system" after.
    const auto dpiAware = Named(manifest, "dpiAware");
    const auto dpiAwareness = Named(manifest, "dpiAwareness");
    ASSERT_EQ(dpiAware.size(), 1u) << manifest;
    ASSERT_EQ(dpiAwareness.size(), 1u) << manifest;
    EXPECT_EQ(Lower(dpiAware[0].text), "true");
    EXPECT_EQ(Lower(dpiAwareness[0].text), "system");

    std::set<std::string> systems;
    for (const auto& os : Named(manifest, "supportedOS")) systems.insert(Lower(os.Attribute("Id")));
    EXPECT_EQ(systems, kSupportedSystems);

    // The loader's own parser takes it (a manifest it rejects stops the
    // program from starting at all).
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE activation = CreateActCtxA(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "rejected, error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

std::string VersionString(const std::vector<BYTE>& info, const std::string& table,
                          const char* name) {
    const std::string query = "\\StringFileInfo\\" + table + "\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || length == 0) return "";
    return std::string(static_cast<const char*>(value));
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_P(VersionResource, NamesTheProductAndItsVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << exe << " has no version resource";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00070000u) << "file version is not 7.0";
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00070000u) << "product version is not 7.0";
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The strings of the first language the resource lists.
    struct Translation {
        WORD language, codePage;
    }* translations = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &length));
    ASSERT_GE(length, sizeof *translations);
    char table[9];
    std::snprintf(table, sizeof table, "%04X%04X", translations->language,
                  translations->codePage);
    EXPECT_EQ(VersionString(info, table, "ProductVersion"), "7.0.PS2");
    EXPECT_EQ(VersionString(info, table, "FileVersion"), "7.0.PS2");
    EXPECT_EQ(VersionString(info, table, "CompanyName"), "Halvane");
    EXPECT_EQ(Lower(VersionString(info, table, "OriginalFilename")), Lower(exe));
    EXPECT_EQ(VersionString(info, table, "InternalName"), GetParam().program);
    EXPECT_FALSE(VersionString(info, table, "FileDescription").empty());
    EXPECT_FALSE(VersionString(info, table, "LegalCopyright").empty());

    HMODULE module = LoadLibraryExA(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    int icons = 0;
    EnumResourceNamesA(module, RT_GROUP_ICON, CountName, reinterpret_cast<LONG_PTR>(&icons));
    FreeLibrary(module);
    EXPECT_GT(icons, 0) << exe << " carries no icon";
}

std::string CaseName(const ::testing::TestParamInfo<ProgramCase>& info) {
    return info.param.program;
}

INSTANTIATE_TEST_SUITE_P(Programs, EmbeddedManifest, ::testing::ValuesIn(kPrograms), CaseName);
INSTANTIATE_TEST_SUITE_P(Programs, VersionResource, ::testing::ValuesIn(kPrograms), CaseName);

}  // namespace
