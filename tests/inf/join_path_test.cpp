#include <gtest/gtest.h>

#include <string>

#include "inf/inf_cleanup.h"

namespace {

struct JoinCase {
    const char *base;
    const char *tail;
    const char *expected;
};

void PrintTo(const JoinCase &c, std::ostream *os) {
    *os << (c.base ? c.base : "(null)") << " + " << (c.tail ? c.tail : "(null)");
}

class JoinPathTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, JoinsWithOneBackslash) {
    char output[260];
    output[0] = output[1] = output[2] = output[3] = '#';
    bool formed = JoinPath(GetParam().base, GetParam().tail, output, sizeof output);
    EXPECT_STREQ(output, GetParam().expected);
    EXPECT_EQ(formed, GetParam().expected[0] != '\0');
    // The first four bytes are cleared whatever happens.
    if (!formed) {
        EXPECT_EQ(std::string(output, 4), std::string(4, '\0'));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, JoinPathTest,
    ::testing::Values(JoinCase{"C:\\WINDOWS", "\\INF", "C:\\WINDOWS\\INF"},
                      JoinCase{"C:\\WINDOWS", "\\INF\\OTHER", "C:\\WINDOWS\\INF\\OTHER"},
                      JoinCase{"C:\\", "\\INF", "C:\\INF"},
                      JoinCase{"C:\\WINDOWS\\INF", "*.INF", "C:\\WINDOWS\\INF\\*.INF"},
                      JoinCase{"C:\\WINDOWS\\INF", "OEM3.INF", "C:\\WINDOWS\\INF\\OEM3.INF"},
                      JoinCase{"A", "", "A\\"}, JoinCase{"A\\", "", "A\\"},
                      JoinCase{"A", "\\\\b", "A\\\\b"}, JoinCase{"A\\\\", "b", "A\\\\b"},
                      JoinCase{"c:/x", "./Y", "c:/x\\./Y"}, JoinCase{nullptr, "x", ""},
                      JoinCase{"x", nullptr, ""}, JoinCase{"", "x", ""}));

TEST(JoinPathLimitTest, NeverWritesPastTheOutput) {
    std::string base(250, 'b');
    char output[300];
    for (char &c : output)
        c = '#';
    // 250 + 1 + 8 = 259 characters and the terminator fill 260 bytes exactly.
    EXPECT_TRUE(JoinPath(base.c_str(), "12345678", output, 260));
    EXPECT_EQ(std::string(output).size(), 259u);
    for (char &c : output)
        c = '#';
    EXPECT_FALSE(JoinPath(base.c_str(), "123456789", output, 260));
    EXPECT_STREQ(output, "");
    EXPECT_EQ(output[4], '#');
}

} // namespace
