#include "WineTest.h"

#include "VelloraVersion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace winetest;

namespace {

// A program's version resource, read as Explorer's Version tab reads it.
class VersionResource {
  public:
    explicit VersionResource(const std::string& path)
        : data(GetFileVersionInfoSizeA(path.c_str(), nullptr)) {
        if (data.empty() ||
            !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) {
            data.clear();
        }
    }

    bool Read() const { return !data.empty(); }

    // The first language and code page that the Translation names, as 0xCCCCLLLL.
    DWORD Translation() const {
        const DWORD* translation = static_cast<const DWORD*>(Value("\\VarFileInfo\\Translation"));
        return translation ? *translation : 0;
    }

    // A string of the block that the Translation names; "<missing>" when there is none.
    std::string Text(const char* name) const {
        char path[128];
        std::snprintf(path, sizeof(path), "\\StringFileInfo\\%04lx%04lx\\%s",
                      Translation() & 0xFFFF, Translation() >> 16, name);
        const char* text = static_cast<const char*>(Value(path));
        return text ? text : "<missing>";
    }

    const VS_FIXEDFILEINFO* Fixed() const {
        return static_cast<const VS_FIXEDFILEINFO*>(Value("\\"));
    }

  private:
    const void* Value(const char* path) const {
        void* value = nullptr;
        UINT size = 0;
        return VerQueryValueA(data.data(), path, &value, &size) && size > 0 ? value : nullptr;
    }

    std::vector<BYTE> data;
};

struct Program {
    const char* file;
    const char* description;
    const char* internalName;
};

const Program kPrograms[] = {
    {"VelloraH.exe", "Vellora 9x resident host", "VelloraH"},
    {"VlExProp.exe", "Vellora 9x Advanced Properties", "VlExProp"},
    {"Uninstall.exe", "Vellora 9x uninstall", "Uninstall"},
};

} // namespace

TEST(VersionResource, every_program_has_the_version_of_the_build_and_its_own_names) {
    for (const Program& program : kPrograms) {
        const VersionResource resource(BinPath(program.file));
        ASSERT_TRUE(resource.Read()) << program.file;
        // U.S. English in code page 1252.
        EXPECT_EQ(resource.Translation(), 0x04E40409u) << program.file;
        EXPECT_EQ(resource.Text("FileVersion"), VELLORA_VERSION_TEXT) << program.file;
        EXPECT_EQ(resource.Text("ProductVersion"), VELLORA_VERSION_TEXT) << program.file;
        EXPECT_EQ(resource.Text("ProductName"), "Vellora 9x") << program.file;
        EXPECT_EQ(resource.Text("FileDescription"), program.description) << program.file;
        EXPECT_EQ(resource.Text("InternalName"), program.internalName) << program.file;
        EXPECT_EQ(resource.Text("OriginalFilename"), program.file) << program.file;
        EXPECT_EQ(resource.Text("CompanyName"), "The Vellora 9x companion software authors")
            << program.file;
        EXPECT_EQ(resource.Text("LegalCopyright"),
                  "Copyright (c) 2026 the Vellora 9x companion software authors")
            << program.file;
    }
}

TEST(VersionResource, the_numbers_of_every_program_are_those_of_its_version_text) {
    const DWORD high = MAKELONG(VELLORA_VERSION_MINOR, VELLORA_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, VELLORA_VERSION_PATCH);
    for (const Program& program : kPrograms) {
        const VersionResource resource(BinPath(program.file));
        const VS_FIXEDFILEINFO* fixed = resource.Fixed();
        ASSERT_NE(fixed, nullptr) << program.file;
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE) << program.file;
        EXPECT_EQ(fixed->dwFileVersionMS, high) << program.file;
        EXPECT_EQ(fixed->dwFileVersionLS, low) << program.file;
        EXPECT_EQ(fixed->dwProductVersionMS, high) << program.file;
        EXPECT_EQ(fixed->dwProductVersionLS, low) << program.file;
        EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32)) << program.file;
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP)) << program.file;
    }
}
