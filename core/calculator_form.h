// The calculator's form without a window system: the input fields and their lists, the
// result lines, and the Calculate action that reads the fields and writes the lines.
#pragma once

#include "storage_estimate.h"

// The four input fields, in their order on screen and in the order Calculate reads them.
enum class FormField { Cameras, BitRate, HoursPerDay, Days };
constexpr int FORM_FIELD_COUNT = 4;

// A fixed choice list: its item texts in the order they are added, and the index of the
// item selected at start.
struct ChoiceList {
    const char* const* items;
    int count;
    int firstSelection;
};

extern const ChoiceList CAMERA_CHOICES, BIT_RATE_CHOICES, HOURS_CHOICES;
extern const char DAYS_INITIAL_TEXT[];  // "30"

// Bytes of each field's text that Calculate reads back, terminator included: every list
// item fits, and of the day field only the first six characters count.
constexpr int CAMERAS_CAPACITY = 3;
constexpr int BIT_RATE_CAPACITY = 5;
constexpr int HOURS_CAPACITY = 3;
constexpr int DAYS_CAPACITY = 7;

// The one form of the run. Written by InitialFormState and Calculate; the painter reads
// only the result slots.
struct FormState {
    char camerasText[CAMERAS_CAPACITY];
    char bitRateText[BIT_RATE_CAPACITY];
    char hoursText[HOURS_CAPACITY];
    char daysText[DAYS_CAPACITY];
    EstimateInputs inputs;
    ResultLines results;
};

// Per hour "RESULTADO", the two other slots empty.
FormState InitialFormState();

// Copies the field's current text into buffer: at most capacity - 1 characters, then a NUL.
using FieldReader = void (*)(const void* context, FormField field, char* buffer, int capacity);
// Repaints the whole window, background included, before returning.
using RepaintRequest = void (*)(const void* context);

enum class CalculateOutcome { Done, DayLimitExceeded, NegativeDayCount };

// Reads the four fields, checks the day count and writes the three lines, asking for a
// repaint after each one. Both callbacks get the same context. A refused day count leaves
// every result slot as it was.
CalculateOutcome Calculate(FormState& form, FieldReader readField, RepaintRequest repaint,
                           const void* context);

// The longest day count the form accepts. A negative count is refused as well: it would
// give negative amounts of disk space.
constexpr std::int32_t MAX_DAYS = 365;

// Message box texts: the day limit's text and caption, and the negative count's text,
// shown under the same caption.
extern const char DAY_LIMIT_TEXT[], DAY_LIMIT_CAPTION[], NEGATIVE_DAYS_TEXT[];
