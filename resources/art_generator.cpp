// Draws the program's artwork from code: the window background (background.bmp) and the
// icon (app.ico). The output is byte-for-byte the same on every run and platform, so the
// committed files can be checked against it.
//
//   art_generator OUTPUT_DIRECTORY
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr int WIDTH = 450;
constexpr int HEIGHT = 360;
constexpr int PIXELS_PER_METRE = 3780;  // 96 dots per inch

constexpr Rgb PANEL = {238, 238, 238};
constexpr Rgb FRAME_TOP_BOTTOM = {159, 159, 159};
constexpr Rgb FRAME_SIDES = {156, 156, 156};
constexpr Rgb HEADER_START = {211, 211, 211};
constexpr Rgb LETTERING = {72, 72, 72};
constexpr Rgb DIVIDER = {96, 96, 96};
constexpr Rgb RULE = {195, 195, 195};
constexpr Rgb WHITE = {255, 255, 255};

// The green stripe, by row from y 347 down: three given shades and the rows between them
// shaded evenly.
constexpr Rgb STRIPE[] = {
    {165, 199, 89}, {156, 197, 77},  {147, 194, 64},  {138, 192, 52},
    {143, 184, 77}, {147, 177, 102}, {152, 169, 127},
};
constexpr int STRIPE_TOP = 347;

Rgb background[HEIGHT][WIDTH];  // top-down while drawing; written bottom-up

void FillRect(int left, int top, int right, int bottom, Rgb colour)  // inclusive bounds
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            background[y][x] = colour;
        }
    }
}

// A 5 x 7 pixel alphabet for the letters the lettering uses, one row a byte, the high
// bit of the five the left column.
struct Glyph {
    char letter;
    std::uint8_t rows[7];
};

constexpr Glyph GLYPHS[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
};

const Glyph* FindGlyph(char letter)
{
    for (const Glyph& glyph : GLYPHS) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

// Block lettering: each glyph pixel becomes a scale x scale square, letters `gap` apart.
void DrawLettering(const char* text, int left, int top, int scale, int gap)
{
    int x = left;
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph* glyph = FindGlyph(*p);
        for (int row = 0; glyph != nullptr && row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if ((glyph->rows[row] >> (4 - column)) & 1) {
                    FillRect(x + column * scale, top + row * scale, x + column * scale + scale - 1,
                             top + row * scale + scale - 1, LETTERING);
                }
            }
        }
        x += 5 * scale + gap;
    }
}

