// The estimate core: the worked cases and the day rules through Calculate with a scripted
// window, the lines at the unit boundaries, the conversion, and every input the form offers.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
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
        {"1", "32", "24", "1234567", "refused, unchanged"},  // 123456 days
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

TEST(CalculatorForm, EveryInputTheFormOffers)
{
    // Properties, not the formula again: each line is its label, a number with two decimals
    // and the unit its amount calls for (MB up to 1024, GB up to 1048576, else TB), ended in
    // its slot; it says the amount, taken as the hourly one times the hours and the days, to
    // two decimals of that unit, give or take single precision's rounding of large amounts;
    // and the total never falls as the days grow. Under the sanitizers every seventh day
    // count; the optimised Windows build walks them all.
#if defined(__SANITIZE_ADDRESS__)
    const int dayStep = 7;
#else
    const int dayStep = 1;
#endif
    const char* formats[] = {"POR HORA: %lf %cB%n", " POR DIA: %lf %cB%n", "  TOTAL: %lf %cB%n"};
    FakeWindow fake = {{}, InitialFormState(), "", ""};
    char days[4];
    for (int i = 0; i < 32 * 10 * 24 && !HasFailure(); ++i) {
        int h = i % 24;  // the lists' sizes are checked above
        double lastTotal = 0;
        for (int d = 0; d <= MAX_DAYS; d += dayStep) {
            std::snprintf(days, sizeof days, "%d", d);
            fake.texts = {CAMERA_CHOICES.items[i / 240], BIT_RATE_CHOICES.items[i / 24 % 10],
                          HOURS_CHOICES.items[h], days};
            fake.reads.clear();
            Calculate(
                fake.form, Read, [](void*) {}, &fake);
            std::int64_t hour = MegabytesPerHour(fake.form.inputs);
            const std::int64_t amounts[] = {hour, hour * (h + 1), hour * (h + 1) * d};
            const ResultLines& r = fake.form.results;
            const ResultText* slots[] = {&r.perHour, &r.perDay, &r.total};
            for (int k = 0; k < 3; ++k) {
                double mb = static_cast<double>(amounts[k]), value = -1;
                double unit = mb <= 1024 ? 1 : mb <= 1048576 ? 1024 : 1048576;
                char text[RESULT_TEXT_SIZE + 1] = "", letter = 0;
                int length = 0;
                std::memcpy(text, slots[k]->text, RESULT_TEXT_SIZE);  // no NUL: length stays 0
                std::sscanf(text, formats[k], &value, &letter, &length);
                EXPECT_TRUE(length > 6 && text[length] == '\0' && text[length - 6] == '.' &&
                            letter == "MGT"[unit > 1 ? (unit > 1024 ? 2 : 1) : 0] &&
                            std::fabs(value * unit - mb) <= 0.005000001 * unit + mb / (1 << 23))
                    << text << " for " << mb << " MB";
                if (k == 2) {
                    EXPECT_GE(value * unit, lastTotal) << "the total fell at " << d << " days";
                    lastTotal = value * unit;
                }
            }
        }
    }
}

}  // namespace
