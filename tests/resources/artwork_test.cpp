// The committed artwork, read as a Windows loader reads it: the background's format and
// layout, pixel by pixel at the layout's edges, and the icon's format.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> ReadFile(const char* name)
{
    std::string path = std::string(RESOURCES_DIR) + "/" + name;
    std::vector<std::uint8_t> bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
        std::fclose(file);
    }
    return bytes;
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "RGB(" << c.r << ", " << c.g << ", " << c.b << ")";
}

constexpr int W = 450, H = 360;

class Background : public testing::Test {
protected:
    void SetUp() override { bmp = ReadFile("background.bmp"); ASSERT_FALSE(bmp.empty()); }

    // Client coordinates, top-left origin; the file stores rows bottom-up.
    Rgb At(int x, int y) const
    {
        std::size_t row = static_cast<std::size_t>(H - 1 - y);
        std::size_t at = 54 + row * 1352 + static_cast<std::size_t>(x) * 3;
        return {bmp.at(at + 2), bmp.at(at + 1), bmp.at(at)};
    }

    // Dark pixels (lettering, divider) in a rectangle, inclusive.
    int Dark(int left, int top, int right, int bottom) const
    {
        int dark = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                dark += At(x, y).r < 128 ? 1 : 0;
            }
        }
        return dark;
    }

    std::vector<std::uint8_t> bmp;
};

