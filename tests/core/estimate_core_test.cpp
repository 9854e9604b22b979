// The estimate core: cases worked out by hand, the form's Calculate with a scripted window,
// and every input the form can offer.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

#include "core/calculator_form.h"

namespace {

std::string Line(LineKind kind, std::int32_t megabytes)
{
    ResultText slot;
    std::memset(slot.text, '#', sizeof slot.text);
    FormatResultLine(kind, megabytes, slot);
    return std::string(slot.text, strnlen(slot.text, sizeof slot.text));
}

TEST(StorageEstimate, WorkedCases)
{
    // H = ((kbps / 8) * cameras * 3600) / 1024, D = H * hours, T = H * days * hours, each
    // wrapping modulo 2^32; then what the lines per hour, per day and in total say.
    const std::pair<EstimateInputs, const char*> cases[] = {
        {{32, 1024, 24, 30}, "14400 345600 10368000: 14.06 GB|337.50 GB|9.89 TB"},
        {{1, 32, 1, 1}, "14 14 14: 14.00 MB|14.00 MB|14.00 MB"},
        {{1, 32, 24, 30}, "14 336 10080: 14.00 MB|336.00 MB|9.84 GB"},
        {{10, 768, 24, 30}, "3375 81000 2430000: 3.30 GB|79.10 GB|2.32 TB"},
        {{4, 512, 12, 7}, "900 10800 75600: 900.00 MB|10.55 GB|73.83 GB"},
        {{32, 8192, 24, 365}, "115200 2764800 1009152000: 112.50 GB|2.64 TB|962.40 TB"},
        {{1, 32, 24, 0}, "14 336 0: 14.00 MB|336.00 MB|0.00 MB"},
        // 14400 * -200000 * 24 = -69120000000; plus 17 * 2^32: 3894444032, as signed:
        {{32, 1024, 24, -200000}, "14400 345600 -400523264: 14.06 GB|337.50 GB|-400523264.00 MB"},
        // 1024 * 1000000 * 3600 KB less 858 * 2^32 = 1318060032 KB: wrapped, then divided.
        {{1000000, 8192, 1, 1}, "1287168 1287168 1287168: 1.23 TB|1.23 TB|1.23 TB"},
        // -15 / 8 truncates toward zero, to -1.
        {{1024, -15, 1, 1}, "-3600 -3600 -3600: -3600.00 MB|-3600.00 MB|-3600.00 MB"},
    };
    for (const auto& [in, expected] : cases) {
        std::int32_t hour = MegabytesPerHour(in), day = MegabytesPerDay(in),
                     total = MegabytesTotal(in);
        EXPECT_EQ(std::to_string(hour) + " " + std::to_string(day) + " " + std::to_string(total) +
                      ": " + Line(LineKind::PerHour, hour).substr(10) + "|" +
                      Line(LineKind::PerDay, day).substr(10) + "|" +
                      Line(LineKind::Total, total).substr(9),
                  expected);
    }
}

TEST(StorageEstimate, EveryFormatUnitBoundariesAndTies)
{
    // Units change strictly above 1024; amounts above 2^24 are rounded to single precision
    // first; an exact tie goes to the even neighbour in both builds.
    const struct {
        LineKind kind;
        std::int32_t megabytes;
        const char* line;
    } cases[] = {
        {LineKind::PerHour, 1024, "POR HORA: 1024.00 MB"},
        {LineKind::PerHour, 1152, "POR HORA: 1.12 GB"},  // 1.125
        {LineKind::PerHour, 1048577, "POR HORA: 1.00 TB"},
        {LineKind::PerDay, -5000000, " POR DIA: -5000000.00 MB"},  // never scaled
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
}

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
}

TEST(CalculatorForm, DayRules)
{
    const struct {
        const char* days;
        CalculateOutcome outcome;
        const char* total;  // 1 camera at 32 kbps, 24 hours: H = 14
    } cases[] = {
        {"365", CalculateOutcome::Done, "  TOTAL: 119.77 GB"},     // 14*365*24 = 122640 MB
        {"0000365", CalculateOutcome::Done, "  TOTAL: 11.81 GB"},  // 000036: 12096 MB
        {"  7x", CalculateOutcome::Done, "  TOTAL: 2.30 GB"},      // 14*7*24 = 2352 MB
        {"", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},
        {"-0", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},
        {"366", CalculateOutcome::DayLimitExceeded, nullptr},
        {"1234567", CalculateOutcome::DayLimitExceeded, nullptr},  // 123456
        {"-1", CalculateOutcome::NegativeDayCount, nullptr},
    };
    for (const auto& c : cases) {
        // A refusal leaves every line of the Calculate before (10 cameras at 768 kbps) and
        // asks for no repaint.
        FakeWindow fake = {{"10", "768", "24", "30"}, InitialFormState(), "", ""};
        CalculateIn(fake);
        const std::string before = Lines(fake.form.results);
        fake.texts = {"1", "32", "24", c.days};
        EXPECT_EQ(CalculateIn(fake), c.outcome) << c.days;
        EXPECT_EQ(c.total ? fake.form.results.total.text : Lines(fake.form.results) + fake.repaints,
                  c.total ? c.total : before)
            << c.days;
    }
    // A reader that fills the whole buffer without a NUL: each text still ends inside it.
    FormState form = InitialFormState();
    auto careless = [](void*, FormField, char* text, int size) {
        std::memset(text, '9', static_cast<std::size_t>(size));
    };
    Calculate(
        form, careless, [](void*) {}, nullptr);
    EXPECT_EQ(std::string(form.camerasText) + "|" + form.bitRateText + "|" + form.hoursText + "|" +
                  form.daysText,
              "99|9999|99|999999");
}

TEST(CalculatorForm, DecimalConversion)
{
    // The rule, written out: blanks, one sign, digits up to another character, 32-bit ends.
    auto byTheRule = [](const char* p) {
        p += std::strspn(p, " \t\n\v\f\r");
        bool negative = *p == '-';
        p += (*p == '-' || *p == '+') ? 1 : 0;
        std::int64_t value = 0;
        for (; *p >= '0' && *p <= '9' && value <= INT32_MAX; ++p) {
            value = value * 10 + (*p - '0');
        }
        return std::clamp<std::int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX);
    };
    // The ends of the range, a no-break space (\xA0) before 5; then every text of up to
    // five of these: digits, signs, blanks, a letter, a high byte.
    std::vector<std::string> texts = {"2147483647",  "2147483648",  "99999999999999999999",
                                      "-2147483648", "-2147483649", "-99999999999999999999",
                                      "\xA0\x35",    " \n\v\f\r4",  ""};
    for (std::size_t i = texts.size() - 1; i < texts.size(); ++i) {
        for (char c : std::string(texts[i].size() < 5 ? "019-+ \tx\xE9" : "")) {
            texts.push_back(texts[i] + c);
        }
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(DecimalTextToInt(text.c_str()), byTheRule(text.c_str())) << '"' << text << '"';
    }
}