// From `from` towards `to`, step of steps, rounded down: the last step stays short of `to`.
std::uint8_t Mix(std::uint8_t from, std::uint8_t to, int step, int steps)
{
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

void DrawBackground()
{
    FillRect(0, 0, WIDTH - 1, HEIGHT - 1, PANEL);

    // Header: from 211 under the frame line, evenly lighter, into the panel at y 61.
    for (int y = 1; y <= 60; ++y) {
        Rgb shade = {Mix(HEADER_START.r, PANEL.r, y - 1, 60),
                     Mix(HEADER_START.g, PANEL.g, y - 1, 60),
                     Mix(HEADER_START.b, PANEL.b, y - 1, 60)};
        FillRect(1, y, WIDTH - 2, y, shade);
    }

    // The logo (box x 57 to 230, y 28 to 61) and, beyond the divider, the product title
    // (box x 274 to 389, y 48 to 62), both standing on the baseline y 61.
    DrawLettering("CORVANE", 59, 34, 4, 5);
    FillRect(252, 24, 252, 65, DIVIDER);
    DrawLettering("MORVALEN", 281, 48, 2, 3);

    FillRect(56, 77, 391, 79, RULE);

    // The results frame: a 3-pixel outline, outer bounds x 99 to 349, y 229 to 299.
    FillRect(99, 229, 349, 231, RULE);
    FillRect(99, 297, 349, 299, RULE);
    FillRect(99, 229, 101, 299, RULE);
    FillRect(347, 229, 349, 299, RULE);

    for (int row = 0; row < 7; ++row) {
        FillRect(1, STRIPE_TOP + row, WIDTH - 2, STRIPE_TOP + row, STRIPE[row]);
    }
    FillRect(1, 354, WIDTH - 2, 358, WHITE);

    FillRect(0, 0, WIDTH - 1, 0, FRAME_TOP_BOTTOM);
    FillRect(0, HEIGHT - 1, WIDTH - 1, HEIGHT - 1, FRAME_TOP_BOTTOM);
    FillRect(0, 1, 0, HEIGHT - 2, FRAME_SIDES);
    FillRect(WIDTH - 1, 1, WIDTH - 1, HEIGHT - 2, FRAME_SIDES);
}

// Little-endian writers: the file formats are Windows', whatever the host.
struct Output {
    std::FILE* file;
    bool ok;
};

void Put8(Output& out, unsigned value)
{
    out.ok = out.ok && std::fputc(static_cast<int>(value & 0xFF), out.file) != EOF;
}

void Put16(Output& out, unsigned value)
{
    Put8(out, value);
    Put8(out, value >> 8);
}

void Put32(Output& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutInfoHeader(Output& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   int pixelsPerMetre)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB, uncompressed
    Put32(out, imageSize);
    Put32(out, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(out, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(out, 0);
    Put32(out, 0);
}

bool WriteBackground(const char* path)
{
    constexpr int ROW_BYTES = (WIDTH * 3 + 3) / 4 * 4;
    constexpr std::uint32_t IMAGE_SIZE = ROW_BYTES * HEIGHT;
    Output out = {std::fopen(path, "wb"), true};
    if (out.file == nullptr) {
        return false;
    }
    Put16(out, 0x4D42);  // "BM"
    Put32(out, 14 + 40 + IMAGE_SIZE);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, WIDTH, HEIGHT, 24, IMAGE_SIZE, PIXELS_PER_METRE);
    for (int y = HEIGHT - 1; y >= 0; --y) {
        for (int x = 0; x < WIDTH; ++x) {
            Put8(out, background[y][x].b);
            Put8(out, background[y][x].g);
            Put8(out, background[y][x].r);
        }
        for (int pad = WIDTH * 3; pad < ROW_BYTES; ++pad) {
            Put8(out, 0);
        }
    }
    return std::fclose(out.file) == 0 && out.ok;
}

// The icon: a hard-disk drive seen from the front, a green arrow pointing down into it.
// Shapes are sampled 4 x 4 times a pixel, so edges get partial alpha.
constexpr int ICON_SIZE = 48;
constexpr int SAMPLES = 4;

struct Rgba {
    double r, g, b, a;
};

Rgba icon[ICON_SIZE][ICON_SIZE];  // top-down, premultiplied while composing

bool InRoundedRect(double x, double y, double left, double top, double right, double bottom,
                   double radius)
{
    if (x < left || x > right || y < top || y > bottom) {
        return false;
    }
    double cx = x < left + radius ? left + radius : (x > right - radius ? right - radius : x);
    double cy = y < top + radius ? top + radius : (y > bottom - radius ? bottom - radius : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool InDownArrow(double x, double y)
{
    bool shaft = x >= 19.0 && x <= 29.0 && y >= 1.5 && y <= 16.0;
    // The head: a triangle from (9, 15) and (39, 15) down to its point at (24, 30).
    bool head = y >= 15.0 && y <= 30.0 && std::fabs(x - 24.0) <= (30.0 - y);
    return shaft || head;
}

enum class IconShape { DriveShadow, DriveBody, DriveFace, Slot, Led, ArrowEdge, Arrow };

bool Covers(IconShape shape, double x, double y)
{
    switch (shape) {
    case IconShape::DriveShadow: return InRoundedRect(x, y, 4.0, 24.0, 46.0, 47.0, 5.0);
    case IconShape::DriveBody: return InRoundedRect(x, y, 2.0, 22.0, 44.0, 45.0, 5.0);
    case IconShape::DriveFace: return InRoundedRect(x, y, 4.0, 24.0, 42.0, 36.0, 3.5);
    case IconShape::Slot: return InRoundedRect(x, y, 8.0, 39.0, 28.0, 41.0, 1.0);
    case IconShape::Led: return (x - 36.5) * (x - 36.5) + (y - 40.0) * (y - 40.0) <= 2.6 * 2.6;
    case IconShape::ArrowEdge:
        return InDownArrow(x, y) || InDownArrow(x - 1.0, y) || InDownArrow(x + 1.0, y) ||
               InDownArrow(x, y - 1.0) || InDownArrow(x, y + 1.0);
    case IconShape::Arrow: return InDownArrow(x, y);
    }
    return false;
}

// Colour of a shape at a point: the drive face and the arrow are shaded top to bottom.
Rgba ShapeColour(IconShape shape, double y)
{
    switch (shape) {
    case IconShape::DriveShadow: return {0, 0, 0, 0.28};
    case IconShape::DriveBody: return {70, 74, 80, 1};
    case IconShape::DriveFace: {
        double t = (y - 24.0) / 12.0;
        return {200 - 50 * t, 204 - 50 * t, 210 - 50 * t, 1};
    }
    case IconShape::Slot: return {40, 42, 46, 1};
    case IconShape::Led: return {120, 230, 90, 1};
    case IconShape::ArrowEdge: return {38, 110, 30, 1};
    case IconShape::Arrow: {
        double t = y / 30.0;
        return {120 - 60 * t, 205 - 45 * t, 80 - 50 * t, 1};
    }
    }
    return {0, 0, 0, 0};
}

void DrawIcon()
{
    const IconShape order[] = {IconShape::DriveShadow, IconShape::DriveBody, IconShape::DriveFace,
                               IconShape::Slot,        IconShape::Led,       IconShape::ArrowEdge,
                               IconShape::Arrow};
    for (int py = 0; py < ICON_SIZE; ++py) {
        for (int px = 0; px < ICON_SIZE; ++px) {
            Rgba pixel = {0, 0, 0, 0};
            for (IconShape shape : order) {
                int hits = 0;
                for (int sy = 0; sy < SAMPLES; ++sy) {
                    for (int sx = 0; sx < SAMPLES; ++sx) {
                        double x = px + (sx + 0.5) / SAMPLES;
                        double y = py + (sy + 0.5) / SAMPLES;
                        hits += Covers(shape, x, y) ? 1 : 0;
                    }
                }
                Rgba colour = ShapeColour(shape, py + 0.5);
                double alpha = colour.a * hits / (SAMPLES * SAMPLES);
                // "Over" compositing on premultiplied colour.
                pixel.r = colour.r * alpha + pixel.r * (1 - alpha);
                pixel.g = colour.g * alpha + pixel.g * (1 - alpha);
                pixel.b = colour.b * alpha + pixel.b * (1 - alpha);
                pixel.a = alpha + pixel.a * (1 - alpha);
            }
            icon[py][px] = pixel;
        }
    }
}

std::uint8_t Channel(double premultiplied, double alpha)
{
    if (alpha <= 0) {
        return 0;
    }
    double value = std::floor(premultiplied / alpha + 0.5);
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

std::uint8_t AlphaByte(double alpha)
{
    return static_cast<std::uint8_t>(std::floor(alpha * 255 + 0.5));
}

bool WriteIcon(const char* path)
{
    constexpr int MASK_ROW_BYTES = (ICON_SIZE + 31) / 32 * 4;
    constexpr std::uint32_t IMAGE_SIZE = ICON_SIZE * ICON_SIZE * 4 + MASK_ROW_BYTES * ICON_SIZE;
    Output out = {std::fopen(path, "wb"), true};
    if (out.file == nullptr) {
        return false;
    }
    // ICONDIR, then the one ICONDIRENTRY.
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    Put8(out, ICON_SIZE);
    Put8(out, ICON_SIZE);
    Put8(out, 0);  // no palette
    Put8(out, 0);
    Put16(out, 1);  // planes
    Put16(out, 32);
    Put32(out, 40 + IMAGE_SIZE);
    Put32(out, 6 + 16);
    // The image: its height counts the colour rows and the mask rows.
    PutInfoHeader(out, ICON_SIZE, ICON_SIZE * 2, 32, IMAGE_SIZE, 0);
    for (int y = ICON_SIZE - 1; y >= 0; --y) {
        for (int x = 0; x < ICON_SIZE; ++x) {
            const Rgba& p = icon[y][x];
            std::uint8_t alpha = AlphaByte(p.a);
            Put8(out, alpha ? Channel(p.b, p.a) : 0);
            Put8(out, alpha ? Channel(p.g, p.a) : 0);
            Put8(out, alpha ? Channel(p.r, p.a) : 0);
            Put8(out, alpha);
        }
    }
    // The 1-bit mask for systems without alpha: set where the icon is fully transparent.
    for (int y = ICON_SIZE - 1; y >= 0; --y) {
        for (int byte = 0; byte < MASK_ROW_BYTES; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                int x = byte * 8 + bit;
                bool transparent = x < ICON_SIZE && AlphaByte(icon[y][x].a) == 0;
                bits |= (transparent ? 1u : 0u) << (7 - bit);
            }
            Put8(out, bits);
        }
    }
    return std::fclose(out.file) == 0 && out.ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: art_generator OUTPUT_DIRECTORY\n");
        return 2;
    }
    char path[4096];
    DrawBackground();
    DrawIcon();
    const struct {
        const char* name;
        bool (*write)(const char* path);
    } files[] = {{"background.bmp", WriteBackground}, {"app.ico", WriteIcon}};
    for (const auto& file : files) {
        int length = std::snprintf(path, sizeof path, "%s/%s", argv[1], file.name);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof path || !file.write(path)) {
            std::fprintf(stderr, "art_generator: cannot write %s/%s\n", argv[1], file.name);
            return 1;
        }
    }
    return 0;
}