TEST_F(Background, Format)
{
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    EXPECT_EQ(Le(bmp, 10, 4), 54u);  // pixels right after the headers
    EXPECT_EQ(Le(bmp, 14, 4), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(Le(bmp, 18, 4), 450u);
    EXPECT_EQ(Le(bmp, 22, 4), 360u);  // positive height: bottom-up
    EXPECT_EQ(Le(bmp, 26, 2), 1u);
    EXPECT_EQ(Le(bmp, 28, 2), 24u);
    EXPECT_EQ(Le(bmp, 30, 4), 0u);    // uncompressed
    EXPECT_EQ(Le(bmp, 38, 4), 3780u);
    EXPECT_EQ(Le(bmp, 42, 4), 3780u);
    EXPECT_EQ(bmp.size(), 54u + 1352u * 360u);  // rows of 1350 bytes padded to 1352
}

struct Region {
    const char* name;
    int left, top, right, bottom;  // inclusive
    Rgb colour;
};

TEST_F(Background, SolidRegionsOfTheLayout)
{
    const Rgb panel = {238, 238, 238}, rule = {195, 195, 195}, white = {255, 255, 255};
    const Region regions[] = {
        {"top frame line", 0, 0, 449, 0, {159, 159, 159}},
        {"bottom frame line", 0, 359, 449, 359, {159, 159, 159}},
        {"left frame line", 0, 1, 0, 358, {156, 156, 156}},
        {"right frame line", 449, 1, 449, 358, {156, 156, 156}},
        {"header rule", 56, 77, 391, 79, rule},
        {"results frame top", 99, 229, 349, 231, rule},
        {"results frame bottom", 99, 297, 349, 299, rule},
        {"results frame left", 99, 229, 101, 299, rule},
        {"results frame right", 347, 229, 349, 299, rule},
        {"inside the frame", 102, 232, 346, 296, panel},
        {"rows of the controls", 1, 80, 448, 228, panel},
        {"left of the frame", 1, 229, 98, 346, panel},
        {"right of the frame", 350, 229, 448, 346, panel},
        {"under the frame", 1, 300, 448, 346, panel},
        {"bottom band", 1, 354, 448, 358, white},
        {"stripe top row", 1, 347, 448, 347, {165, 199, 89}},
        {"stripe middle row", 1, 350, 448, 350, {138, 192, 52}},
        {"stripe bottom row", 1, 353, 448, 353, {152, 169, 127}},
        {"between the header and its rule", 1, 66, 448, 76, panel},
        {"around the header rule", 1, 77, 55, 79, panel},
    };
    for (const Region& r : regions) {
        int wrong = 0;
        for (int y = r.top; y <= r.bottom; ++y) {
            for (int x = r.left; x <= r.right; ++x) {
                if (!(At(x, y) == r.colour) && ++wrong == 1) {
                    ADD_FAILURE() << r.name << ": " << At(x, y) << " at " << x << ", " << y;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << r.name;
    }
}

TEST_F(Background, HeaderGradientAndStripeShading)
{
    // Down column 440, clear of the lettering: 211 under the frame line, lighter on every
    // row or equal, short of the panel until y 61.
    EXPECT_EQ(At(440, 1), (Rgb{211, 211, 211}));
    for (int y = 2; y <= 60; ++y) {
        SCOPED_TRACE(y);
        EXPECT_GE(At(440, y).r, At(440, y - 1).r);
        EXPECT_LT(At(440, y).r, 238);
        EXPECT_EQ(At(440, y).r, At(440, y).g);
        EXPECT_EQ(At(1, y), At(448, y));  // each row one grey across
    }
    EXPECT_GT(At(440, 30).r, 220);
    // The stripe rows between the given shades lie between them, each row one colour.
    for (int y = 347; y <= 353; ++y) {
        EXPECT_EQ(At(1, y), At(448, y)) << y;
        EXPECT_GT(At(200, y).g, At(200, y).r) << "green at " << y;
    }
}

TEST_F(Background, LetteringAndDividerInTheirBoxes)
{
    int logo = Dark(57, 28, 230, 61);
    int divider = Dark(252, 24, 252, 65);
    int title = Dark(274, 48, 389, 62);
    EXPECT_GT(logo, 500);
    EXPECT_EQ(divider, 42);  // the whole 1 x 42 line
    EXPECT_GT(title, 150);
    // Nothing dark anywhere else in the picture.
    EXPECT_EQ(Dark(0, 0, 449, 359), logo + divider + title);
    EXPECT_EQ(Dark(251, 24, 251, 65) + Dark(253, 24, 253, 65), 0);
}

TEST(Icon, OneImage48By48With32BitsAndAMask)
{
    std::vector<std::uint8_t> ico = ReadFile("app.ico");
    ASSERT_GE(ico.size(), 22u + 40u);
    EXPECT_EQ(Le(ico, 0, 2), 0u);
    EXPECT_EQ(Le(ico, 2, 2), 1u);  // an icon
    EXPECT_EQ(Le(ico, 4, 2), 1u);  // one image
    EXPECT_EQ(ico[6], 48);
    EXPECT_EQ(ico[7], 48);
    EXPECT_EQ(Le(ico, 12, 2), 32u);
    std::uint32_t size = Le(ico, 14, 4), offset = Le(ico, 18, 4);
    EXPECT_EQ(offset + size, ico.size());
    EXPECT_EQ(Le(ico, offset + 4, 4), 48u);
    EXPECT_EQ(Le(ico, offset + 8, 4), 96u);  // colour rows and mask rows
    EXPECT_EQ(Le(ico, offset + 14, 2), 32u);
    // 48 x 48 BGRA, then the mask in rows of 8 bytes.
    EXPECT_EQ(size, 40u + 48u * 48u * 4u + 8u * 48u);

    // The mask is set exactly where alpha is 0; the corners are transparent, the middle of
    // the drive and of the arrow opaque, the arrow green.
    std::size_t pixels = offset + 40, mask = pixels + 48 * 48 * 4;
    auto alpha = [&](int x, int y) { return ico[pixels + ((47 - y) * 48 + x) * 4 + 3]; };
    auto masked = [&](int x, int y) { return (ico[mask + (47 - y) * 8 + x / 8] >> (7 - x % 8)) & 1; };
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            ASSERT_EQ(masked(x, y) == 1, alpha(x, y) == 0) << x << ", " << y;
        }
    }
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(47, 0), 0);
    EXPECT_EQ(alpha(24, 40), 255);
    EXPECT_EQ(alpha(24, 10), 255);
    std::size_t arrow = pixels + ((47 - 10) * 48 + 24) * 4;
    EXPECT_GT(ico[arrow + 1], ico[arrow + 2]);  // green above red
    EXPECT_GT(ico[arrow + 1], ico[arrow]);      // and above blue
}

}  // namespace
