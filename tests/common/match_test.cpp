#include "common/match.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MatchCase {
    const char *pattern;
    const char *text;
    bool matches;
    const char *loweredPattern;
    const char *loweredText;
};

void PrintTo(const MatchCase &c, std::ostream *os) {
    *os << '"' << c.pattern << "\" in \"" << c.text << '"';
}

class MatchesNoCaseTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchesNoCaseTest, LowersBothInPlaceAndSearches) {
    const MatchCase &c = GetParam();
    std::string pattern = c.pattern;
    std::string text = c.text;
    EXPECT_EQ(MatchesNoCase(pattern.data(), text.data()), c.matches);
    EXPECT_EQ(pattern, c.loweredPattern);
    EXPECT_EQ(text, c.loweredText);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MatchesNoCaseTest,
    ::testing::Values(MatchCase{"Vid_0982&Pid_6211", "USB\\VID_0982&PID_6211&MI_00", true,
                                "vid_0982&pid_6211", "usb\\vid_0982&pid_6211&mi_00"},
                      MatchCase{"Vid_0982&Pid_6210", "USB\\VID_0982&PID_6211", false,
                                "vid_0982&pid_6210", "usb\\vid_0982&pid_6211"},
                      MatchCase{"vid_0982&pid_6210", "x=USB\\VID_0982&PID_62101", true,
                                "vid_0982&pid_6210", "x=usb\\vid_0982&pid_62101"},
                      MatchCase{"", "anything", true, "", "anything"},
                      MatchCase{"", "", true, "", ""}, MatchCase{"a", "", false, "a", ""},
                      MatchCase{"abc", "ab", false, "abc", "ab"},
                      MatchCase{"aab", "aaab", true, "aab", "aaab"},
                      // Only 'A' to 'Z' change: '@', '[' and bytes from 0x80 up stay as they are.
                      MatchCase{"\xC4@[", "\xC4@[", true, "\xC4@[", "\xC4@["},
                      MatchCase{"\xE4", "\xC4", false, "\xE4", "\xC4"},
                      MatchCase{"5.0 M Lumacorder", "Acme 5.0 m LUMACORDER Deluxe", true,
                                "5.0 m lumacorder", "acme 5.0 m lumacorder deluxe"}));

TEST(MatchesNoCaseTest, StopsAtTheFirstZero) {
    char text[] = "AB\0CD";
    char pattern[] = "cd";
    EXPECT_FALSE(MatchesNoCase(pattern, text));
    EXPECT_EQ(text[3], 'C');
}

} // namespace
