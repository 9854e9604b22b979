// The storage estimate: from cameras, bit rate, recording hours and days to the disk
// space needed per hour, per day and in total, and the three result lines that say it.
// Portable: no window system, no allocation, no state.
#pragma once

#include <cstddef>
#include <cstdint>

struct EstimateInputs {
    std::int32_t cameras;      // cameras recorded at once
    std::int32_t bitRateKbps;  // bit rate of one camera, kilobits per second
    std::int32_t hoursPerDay;  // recording hours per day
    std::int32_t days;         // recording days
};

enum class SizeUnit { MB, GB, TB };

struct ScaledAmount {
    float value;
    SizeUnit unit;
};

enum class LineKind { PerHour, PerDay, Total };

constexpr std::size_t RESULT_TEXT_SIZE = 35;  // 34 characters + terminator

// One result line, Windows-1252, NUL-terminated.
struct ResultText {
    char text[RESULT_TEXT_SIZE];
};

// The three slots in screen-independent order: per hour, per day, total.
struct ResultLines {
    ResultText perHour;
    ResultText perDay;
    ResultText total;
};

// Amounts are whole megabytes in signed 32-bit integers. They wrap modulo 2^32 like the
// two's-complement arithmetic they model; nothing the form accepts wraps (the largest total
// is 1,009,152,000 MB).
std::int32_t MegabytesPerHour(const EstimateInputs& inputs);
std::int32_t MegabytesPerDay(const EstimateInputs& inputs);
std::int32_t MegabytesTotal(const EstimateInputs& inputs);

// Single precision on purpose: amounts above 2^24 MB keep about seven significant digits.
ScaledAmount ScaleToUnit(std::int32_t megabytes);

// Writes e.g. "POR HORA: 14.06 GB" into the slot, never more than RESULT_TEXT_SIZE bytes.
void FormatResultLine(LineKind kind, std::int32_t megabytes, ResultText& slot);