// A line must be its label, a number with two decimals and the unit the amount calls for
// (MB up to 1024, GB up to 1048576, else TB), ended inside its slot; and say the amount to
// two decimals of its unit, give or take single precision's rounding of large amounts.
// Returns what the line reads back as, in megabytes.
double ReadBack(const ResultText& slot, const char* label, std::int64_t megabytes)
{
    int unit = megabytes <= 1024 ? 0 : megabytes <= 1048576 ? 1 : 2;
    double size = std::pow(1024.0, unit), shown = -1;
    char* end = nullptr;
    std::size_t length = strnlen(slot.text, sizeof slot.text), labelLength = std::strlen(label);
    if (length < sizeof slot.text && std::strncmp(slot.text, label, labelLength) == 0) {
        shown = std::strtod(slot.text + labelLength, &end) * size;
    }
    double tolerance = 0.005000001 * size + static_cast<double>(megabytes) / (1 << 23);
    EXPECT_TRUE(end && end[-3] == '.' && std::strcmp(end, &" MB\0 GB\0 TB"[unit * 4]) == 0 &&
                std::fabs(shown - static_cast<double>(megabytes)) <= tolerance)
        << std::string(slot.text, length) << " for " << megabytes << " MB";
    return shown;
}

TEST(CalculatorForm, EveryInputTheFormOffers)
{
    // Properties, not a second copy of the formula. Under the sanitizers every seventh day
    // count; the optimised Windows build walks them all.
#if defined(__SANITIZE_ADDRESS__)
    const int dayStep = 7;
#else
    const int dayStep = 1;
#endif
    char days[MAX_DAYS + 1][4];
    FakeWindow fake = {{}, InitialFormState(), "", ""};
    for (int c = 0; c < CAMERA_CHOICES.count * BIT_RATE_CHOICES.count && !HasFailure(); ++c) {
        for (int h = 0; h < HOURS_CHOICES.count; ++h) {
            double lastTotal = -1;
            for (int d = 0; d <= MAX_DAYS; d += dayStep) {
                std::snprintf(days[d], sizeof days[d], "%d", d);
                fake.texts = {CAMERA_CHOICES.items[c / BIT_RATE_CHOICES.count],
                              BIT_RATE_CHOICES.items[c % BIT_RATE_CHOICES.count],
                              HOURS_CHOICES.items[h], days[d]};
                fake.reads.clear();
                EXPECT_EQ(Calculate(
                              fake.form, Read, [](void*) {}, &fake),
                          CalculateOutcome::Done);
                // Wider than 32 bits, the amounts are still each other's products.
                std::int64_t hour = MegabytesPerHour(fake.form.inputs), day = hour * (h + 1);
                EXPECT_EQ(MegabytesPerDay(fake.form.inputs), day);
                EXPECT_EQ(MegabytesTotal(fake.form.inputs), day * d);
                ReadBack(fake.form.results.perHour, "POR HORA: ", hour);
                ReadBack(fake.form.results.perDay, " POR DIA: ", day);
                double total = ReadBack(fake.form.results.total, "  TOTAL: ", day * d);
                EXPECT_GE(total, lastTotal) << "the total fell at " << d << " days";
                lastTotal = total;
            }
        }
    }
}

}  // namespace
