#include "calculator_form.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// "1" to "32": the cameras list takes all of them, the hours list the first 24.
const char* const WHOLE_NUMBERS[] = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15", "16",
    "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32",
};

// Not a pure ladder of powers of two: 768 sits between 512 and 1024.
const char* const BIT_RATE_ITEMS[] = {
    "32", "64", "128", "256", "512", "768", "1024", "2048", "4096", "8192",
};

const char RESULT_PLACEHOLDER[] = "RESULTADO";

// Leading white space, one optional sign, digits up to the first non-digit; no digits gives
// 0. strtol reads the same way and saturates at the ends of long; where long is wider than
// 32 bits (not on Windows) the ends of int32 are ours to set, so that every text has a
// value, though a field of at most six characters never comes near them.
std::int32_t DecimalTextToInt(const char* text)
{
    long value = std::strtol(text, nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// Reads one field into its buffer, which ends inside its capacity whatever the reader did,
// and converts it.
std::int32_t ReadNumber(FieldReader readField, const void* context, FormField field, char* text,
                        int capacity)
{
    text[0] = '\0';
    readField(context, field, text, capacity);
    text[capacity - 1] = '\0';
    return DecimalTextToInt(text);
}

}  // namespace

const ChoiceList CAMERA_CHOICES = {WHOLE_NUMBERS, 32, 31};
const ChoiceList BIT_RATE_CHOICES = {BIT_RATE_ITEMS, 10, 6};
const ChoiceList HOURS_CHOICES = {WHOLE_NUMBERS, 24, 23};
const char DAYS_INITIAL_TEXT[] = "30";

// Windows-1252: \xE7 is c-cedilla, \xE3 a-tilde.
const char DAY_LIMIT_TEXT[] =
    "A quantidade de dias deve ser menor que 366. Por favor, tente novamente.";
const char DAY_LIMIT_CAPTION[] = "Falha na opera\xE7\xE3o";
const char NEGATIVE_DAYS_TEXT[] =
    "A quantidade de dias n\xE3o pode ser negativa. Por favor, tente novamente.";

FormState InitialFormState()
{
    FormState form = {};
    std::memcpy(form.results.perHour.text, RESULT_PLACEHOLDER, sizeof RESULT_PLACEHOLDER);
    return form;
}

CalculateOutcome Calculate(FormState& form, FieldReader readField, RepaintRequest repaint,
                           const void* context)
{
    EstimateInputs& in = form.inputs;
    in.cameras =
        ReadNumber(readField, context, FormField::Cameras, form.camerasText, CAMERAS_CAPACITY);
    in.bitRateKbps =
        ReadNumber(readField, context, FormField::BitRate, form.bitRateText, BIT_RATE_CAPACITY);
    in.hoursPerDay =
        ReadNumber(readField, context, FormField::HoursPerDay, form.hoursText, HOURS_CAPACITY);
    in.days = ReadNumber(readField, context, FormField::Days, form.daysText, DAYS_CAPACITY);

    if (in.days > MAX_DAYS) {
        return CalculateOutcome::DayLimitExceeded;
    }
    if (in.days < 0) {
        return CalculateOutcome::NegativeDayCount;
    }

    // One line at a time, each shown before the next is worked out.
    FormatResultLine(LineKind::PerHour, MegabytesPerHour(in), form.results.perHour);
    repaint(context);
    FormatResultLine(LineKind::PerDay, MegabytesPerDay(in), form.results.perDay);
    repaint(context);
    FormatResultLine(LineKind::Total, MegabytesTotal(in), form.results.total);
    repaint(context);
    return CalculateOutcome::Done;
}
