// Amounts, units and lines. Expected values come from the product's table of worked
// cases and from hand arithmetic; none were taken from the code's output.
#include "core/storage_estimate.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

struct TableRow {
    EstimateInputs inputs;
    std::int32_t perHour, perDay, total;
    const char* hourLine;
    const char* dayLine;
    const char* totalLine;
};

// The worked cases: H = ((kbps / 8) * cameras * 3600) / 1024, D = H * hours,
// T = H * days * hours, scaled by 1024 while strictly above 1024.
const TableRow TABLE[] = {
    {{32, 1024, 24, 30}, 14400, 345600, 10368000,
     "POR HORA: 14.06 GB", " POR DIA: 337.50 GB", "  TOTAL: 9.89 TB"},
    {{1, 32, 1, 1}, 14, 14, 14,
     "POR HORA: 14.00 MB", " POR DIA: 14.00 MB", "  TOTAL: 14.00 MB"},
    {{1, 32, 24, 30}, 14, 336, 10080,
     "POR HORA: 14.00 MB", " POR DIA: 336.00 MB", "  TOTAL: 9.84 GB"},
    {{10, 768, 24, 30}, 3375, 81000, 2430000,
     "POR HORA: 3.30 GB", " POR DIA: 79.10 GB", "  TOTAL: 2.32 TB"},
    {{4, 512, 12, 7}, 900, 10800, 75600,
     "POR HORA: 900.00 MB", " POR DIA: 10.55 GB", "  TOTAL: 73.83 GB"},
    {{32, 8192, 24, 365}, 115200, 2764800, 1009152000,
     "POR HORA: 112.50 GB", " POR DIA: 2.64 TB", "  TOTAL: 962.40 TB"},
    {{1, 32, 24, 0}, 14, 336, 0,
     "POR HORA: 14.00 MB", " POR DIA: 336.00 MB", "  TOTAL: 0.00 MB"},
};

std::string Line(LineKind kind, std::int32_t megabytes)
{
    ResultText slot;
    std::memset(slot.text, '#', sizeof slot.text);
    FormatResultLine(kind, megabytes, slot);
    EXPECT_NE(std::memchr(slot.text, '\0', sizeof slot.text), nullptr);
    return slot.text;
}

TEST(StorageEstimate, WorkedCasesThroughEveryFunction)
{
    for (const TableRow& row : TABLE) {
        const EstimateInputs& in = row.inputs;
        SCOPED_TRACE(testing::Message() << in.cameras << " cameras, " << in.bitRateKbps
                                        << " kbps, " << in.hoursPerDay << " h, " << in.days
                                        << " days");
        EXPECT_EQ(MegabytesPerHour(in), row.perHour);
        EXPECT_EQ(MegabytesPerDay(in), row.perDay);
        EXPECT_EQ(MegabytesTotal(in), row.total);
        EXPECT_EQ(Line(LineKind::PerHour, row.perHour), row.hourLine);
        EXPECT_EQ(Line(LineKind::PerDay, row.perDay), row.dayLine);
        EXPECT_EQ(Line(LineKind::Total, row.total), row.totalLine);
    }
}

struct ScaleCase {
    std::int32_t megabytes;
    float value;
    SizeUnit unit;
};

TEST(StorageEstimate, UnitBoundaries)
{
    const ScaleCase cases[] = {
        {0, 0.0f, SizeUnit::MB},
        {-1, -1.0f, SizeUnit::MB},
        {-5000000, -5000000.0f, SizeUnit::MB},          // negatives are never scaled
        {1024, 1024.0f, SizeUnit::MB},                  // exactly 1024 stays below
        {1025, 1.0009765625f, SizeUnit::GB},
        {1048576, 1024.0f, SizeUnit::GB},               // 1024 GB, not 1 TB
        {1048577, 1.00000095367431640625f, SizeUnit::TB},  // 1048577 / 2^20
        {16777217, 16.0f, SizeUnit::TB},                // 2^24 + 1 rounds to 2^24 first
        {2147483647, 2048.0f, SizeUnit::TB},            // rounds up to 2^31
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.megabytes);
        ScaledAmount got = ScaleToUnit(c.megabytes);
        EXPECT_EQ(got.value, c.value);
        EXPECT_EQ(got.unit, c.unit);
    }
}

