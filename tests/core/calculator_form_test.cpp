// The form and its Calculate action, driven by a scripted field reader and a repaint
// counter that records what each repaint would show.
#include "core/calculator_form.h"

#include <cstring>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

struct ReadCall {
    FormField field;
    int capacity;
};

// What one repaint would show: the three slots at that moment.
struct Snapshot {
    std::string perHour, perDay, total;
};

struct FakeForm {
    const char* texts[4];  // cameras, bit rate, hours, days: the controls' full texts
    const FormState* form;
    std::vector<ReadCall> reads;
    std::vector<Snapshot> repaints;
};

void ReadField(void* context, FormField field, char* buffer, int capacity)
{
    FakeForm& fake = *static_cast<FakeForm*>(context);
    fake.reads.push_back({field, capacity});
    // What WM_GETTEXT does: at most capacity - 1 characters, then a NUL.
    const char* text = fake.texts[static_cast<int>(field)];
    std::size_t length = std::min(std::strlen(text), static_cast<std::size_t>(capacity - 1));
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

void Repaint(void* context)
{
    FakeForm& fake = *static_cast<FakeForm*>(context);
    const ResultLines& r = fake.form->results;
    fake.repaints.push_back({r.perHour.text, r.perDay.text, r.total.text});
}

struct CalculateRun {
    CalculateOutcome outcome;
    FakeForm fake;
};

CalculateRun CalculateWith(FormState& form, const char* cameras, const char* bitRate, const char* hours,
                  const char* days)
{
    CalculateRun run = {CalculateOutcome::Done, {{cameras, bitRate, hours, days}, &form, {}, {}}};
    run.outcome = Calculate(form, ReadField, Repaint, &run.fake);
    return run;
}

std::vector<std::string> Items(const ChoiceList& list)
{
    return std::vector<std::string>(list.items, list.items + list.count);
}

TEST(CalculatorForm, ChoiceListsAndInitialTexts)
{
    std::vector<std::string> oneTo32, oneTo24;
    for (int i = 1; i <= 32; ++i) {
        oneTo32.push_back(std::to_string(i));
        if (i <= 24) {
            oneTo24.push_back(std::to_string(i));
        }
    }
    EXPECT_EQ(Items(CAMERA_CHOICES), oneTo32);
    EXPECT_EQ(Items(HOURS_CHOICES), oneTo24);
    EXPECT_EQ(Items(BIT_RATE_CHOICES), (std::vector<std::string>{
        "32", "64", "128", "256", "512", "768", "1024", "2048", "4096", "8192"}));
    EXPECT_STREQ(CAMERA_CHOICES.items[CAMERA_CHOICES.firstSelection], "32");
    EXPECT_STREQ(BIT_RATE_CHOICES.items[BIT_RATE_CHOICES.firstSelection], "1024");
    EXPECT_STREQ(HOURS_CHOICES.items[HOURS_CHOICES.firstSelection], "24");
    EXPECT_STREQ(DAYS_INITIAL_TEXT, "30");
}

TEST(CalculatorForm, InitialSlots)
{
    FormState form = InitialFormState();
    EXPECT_STREQ(form.results.perHour.text, "RESULTADO");
    EXPECT_STREQ(form.results.perDay.text, "");
    EXPECT_STREQ(form.results.total.text, "");
}

TEST(CalculatorForm, ReadsTheFieldsInOrderWithTheirCapacities)
{
    FormState form = InitialFormState();
    CalculateRun run = CalculateWith(form, "32", "1024", "24", "30");
    ASSERT_EQ(run.fake.reads.size(), 4u);
    const ReadCall expected[] = {{FormField::Cameras, 3},
                                 {FormField::BitRate, 5},
                                 {FormField::HoursPerDay, 3},
                                 {FormField::Days, 7}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(run.fake.reads[i].field, expected[i].field);
        EXPECT_EQ(run.fake.reads[i].capacity, expected[i].capacity);
        EXPECT_EQ(ReadBackCapacity(expected[i].field), expected[i].capacity);
    }
}

TEST(CalculatorForm, FirstSelectionsRepaintAfterEachLine)
{
    FormState form = InitialFormState();
    CalculateRun run = CalculateWith(form, "32", "1024", "24", "30");
    EXPECT_EQ(run.outcome, CalculateOutcome::Done);
    // Each repaint shows the lines written so far and not the later ones: before the
    // second and third lines their slots still hold the texts from before.
    ASSERT_EQ(run.fake.repaints.size(), 3u);
    const Snapshot expected[] = {
        {"POR HORA: 14.06 GB", "", ""},
        {"POR HORA: 14.06 GB", " POR DIA: 337.50 GB", ""},
        {"POR HORA: 14.06 GB", " POR DIA: 337.50 GB", "  TOTAL: 9.89 TB"},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(run.fake.repaints[i].perHour, expected[i].perHour);
        EXPECT_EQ(run.fake.repaints[i].perDay, expected[i].perDay);
        EXPECT_EQ(run.fake.repaints[i].total, expected[i].total);
    }
    EXPECT_EQ(form.inputs.cameras, 32);
    EXPECT_EQ(form.inputs.bitRateKbps, 1024);
    EXPECT_EQ(form.inputs.hoursPerDay, 24);
    EXPECT_EQ(form.inputs.days, 30);
}

struct DayCase {
    const char* daysText;
    CalculateOutcome outcome;
    const char* totalLine;  // after Done, with 1 camera, 32 kbps, 24 hours (H = 14)
};

TEST(CalculatorForm, DayCountRule)
{
    const DayCase cases[] = {
        {"365", CalculateOutcome::Done, "  TOTAL: 119.77 GB"},    // 14*365*24 = 122640 MB
        {"366", CalculateOutcome::DayLimitExceeded, nullptr},
        {"0000365", CalculateOutcome::Done, "  TOTAL: 11.81 GB"}, // 000036: 12096 MB
        {"1234567", CalculateOutcome::DayLimitExceeded, nullptr}, // read as 123456
        {"", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},
        {"0", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},
        {"abc", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},      // no digits reads as 0
        {"  7x", CalculateOutcome::Done, "  TOTAL: 2.30 GB"},     // 14*7*24 = 2352 MB
        {"+30", CalculateOutcome::Done, "  TOTAL: 9.84 GB"},
        {"-0", CalculateOutcome::Done, "  TOTAL: 0.00 MB"},
        {"-5", CalculateOutcome::NegativeDayCount, nullptr},
        {"-99999", CalculateOutcome::NegativeDayCount, nullptr},
        {"999999", CalculateOutcome::DayLimitExceeded, nullptr},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(c.daysText);
        FormState form = InitialFormState();
        CalculateRun run = CalculateWith(form, "1", "32", "24", c.daysText);
        EXPECT_EQ(run.outcome, c.outcome);
        if (c.outcome == CalculateOutcome::Done) {
            EXPECT_STREQ(form.results.total.text, c.totalLine);
            EXPECT_EQ(run.fake.repaints.size(), 3u);
        } else {
            EXPECT_TRUE(run.fake.repaints.empty());
            EXPECT_STREQ(form.results.perHour.text, "RESULTADO");
        }
    }
}

TEST(CalculatorForm, RefusalLeavesEverySlotAsItWas)
{
    FormState form = InitialFormState();
    ASSERT_EQ(CalculateWith(form, "10", "768", "24", "30").outcome, CalculateOutcome::Done);
    ResultLines before;
    std::memcpy(&before, &form.results, sizeof before);
    for (const char* days : {"366", "-1", "123456"}) {
        SCOPED_TRACE(days);
        CalculateOutcome outcome = CalculateWith(form, "32", "8192", "1", days).outcome;
        EXPECT_NE(outcome, CalculateOutcome::Done);
        EXPECT_EQ(std::memcmp(&before, &form.results, sizeof before), 0);
    }
    EXPECT_STREQ(form.results.total.text, "  TOTAL: 2.32 TB");
}

TEST(CalculatorForm, TextsAreKeptWithinTheirCapacities)
{
    // A reader that ignores the contract and fills the whole buffer without a NUL: the
    // stored text still ends inside its buffer.
    FormState form = InitialFormState();
    auto careless = [](void*, FormField, char* buffer, int capacity) {
        std::memset(buffer, '9', static_cast<std::size_t>(capacity));
    };
    auto noRepaint = [](void*) {};
    EXPECT_EQ(Calculate(form, careless, noRepaint, nullptr), CalculateOutcome::DayLimitExceeded);
    EXPECT_STREQ(form.camerasText, "99");
    EXPECT_STREQ(form.bitRateText, "9999");
    EXPECT_STREQ(form.hoursText, "99");
    EXPECT_STREQ(form.daysText, "999999");
}

struct ConversionCase {
    const char* text;
    std::int32_t value;
};

TEST(CalculatorForm, DecimalConversionIsDefinedForEveryText)
{
    const ConversionCase cases[] = {
        {"", 0}, {"   ", 0}, {"-", 0}, {"+", 0}, {"x12", 0}, {"12x", 12},
        {" \t\n\v\f\r42", 42}, {"+-3", 0}, {"--3", 0}, {"007", 7}, {"-0", 0},
        {"2147483647", 2147483647}, {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647}, {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN}, {"-99999999999999999999", INT32_MIN},
        {"\xA0" "5", 0},  // a no-break space is not white space in the C locale
        {"\xFF", 0},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecimalTextToInt(c.text), c.value);
    }
}

}  // namespace
