// libFuzzer target for the estimate core: Calculate with any bytes in the four fields,
// and the amount and line functions with any inputs. Every run checks the invariants
// against references computed here independently.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/calculator_form.h"
#include "tests/core/result_line_form.h"

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The reference amounts: 64-bit unsigned products (which wrap modulo 2^64, a multiple of
// 2^32) reduced to 32 bits, the divisions made on the signed 32-bit values.
std::int32_t Reduce(std::uint64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

struct Amounts {
    std::int32_t perHour, perDay, total;
};

Amounts Reference(const EstimateInputs& in)
{
    std::int64_t kilobytesPerSecond = std::int64_t{in.bitRateKbps} / 8;
    std::int32_t kilobytesPerHour = Reduce(static_cast<std::uint64_t>(kilobytesPerSecond) *
                                           static_cast<std::uint64_t>(std::int64_t{in.cameras}) *
                                           3600u);
    std::int32_t h = static_cast<std::int32_t>(std::int64_t{kilobytesPerHour} / 1024);
    auto u = [](std::int32_t v) { return static_cast<std::uint64_t>(std::int64_t{v}); };
    return {h, Reduce(u(h) * u(in.hoursPerDay)), Reduce(u(h) * u(in.days) * u(in.hoursPerDay))};
}

// A well-formed line whose number is the scaled amount, in the scaled unit.
void CheckLine(const ResultText& slot, LineKind kind, std::int32_t megabytes)
{
    Require(std::memchr(slot.text, '\0', sizeof slot.text) != nullptr, "slot terminated");
    Require(IsResultLine(slot.text, kind), "label, number, two decimals, unit");
    std::size_t length = std::strlen(slot.text);
    std::string unit(slot.text + length - 3);
    std::string number(slot.text + std::strlen(ResultLineLabel(kind)), slot.text + length - 3);
    // It parses back to the scaled value, within the rounding of two decimals (a tie such
    // as 2037.875 is 0.005 away, a hair more once "2037.88" is read back as a double).
    ScaledAmount scaled = ScaleToUnit(megabytes);
    double parsed = std::strtod(number.c_str(), nullptr);
    double away = parsed - static_cast<double>(scaled.value);
    Require(away <= 0.0050001 && away >= -0.0050001, "the number is the scaled amount");
    const char* units[] = {" MB", " GB", " TB"};
    Require(unit == units[static_cast<int>(scaled.unit)], "the unit is the scaled unit");
    Require(megabytes > 0 || scaled.unit == SizeUnit::MB, "zero and negatives stay in MB");
}

// The field texts as a control would hold them: any bytes, any length.
struct Fields {
    std::string texts[4];
};

void ReadField(void* context, FormField field, char* buffer, int capacity)
{
    const std::string& text = static_cast<Fields*>(context)->texts[static_cast<int>(field)];
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

int repaints;
void CountRepaint(void*)
{
    ++repaints;
}

// What Calculate should read from a field: its first capacity - 1 bytes up to a NUL,
// converted like strtol (which cannot overflow on six characters).
std::int32_t ReferenceValue(const std::string& text, int capacity)
{
    std::string cut = text.substr(0, static_cast<std::size_t>(capacity - 1));
    return static_cast<std::int32_t>(std::strtol(cut.c_str(), nullptr, 10));
}

void FuzzCalculate(FuzzedDataProvider& data)
{
    Fields fields;
    for (std::string& text : fields.texts) {
        text = data.ConsumeRandomLengthString(64);
    }
    FormState form = InitialFormState();
    if (data.ConsumeBool()) {  // sometimes start from an earlier result
        Fields earlier = {{"7", "256", "9", "100"}};
        Calculate(form, ReadField, CountRepaint, &earlier);
    }
    ResultLines before;
    std::memcpy(&before, &form.results, sizeof before);
    repaints = 0;
    CalculateOutcome outcome = Calculate(form, ReadField, CountRepaint, &fields);

    const FormField order[] = {FormField::Cameras, FormField::BitRate, FormField::HoursPerDay,
                               FormField::Days};
    std::int32_t expected[4];
    for (int i = 0; i < 4; ++i) {
        expected[i] = ReferenceValue(fields.texts[i], ReadBackCapacity(order[i]));
    }
    Require(form.inputs.cameras == expected[0] && form.inputs.bitRateKbps == expected[1] &&
                form.inputs.hoursPerDay == expected[2] && form.inputs.days == expected[3],
            "the fields convert like strtol");

    if (expected[3] > 365 || expected[3] < 0) {
        Require(outcome == (expected[3] > 365 ? CalculateOutcome::DayLimitExceeded
                                              : CalculateOutcome::NegativeDayCount),
                "the day rule");
        Require(std::memcmp(&before, &form.results, sizeof before) == 0, "refusal changes nothing");
        Require(repaints == 0, "no repaint on refusal");
        return;
    }
    Require(outcome == CalculateOutcome::Done, "a day count in 0..365 passes");
    Require(repaints == 3, "three repaints");
    Amounts amounts = Reference(form.inputs);
    CheckLine(form.results.perHour, LineKind::PerHour, amounts.perHour);
    CheckLine(form.results.perDay, LineKind::PerDay, amounts.perDay);
    CheckLine(form.results.total, LineKind::Total, amounts.total);
}

void FuzzAmounts(FuzzedDataProvider& data)
{
    EstimateInputs in;
    in.cameras = data.ConsumeIntegral<std::int32_t>();
    in.bitRateKbps = data.ConsumeIntegral<std::int32_t>();
    in.hoursPerDay = data.ConsumeIntegral<std::int32_t>();
    in.days = data.ConsumeIntegral<std::int32_t>();
    Amounts amounts = Reference(in);
    Require(MegabytesPerHour(in) == amounts.perHour, "hourly amount");
    Require(MegabytesPerDay(in) == amounts.perDay, "daily amount");
    Require(MegabytesTotal(in) == amounts.total, "total amount");

    std::int32_t megabytes = data.ConsumeIntegral<std::int32_t>();
    LineKind kind = data.PickValueInArray({LineKind::PerHour, LineKind::PerDay, LineKind::Total});
    ResultText slot;
    std::memset(slot.text, 0x7F, sizeof slot.text);
    FormatResultLine(kind, megabytes, slot);
    CheckLine(slot, kind, megabytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        FuzzCalculate(data);
    } else {
        FuzzAmounts(data);
    }
    return 0;
}
