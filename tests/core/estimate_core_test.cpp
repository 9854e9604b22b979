// The estimate core: the worked cases and the day rules through Calculate with a scripted
// window, the lines at the unit boundaries, and the conversion.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <gtest/gtest.h>

#include "core/calculator_form.h"

namespace {

// The controls' texts; each read as field:capacity, and the result slots at each repaint.
struct FakeWindow {
    std::array<const char*, FORM_FIELD_COUNT> texts;
    FormState form;
    std::string reads, repaints;
};

void Read(void* context, FormField field, char* buffer, int capacity)
{
    FakeWindow& fake = *static_cast<FakeWindow*>(context);
    int i = static_cast<int>(field);
    fake.reads += std::to_string(i) + ":" + std::to_string(capacity) + " ";
    std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s", fake.texts[i]);  // WM_GETTEXT
}

std::string Lines(const ResultLines& r)
{
    return std::string(r.perHour.text) + "|" + r.perDay.text + "|" + r.total.text;
}

CalculateOutcome CalculateIn(FakeWindow& fake)
{
    fake.reads = fake.repaints = "";
    auto repaint = [](void* context) {
        FakeWindow& f = *static_cast<FakeWindow*>(context);
        f.repaints += Lines(f.form.results) + " / ";
    };
    return Calculate(fake.form, Read, repaint, &fake);
}

TEST(CalculatorForm, WorkedCasesAndDayRules)
{
    // H = ((kbps / 8) * cameras * 3600) / 1024, D = H * hours, T = H * days * hours; then
    // the lines per hour, per day and in total. Only the first six characters of the day
    // field count; a count above 365 or below 0 is refused, and every line stays as it was.
    const std::array<const char*, 5> cases[] = {
        {"32", "1024", "24", "30", "14400 345600 10368000 14.06 GB|337.50 GB|9.89 TB"},
        {"1", "32", "1", "1", "14 14 14 14.00 MB|14.00 MB|14.00 MB"},
        {"1", "32", "24", "30", "14 336 10080 14.00 MB|336.00 MB|9.84 GB"},
        {"10", "768", "24", "30", "3375 81000 2430000 3.30 GB|79.10 GB|2.32 TB"},
        {"4", "512", "12", "7", "900 10800 75600 900.00 MB|10.55 GB|73.83 GB"},
        {"32", "8192", "24", "365", "115200 2764800 1009152000 112.50 GB|2.64 TB|962.40 TB"},
        {"1", "32", "24", "0", "14 336 0 14.00 MB|336.00 MB|0.00 MB"},
        {"1", "32", "24", "0000365", "14 336 12096 14.00 MB|336.00 MB|11.81 GB"},  // 36 days
        {"1", "32", "24", "366", "refused, unchanged"},
        {"1", "32", "24", "-1", "negative, unchanged"},
    };
    for (const auto& c : cases) {
        FakeWindow fake = {{"2", "64", "2", "2"}, InitialFormState(), "", ""};
        CalculateIn(fake);
        const std::string before = Lines(fake.form.results);
        fake.texts = {c[0], c[1], c[2], c[3]};
        CalculateOutcome outcome = CalculateIn(fake);
        const EstimateInputs& in = fake.form.inputs;
        const ResultLines& r = fake.form.results;
        std::string said =
            outcome == CalculateOutcome::DayLimitExceeded ? "refused"
            : outcome == CalculateOutcome::NegativeDayCount
                ? "negative"
                : std::to_string(MegabytesPerHour(in)) + " " + std::to_string(MegabytesPerDay(in)) +
                      " " + std::to_string(MegabytesTotal(in)) + " " + (r.perHour.text + 10) + "|" +
                      (r.perDay.text + 10) + "|" + (r.total.text + 9);
        EXPECT_EQ(said + (outcome != CalculateOutcome::Done && Lines(r) + fake.repaints == before
                              ? ", unchanged"
                              : ""),
                  c[4]);
    }
}

std::string Line(LineKind kind, std::int32_t megabytes)
{
    ResultText slot;
    std::memset(slot.text, '#', sizeof slot.text);
    FormatResultLine(kind, megabytes, slot);
    return std::string(slot.text, strnlen(slot.text, sizeof slot.text));
}

TEST(StorageEstimate, EveryFormatUnitBoundariesAndWraps)
{
    // Units change strictly above 1024; amounts above 2^24 are rounded to single precision
    // first; an exact tie goes to the even neighbour in both builds.
    const struct {
        LineKind kind;
        std::int32_t megabytes;
        const char* line;
    } cases[] = {
        {LineKind::PerHour, 1024, "POR HORA: 1024.00 MB"},
        {LineKind::PerHour, 1048577, "POR HORA: 1.00 TB"},
        {LineKind::PerDay, 1048576, " POR DIA: 1024.00 GB"},
        {LineKind::PerDay, 2621440, " POR DIA: 2.50 TB"},
        {LineKind::Total, 1025, "  TOTAL: 1.00 GB"},
        {LineKind::Total, 28800, "  TOTAL: 28.12 GB"},     // 28.125: 1 camera, 512 kbps, 8 h, 16 d
        {LineKind::Total, 16777217, "  TOTAL: 16.00 TB"},  // 2^24 + 1 rounds to 2^24
        {LineKind::Total, INT32_MIN, "  TOTAL: -2147483648.00 MB"},  // the longest: 26
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Line(c.kind, c.megabytes), c.line);
    }
    EXPECT_EQ(sizeof(ResultText), 35u);  // 34 characters and the terminator
    // Amounts wrap modulo 2^32. 14400 * -200000 * 24 = -69120000000, plus 17 * 2^32:
    // -400523264. 1024 KB/s * 1000000 * 3600, less 858 * 2^32: 1318060032 KB, then / 1024.
    // -15 kbps / 8 truncates toward zero, to -1 KB/s.
    EXPECT_EQ(MegabytesTotal({32, 1024, 24, -200000}), -400523264);
    EXPECT_EQ(MegabytesPerHour({1000000, 8192, 1, 1}), 1287168);
    EXPECT_EQ(MegabytesPerHour({1024, -15, 1, 1}), -3600);
}

