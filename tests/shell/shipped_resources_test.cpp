// What the shipped file carries, found the way Windows finds it: by type, identifier and
// language (1046, Portuguese (Brazil); the manifest 1033, English (United States)).
#include <string>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ShippedResources, EachWithItsLanguageAndForm)
{
    HMODULE program = LoadLibraryExA(MORVALEN_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    auto data = [program](const char* type, int id, WORD language) {
        HRSRC found = FindResourceExA(program, type, MAKEINTRESOURCEA(id), language);
        const void* bytes = found ? LockResource(LoadResource(program, found)) : "";
        return std::string(static_cast<const char*>(bytes),
                           found ? SizeofResource(program, found) : 0);
    };
    // The picture: 450 x 360, bottom-up, 24 bits, uncompressed, 3780 pixels a metre.
    std::string bitmap = data(RT_BITMAP, 106, 1046);
    const auto* picture = reinterpret_cast<const BITMAPINFOHEADER*>(bitmap.data());
    EXPECT_EQ(std::to_string(picture->biWidth) + "x" + std::to_string(picture->biHeight) + " " +
                  std::to_string(picture->biBitCount) + " " +
                  std::to_string(picture->biCompression) + " " +
                  std::to_string(picture->biXPelsPerMeter),
              "450x360 24 0 3780");
    // One icon image, 48 x 48, 32 bits; the image has twice the height, for its mask.
    EXPECT_EQ(data(RT_GROUP_ICON, 101, 1046).substr(2, 11),
              std::string("\1\0\1\0\x30\x30\0\0\1\0\x20", 11));
    EXPECT_EQ(data(RT_ICON, 1, 1046).substr(8, 4), std::string("\x60\0\0\0", 4));
    // The caller's rights and nothing else: without the newer common controls, the classic look.
    std::string manifest = data(RT_MANIFEST, 1, 1033);
    EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    EXPECT_FALSE(data(RT_VERSION, 1, 1046).empty());
}

}  // namespace
