// The calculator's form without a window system: the input fields and their lists, the
// result lines, and the Calculate action that reads the fields and writes the lines.
#pragma once

#include "storage_estimate.h"

enum class FormField { Cameras, BitRate, HoursPerDay, Days };

// A fixed choice list: its item texts in the order they are added, and the index of the
// item selected at start.
struct ChoiceList {
    const char* const* items;
    int count;
    int firstSelection;
};

extern const ChoiceList CAMERA_CHOICES, BIT_RATE_CHOICES, HOURS_CHOICES;
extern const char DAYS_INITIAL_TEXT[];  // "30"

// Bytes of a field's text that Calculate reads back, terminator included: 3, 5, 3, 7.
int ReadBackCapacity(FormField field);

// The one form of the run. Written by InitialFormState and Calculate; the painter reads
// only the result slots.
struct FormState {
    char camerasText[3];
    char bitRateText[5];
    char hoursText[3];
    char daysText[7];
    EstimateInputs inputs;
    ResultLines results;
};

// Per hour "RESULTADO", the two other slots empty.
FormState InitialFormState();

// Copies the field's current text into buffer: at most capacity - 1 characters, then a NUL.
using FieldReader = void (*)(void* context, FormField field, char* buffer, int capacity);
// Repaints the whole window, background included, before returning.
using RepaintRequest = void (*)(void* context);

enum class CalculateOutcome { Done, DayLimitExceeded, NegativeDayCount };

// Reads the four fields, checks the day count and writes the three lines, asking for a
// repaint after each one. A refused day count leaves every result slot as it was.
CalculateOutcome Calculate(FormState& form, FieldReader readField, RepaintRequest repaint,
                           void* context);

// The decimal conversion Calculate applies to a field's text: leading white space, one
// optional sign, digits up to the first non-digit; no digits gives 0. Defined for every
// text: a value beyond the 32-bit range saturates at its end.
std::int32_t DecimalTextToInt(const char* text);

// The longest day count the form accepts, and the two refusals' message box texts.
constexpr std::int32_t MAX_DAYS = 365;
extern const char DAY_LIMIT_TEXT[], DAY_LIMIT_CAPTION[], NEGATIVE_DAYS_TEXT[];