TEST(CalculatorForm, ListsTextsAndTheFirstSelections)
{
    std::string items;  // a star before each first selection
    for (const ChoiceList* list : {&CAMERA_CHOICES, &BIT_RATE_CHOICES, &HOURS_CHOICES}) {
        for (int i = 0; i < list->count; ++i) {
            items += (i == list->firstSelection ? " *" : " ") + std::string(list->items[i]);
        }
        items += " |";
    }
    EXPECT_EQ(items,
              " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 "
              "31 *32 | 32 64 128 256 512 768 *1024 2048 4096 8192 | 1 2 3 4 5 6 7 8 9 10 11 12 "
              "13 14 15 16 17 18 19 20 21 22 23 *24 |");
    EXPECT_STREQ(DAYS_INITIAL_TEXT, "30");
    EXPECT_STREQ(DAY_LIMIT_TEXT,
                 "A quantidade de dias deve ser menor que 366. Por favor, tente novamente.");
    EXPECT_STREQ(DAY_LIMIT_CAPTION, "Falha na opera\xE7\xE3o");  // c-cedilla, a-tilde
    EXPECT_STREQ(NEGATIVE_DAYS_TEXT,
                 "A quantidade de dias n\xE3o pode ser negativa. Por favor, tente novamente.");

    // Read in order with their capacities; each repaint shows the lines written so far.
    FakeWindow fake = {{"32", "1024", "24", "30"}, InitialFormState(), "", ""};
    EXPECT_EQ(Lines(fake.form.results), "RESULTADO||");
    EXPECT_EQ(CalculateIn(fake), CalculateOutcome::Done);
    EXPECT_EQ(fake.reads, "0:3 1:5 2:3 3:7 ");
    EXPECT_EQ(fake.repaints,
              "POR HORA: 14.06 GB|| / POR HORA: 14.06 GB| POR DIA: 337.50 GB| / "
              "POR HORA: 14.06 GB| POR DIA: 337.50 GB|  TOTAL: 9.89 TB / ");
    // A reader that fills the whole buffer without a NUL, then one that writes nothing (as
    // WM_GETTEXT to a control that was never made): each text still ends inside its buffer,
    // and what is not read is empty.
    FormState& f = fake.form;
    auto texts = [&f] {
        return std::string(f.camerasText) + "|" + f.bitRateText + "|" + f.hoursText + "|" +
               f.daysText;
    };
    auto careless = [](void*, FormField, char* text, int size) {
        std::memset(text, '9', static_cast<std::size_t>(size));
    };
    auto silent = [](void*, FormField, char*, int) {
    };
    auto noRepaint = [](void*) {
    };
    Calculate(f, careless, noRepaint, nullptr);
    EXPECT_EQ(texts(), "99|9999|99|999999");
    Calculate(f, silent, noRepaint, nullptr);
    EXPECT_EQ(texts(), "|||");
}

TEST(CalculatorForm, DecimalConversion)
{
    // Blanks, one sign, digits up to another character; beyond 32 bits, the end of the range.
    // A no-break space (\xA0) is no blank.
    const std::pair<const char*, std::int32_t> cases[] = {
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {" \t\n\v\f\r+42x7", 42},
        {"  -7 1", -7},
        {"+-3", 0},
        {"\xA0\x35", 0},
        {"x1", 0},
        {"", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(DecimalTextToInt(text), value) << '"' << text << '"';
    }
}

}  // namespace
