// The resources of the shipped file, read the way Windows reads them: by type, identifier
// and language, and its version through the version API (as Explorer's Properties and
// Task Manager do).
#include <windows.h>

#include <string>
#include <gtest/gtest.h>

#include "window_test_support.h"

namespace {

struct VersionString {
    const char* name;
    const char* value;  // UTF-8
};

TEST(VersionInfo, PortugueseBrazilCodePage1252)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(MORVALEN_EXE_PATH, &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(MORVALEN_EXE_PATH, 0, size, data.data()));

    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 1046);
    EXPECT_EQ(translation->codePage, 1252);

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const VersionString strings[] = {
        {"ProductName", "Corvane - Morvalen"},
        {"FileDescription", "Estimativa de espaço em disco para gravação de vídeo"},
        {"FileVersion", "1.0.0"},
        {"ProductVersion", "1.0.0"},
        {"OriginalFilename", "morvalen.exe"},
    };
    for (const VersionString& s : strings) {
        SCOPED_TRACE(s.name);
        std::string path = std::string("\\StringFileInfo\\041604E4\\") + s.name;
        char* value = nullptr;
        ASSERT_TRUE(VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value),
                                   &length));
        EXPECT_EQ(std::string(value), Cp1252(s.value));
    }
}

struct ShippedResource {
    const char* type;
    int id;
    WORD language;
};

TEST(ShippedResources, EachWithItsLanguage)
{
    HMODULE program = LoadLibraryExA(MORVALEN_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const WORD brazil = MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN);  // 1046
    const ShippedResource resources[] = {
        {RT_BITMAP, 106, brazil},
        {RT_GROUP_ICON, 101, brazil},
        {RT_ICON, 1, brazil},
        {RT_MANIFEST, 1, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},  // 1033
        {RT_VERSION, 1, brazil},
    };
    for (const ShippedResource& r : resources) {
        SCOPED_TRACE(r.id);
        EXPECT_NE(FindResourceExA(program, r.type, MAKEINTRESOURCEA(r.id), r.language), nullptr);
    }

    // The manifest asks for the caller's rights and nothing else: no dependency on the
    // newer common controls, so the controls keep the classic look.
    HRSRC found = FindResourceExA(program, RT_MANIFEST, MAKEINTRESOURCEA(1),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(found, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                         SizeofResource(program, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    FreeLibrary(program);
}

}  // namespace
