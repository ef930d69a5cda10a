#include "common/format.h"

#include <gtest/gtest.h>

#include <string>

#include "common/id_pair.h"

namespace {

struct FormatCase {
    const char *format;
    const char *first;
    const char *second;
    unsigned capacity;
    bool fits;
    const char *expected;
};

void PrintTo(const FormatCase &c, std::ostream *os) {
    *os << '"' << c.format << "\" into " << c.capacity << " bytes";
}

class FormatTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTextTest, FillsOrLeavesEmpty) {
    const FormatCase &c = GetParam();
    char output[64];
    std::string guard(sizeof output - c.capacity, '#');
    for (unsigned i = 0; i < sizeof output; ++i)
        output[i] = '#';
    EXPECT_EQ(FormatText(output, c.capacity, c.format, c.first, c.second), c.fits);
    EXPECT_STREQ(output, c.expected);
    // Nothing is written past the capacity.
    EXPECT_EQ(std::string(output + c.capacity, sizeof output - c.capacity), guard);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatTextTest,
    ::testing::Values(FormatCase{"Vid_%s&Pid_%s", "0982", "6211", 20, true, "Vid_0982&Pid_6211"},
                      FormatCase{"%s\\*.*", "C:\\HB", nullptr, 20, true, "C:\\HB\\*.*"},
                      FormatCase{"%s\\%s.", "C:\\HB", "bin", 20, true, "C:\\HB\\bin."},
                      FormatCase{"%s", "", nullptr, 1, true, ""},
                      FormatCase{"100%", nullptr, nullptr, 8, true, "100%"},
                      FormatCase{"%d%s", "x", nullptr, 8, true, "%dx"},
                      // Exactly full: 17 characters and the terminator in 18 bytes.
                      FormatCase{"Vid_%s&Pid_%s", "0982", "6211", 18, true, "Vid_0982&Pid_6211"},
                      FormatCase{"Vid_%s&Pid_%s", "0982", "6211", 17, false, ""},
                      FormatCase{"Vid_%s&Pid_%s", "09820", "62110", 20, true,
                                 "Vid_09820&Pid_62110"},
                      FormatCase{"Vid_%s&Pid_%s", "098200", "62110", 20, false, ""},
                      FormatCase{"%s\\%s", "C:", nullptr, 20, false, ""},
                      FormatCase{"abc", nullptr, nullptr, 3, false, ""}));

TEST(FormatTextTest, ZeroCapacityWritesNothing) {
    char output[2] = {'#', '#'};
    EXPECT_FALSE(FormatText(output, 0, "x", nullptr, nullptr));
    EXPECT_EQ(output[0], '#');
}

TEST(IdPairTest, PatternNamesVendorFirst) {
    char output[20];
    ASSERT_TRUE(FormatIdPairPattern(output, sizeof output, "vid_%s&pid_%s", "6210", "0982"));
    EXPECT_STREQ(output, "vid_0982&pid_6210");
}

} // namespace
