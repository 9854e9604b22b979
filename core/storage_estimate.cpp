#include "storage_estimate.h"

#include <cstdio>

// How "%.2f" rounds an exact tie such as 28.125 is the C library's choice: the older
// msvcrt.dll rounds it up ("28.13"), the Universal CRT since Windows 10 version 2004 to even
// ("28.12"). MinGW-w64's own stdio, linked into the program, rounds to even on every
// Windows; the build asks for it, and the line is then the same everywhere.
#if defined(_WIN32) && !(defined(__USE_MINGW_ANSI_STDIO) && __USE_MINGW_ANSI_STDIO)
#error "Build with MinGW-w64's own stdio (__USE_MINGW_ANSI_STDIO=1)."
#endif

// A float must be computed as a float: in the x87 unit's 80-bit registers (32-bit x86
// without SSE arithmetic) an amount above 2^24 MB escapes its rounding to single precision,
// and 16792945 MB shows as 16.02 TB instead of 16.01 TB.
#if !(__FLT_EVAL_METHOD__ == 0 || defined(__SSE_MATH__))
#error "Build with single-precision float arithmetic (32-bit x86: -msse -mfpmath=sse)."
#endif

namespace {

constexpr std::int32_t KILOBITS_PER_KILOBYTE = 8;
constexpr std::int32_t SECONDS_PER_HOUR = 3600;
constexpr std::int32_t KILOBYTES_PER_MEGABYTE = 1024;
constexpr float UNIT_STEP = 1024.0f;
constexpr float UNIT_STEP_DOWN = 0.0009765625f;  // 2^-10, exact in single precision

// The product modulo 2^32, as two's-complement hardware gives it, without the undefined
// behaviour of a signed overflow.
std::int32_t WrappingMultiply(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Formats by line kind (rows) and unit (columns, in SizeUnit order).
const char* const LINE_FORMATS[3][3] = {
    {"POR HORA: %.2f MB", "POR HORA: %.2f GB", "POR HORA: %.2f TB"},
    {" POR DIA: %.2f MB", " POR DIA: %.2f GB", " POR DIA: %.2f TB"},
    {"  TOTAL: %.2f MB", "  TOTAL: %.2f GB", "  TOTAL: %.2f TB"},
};

}  // namespace

std::int32_t MegabytesPerHour(const EstimateInputs& inputs)
{
    // Kilobytes per second of one camera, then per hour of all cameras; the fraction of a
    // megabyte is dropped here, once, and the other two amounts build on this one.
    std::int32_t kilobytesPerSecond = inputs.bitRateKbps / KILOBITS_PER_KILOBYTE;
    std::int32_t kilobytesPerHour =
        WrappingMultiply(WrappingMultiply(kilobytesPerSecond, inputs.cameras), SECONDS_PER_HOUR);
    return kilobytesPerHour / KILOBYTES_PER_MEGABYTE;
}

std::int32_t MegabytesPerDay(const EstimateInputs& inputs)
{
    return WrappingMultiply(MegabytesPerHour(inputs), inputs.hoursPerDay);
}

std::int32_t MegabytesTotal(const EstimateInputs& inputs)
{
    // By the days first, then by the hours. Modulo 2^32 the order changes nothing: a
    // product wraps to the same bits either way.
    return WrappingMultiply(WrappingMultiply(MegabytesPerHour(inputs), inputs.days),
                            inputs.hoursPerDay);
}

ScaledAmount ScaleToUnit(std::int32_t megabytes)
{
    // Compared and scaled in single precision: exactly 1024 stays in the lower unit.
    float value = static_cast<float>(megabytes);
    if (value <= UNIT_STEP) {
        return {value, SizeUnit::MB};
    }
    value *= UNIT_STEP_DOWN;
    if (value <= UNIT_STEP) {
        return {value, SizeUnit::GB};
    }
    value *= UNIT_STEP_DOWN;
    return {value, SizeUnit::TB};
}

void FormatResultLine(LineKind kind, std::int32_t megabytes, ResultText& slot)
{
    ScaledAmount amount = ScaleToUnit(megabytes);
    const char* format = LINE_FORMATS[static_cast<int>(kind)][static_cast<int>(amount.unit)];
    // The longest line is 20 characters for any value the form accepts, and 27 for any
    // amount at all (INT32_MIN per hour or per day); the bound holds all the same.
    (void)std::snprintf(slot.text, sizeof slot.text, format, static_cast<double>(amount.value));
}
