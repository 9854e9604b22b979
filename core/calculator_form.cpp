#include "calculator_form.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// "1" to "32": the cameras list takes all of them, the hours list the first 24.
const char* const COUNT_ITEMS[] = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
    "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22",
    "23", "24", "25", "26", "27", "28", "29", "30", "31", "32",
};

// Not a pure ladder of powers of two: 768 sits between 512 and 1024.
const char* const BIT_RATE_ITEMS[] = {
    "32", "64", "128", "256", "512", "768", "1024", "2048", "4096", "8192",
};

const char RESULT_PLACEHOLDER[] = "RESULTADO";

// Where each field's text lands in the form, in reading order. The buffer sizes are the
// read-back capacities.
struct FieldSlot {
    FormField field;
    int capacity;
    char* (*text)(FormState& form);
    std::int32_t EstimateInputs::*value;
};

const FieldSlot FIELD_SLOTS[] = {
    {FormField::Cameras, static_cast<int>(sizeof FormState::camerasText),
     [](FormState& f) { return f.camerasText; }, &EstimateInputs::cameras},
    {FormField::BitRate, static_cast<int>(sizeof FormState::bitRateText),
     [](FormState& f) { return f.bitRateText; }, &EstimateInputs::bitRateKbps},
    {FormField::HoursPerDay, static_cast<int>(sizeof FormState::hoursText),
     [](FormState& f) { return f.hoursText; }, &EstimateInputs::hoursPerDay},
    {FormField::Days, static_cast<int>(sizeof FormState::daysText),
     [](FormState& f) { return f.daysText; }, &EstimateInputs::days},
};

// The three lines in the order Calculate writes them.
struct ResultStep {
    LineKind kind;
    std::int32_t (*amount)(const EstimateInputs& inputs);
    ResultText ResultLines::*slot;
};

const ResultStep RESULT_STEPS[] = {
    {LineKind::PerHour, MegabytesPerHour, &ResultLines::perHour},
    {LineKind::PerDay, MegabytesPerDay, &ResultLines::perDay},
    {LineKind::Total, MegabytesTotal, &ResultLines::total},
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

const ChoiceList CAMERA_CHOICES = {COUNT_ITEMS, 32, 31};
const ChoiceList BIT_RATE_CHOICES = {BIT_RATE_ITEMS, 10, 6};
const ChoiceList HOURS_CHOICES = {COUNT_ITEMS, 24, 23};
const char DAYS_INITIAL_TEXT[] = "30";

// Windows-1252: \xE7 is c-cedilla, \xE3 a-tilde.
const char DAY_LIMIT_TEXT[] =
    "A quantidade de dias deve ser menor que 366. Por favor, tente novamente.";
const char DAY_LIMIT_CAPTION[] = "Falha na opera\xE7\xE3o";
const char NEGATIVE_DAYS_TEXT[] =
    "A quantidade de dias n\xE3o pode ser negativa. Por favor, tente novamente.";

int ReadBackCapacity(FormField field)
{
    const FieldSlot* slot = std::find_if(std::begin(FIELD_SLOTS), std::end(FIELD_SLOTS),
                                         [field](const FieldSlot& s) { return s.field == field; });
    return slot != std::end(FIELD_SLOTS) ? slot->capacity : 0;
}

FormState InitialFormState()
{
    FormState form = {};
    std::memcpy(form.results.perHour.text, RESULT_PLACEHOLDER, sizeof RESULT_PLACEHOLDER);
    return form;
}

std::int32_t DecimalTextToInt(const char* text)
{
    const char* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    // Accumulated as a magnitude; the limit is one more below zero than above.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        std::uint32_t digit = static_cast<std::uint32_t>(*p - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (negative) {
        return static_cast<std::int32_t>(0u - magnitude);
    }
    return static_cast<std::int32_t>(magnitude);
}

CalculateOutcome Calculate(FormState& form, FieldReader readField, RepaintRequest repaint,
                           void* context)
{
    for (const FieldSlot& slot : FIELD_SLOTS) {
        char* text = slot.text(form);
        text[0] = '\0';
        readField(context, slot.field, text, slot.capacity);
        text[slot.capacity - 1] = '\0';  // whatever the reader did, the text ends here
        form.inputs.*slot.value = DecimalTextToInt(text);
    }

    if (form.inputs.days > MAX_DAYS) {
        return CalculateOutcome::DayLimitExceeded;
    }
    if (form.inputs.days < 0) {
        return CalculateOutcome::NegativeDayCount;
    }

    for (const ResultStep& step : RESULT_STEPS) {
        FormatResultLine(step.kind, step.amount(form.inputs), form.results.*step.slot);
        repaint(context);
    }
    return CalculateOutcome::Done;
}
