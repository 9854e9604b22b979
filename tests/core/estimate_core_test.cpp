// The estimate core: worked cases and day rules through Calculate, unit boundaries, lists.
#include <array>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>
#include <gtest/gtest.h>

#include "core/calculator_form.h"

void PrintTo(CalculateOutcome outcome, std::ostream* out)
{
    *out << std::array{"Done", "DayLimitExceeded", "NegativeDayCount"}[static_cast<int>(outcome)];
}

namespace {

using Three = std::array<std::string, 3>;  // per hour, per day, total

Three Lines(const ResultLines& r)
{
    return {r.perHour.text, r.perDay.text, r.total.text};
}

std::array<std::string, FORM_FIELD_COUNT> fieldTexts;  // the scripted window's fields
std::vector<Three> repaints;                           // the lines it showed at each repaint

void ReadField(const void*, FormField field, char* buffer, int capacity)  // as WM_GETTEXT does
{
    std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s",
                  fieldTexts[static_cast<std::size_t>(field)].c_str());
}

void Repaint(const void* form)
{
    repaints.push_back(Lines(static_cast<const FormState*>(form)->results));
}

// H = ((kbps / 8) * cameras * 3600) / 1024, D = H * hours, T = H * days * hours, from the
// texts as read: six characters of the day field, blanks and a sign first, digits up to a
// letter. Days above 365 or below 0 are refused: no repaint, the lines as they were.
using enum CalculateOutcome;
const struct {
    const char *cameras, *kbps, *hours, *days;
    std::int32_t perHourMB, perDayMB, totalMB;
    std::string perHour, perDay, total;  // each after its line's fixed text
    CalculateOutcome outcome = Done;
} WORKED_CASES[] = {
    {"32", "1024", "24", "30", 14400, 345600, 10368000, "14.06 GB", "337.50 GB", "9.89 TB"},
    {"1", "32", "1", "1", 14, 14, 14, "14.00 MB", "14.00 MB", "14.00 MB"},
    {"10", "768", "24", "30", 3375, 81000, 2430000, "3.30 GB", "79.10 GB", "2.32 TB"},
    {"4", "512", "12", "7", 900, 10800, 75600, "900.00 MB", "10.55 GB", "73.83 GB"},
    {"32", "8192", "24", "365", 115200, 2764800, 1009152000, "112.50 GB", "2.64 TB", "962.40 TB"},
    {"1", "32", "24", "", 14, 336, 0, "14.00 MB", "336.00 MB", "0.00 MB"},
    {"1", "32", "24", " \t+7x9", 14, 336, 2352, "14.00 MB", "336.00 MB", "2.30 GB"},
    {"1", "32", "24", "0000365", 14, 336, 12096, "14.00 MB", "336.00 MB", "11.81 GB"},  // 36 days
    {"1", "32", "24", "366", 14, 336, 122976, "", "", "", DayLimitExceeded},
    {"1", "32", "24", "-1", 14, 336, -336, "", "", "", NegativeDayCount},
};

TEST(CalculatorForm, WorkedCasesAndDayRules)
{
    for (const auto& c : WORKED_CASES) {
        fieldTexts = {c.cameras, c.kbps, c.hours, c.days};
        SCOPED_TRACE("fields " + testing::PrintToString(fieldTexts));
        repaints.clear();
        FormState form = InitialFormState();
        EXPECT_EQ(Calculate(form, ReadField, Repaint, &form), c.outcome);
        const EstimateInputs& in = form.inputs;
        EXPECT_EQ((std::array{MegabytesPerHour(in), MegabytesPerDay(in), MegabytesTotal(in)}),
                  (std::array{c.perHourMB, c.perDayMB, c.totalMB}));
        const Three done{"POR HORA: " + c.perHour, " POR DIA: " + c.perDay, "  TOTAL: " + c.total};
        EXPECT_EQ(Lines(form.results), (c.outcome == Done ? done : Three{"RESULTADO", "", ""}));
        const std::vector<Three> steps = {{done[0], "", ""}, {done[0], done[1], ""}, done};
        EXPECT_EQ(repaints, c.outcome == Done ? steps : std::vector<Three>{});
    }
}

TEST(StorageEstimate, UnitBoundariesAndRounding)
{
    // Units change strictly above 1024; amounts are rounded to a float (ties to even) first.
    const std::tuple<LineKind, std::int32_t, const char*> cases[] = {
        {LineKind::PerHour, 1024, "POR HORA: 1024.00 MB"},
        {LineKind::PerHour, 1048577, "POR HORA: 1.00 TB"},
        {LineKind::PerDay, 1048576, " POR DIA: 1024.00 GB"},
        {LineKind::Total, 1025, "  TOTAL: 1.00 GB"},
        {LineKind::Total, 28800, "  TOTAL: 28.12 GB"},  // tie 28.125 to even: 512 kbps, 8 h, 16 d
        // 16792945 is 16.0150003 TB, but in single precision it is 16792944: 16.0149994 TB.
        {LineKind::Total, 16792945, "  TOTAL: 16.01 TB"},
    };
    for (const auto& [kind, megabytes, line] : cases) {
        ResultText slot;
        std::memset(slot.text, '#', sizeof slot.text);
        FormatResultLine(kind, megabytes, slot);
        EXPECT_EQ(std::string(slot.text, strnlen(slot.text, sizeof slot.text)), line)
            << megabytes << " MB";
    }
}

TEST(CalculatorForm, ListsAndCarelessReaders)
{
    std::string items = DAYS_INITIAL_TEXT;  // then each list, a star before its first selection
    for (const ChoiceList* list : {&CAMERA_CHOICES, &BIT_RATE_CHOICES, &HOURS_CHOICES}) {
        items += " |";
        for (int i = 0; i < list->count; ++i) {
            items += (i == list->firstSelection ? " *" : " ") + std::string(list->items[i]);
        }
    }
    EXPECT_EQ(items,
              "30 | 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 "
              "29 30 31 *32 | 32 64 128 256 512 768 *1024 2048 4096 8192 | 1 2 3 4 5 6 7 8 9 10 "
              "11 12 13 14 15 16 17 18 19 20 21 22 23 *24");
    // A reader filling each buffer (3, 5, 3, 7 bytes) without a NUL, then one writing nothing
    // (as WM_GETTEXT to a control never made): each text ends inside its buffer, or is empty.
    const std::pair<FieldReader, const char*> readers[] = {
        {[](const void*, FormField, char* text, int size) { std::memset(text, '9', size_t(size)); },
         "99|9999|99|999999"},
        {[](const void*, FormField, char*, int) {}, "|||"}};
    for (FormState f = InitialFormState(); const auto& [reader, texts] : readers) {
        Calculate(f, reader, Repaint, &f);
        EXPECT_EQ(texts, std::string(f.camerasText) + "|" + f.bitRateText + "|" + f.hoursText +
                             "|" + f.daysText);
    }
}

}  // namespace