TEST(StorageEstimate, LinesAtUnitBoundaries)
{
    EXPECT_EQ(Line(LineKind::PerHour, 1024), "POR HORA: 1024.00 MB");
    EXPECT_EQ(Line(LineKind::PerHour, 1025), "POR HORA: 1.00 GB");
    EXPECT_EQ(Line(LineKind::PerDay, 1048576), " POR DIA: 1024.00 GB");
    EXPECT_EQ(Line(LineKind::PerDay, 1048577), " POR DIA: 1.00 TB");
    EXPECT_EQ(Line(LineKind::Total, 16777217), "  TOTAL: 16.00 TB");
    EXPECT_EQ(Line(LineKind::Total, 0), "  TOTAL: 0.00 MB");
    EXPECT_EQ(Line(LineKind::Total, -14), "  TOTAL: -14.00 MB");
}

TEST(StorageEstimate, TotalWrapsModulo2To32ForLargeNegativeDays)
{
    // H = 14400 for the first selections. Times -200000 days is -2880000000, which is
    // below -2^31; modulo 2^32 it is 1414967296. Times 24 hours: 33959215104, modulo
    // 2^32 = 33959215104 - 7 * 4294967296 = 3894444032, as signed -400523264.
    EstimateInputs in = {32, 1024, 24, -200000};
    EXPECT_EQ(MegabytesTotal(in), -400523264);

    // The same, against a 64-bit reference reduced modulo 2^32.
    std::int64_t exact = std::int64_t{14400} * -200000 * 24;
    std::uint32_t reduced = static_cast<std::uint32_t>(static_cast<std::uint64_t>(exact));
    EXPECT_EQ(static_cast<std::uint32_t>(MegabytesTotal(in)), reduced);
}

TEST(StorageEstimate, HourlyWrapHappensBeforeTheDivision)
{
    // 8192 kbps is 1024 KB/s. With 1000000 cameras: 1024000000 KB/s, * 3600 =
    // 3686400000000 KB/h, modulo 2^32 = 3686400000000 - 858 * 4294967296 =
    // 1318060032 (positive as signed), / 1024 = 1287168.
    EXPECT_EQ(MegabytesPerHour({1000000, 8192, 1, 1}), 1287168);
    // A negative bit rate truncates toward zero: -15 / 8 = -1, not -2.
    EXPECT_EQ(MegabytesPerHour({1024, -15, 1, 1}), -3600);
}

TEST(StorageEstimate, LongestLineFitsItsSlot)
{
    // The most negative total, ten digits in MB: 26 characters.
    std::string line = Line(LineKind::Total, INT32_MIN);
    EXPECT_EQ(line, "  TOTAL: -2147483648.00 MB");
    EXPECT_EQ(line.size(), 26u);
    EXPECT_LT(line.size(), RESULT_TEXT_SIZE);
}

TEST(StorageEstimate, ExactTiesRoundTheSameOnEveryPlatform)
{
    // 1 camera at 512 kbps, 8 hours, 16 days: H = 64 * 3600 / 1024 = 225, T = 28800 MB,
    // 28.125 GB, exactly between 28.12 and 28.13. The C library rounds an exact tie to
    // the even neighbour; the same test runs natively and as a Windows program, so the
    // two builds agree byte for byte.
    EstimateInputs in = {1, 512, 8, 16};
    EXPECT_EQ(MegabytesTotal(in), 28800);
    EXPECT_EQ(Line(LineKind::Total, 28800), "  TOTAL: 28.12 GB");
    // 2621440 MB is exactly 2.5 TB: nothing to round. 1152 MB is 1.125 GB, another exact
    // tie, to the even 1.12; 1160 MB is 1.1328125 GB, plainly 1.13.
    EXPECT_EQ(Line(LineKind::PerDay, 2621440), " POR DIA: 2.50 TB");
    EXPECT_EQ(Line(LineKind::PerHour, 1152), "POR HORA: 1.12 GB");
    EXPECT_EQ(Line(LineKind::PerHour, 1160), "POR HORA: 1.13 GB");  // 1.1328125
}

}  // namespace
