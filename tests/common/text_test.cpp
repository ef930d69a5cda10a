#include "common/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, Length) {
    EXPECT_EQ(TextLength(""), 0u);
    EXPECT_EQ(TextLength("C:\\HB"), 5u);
}

TEST(TextTest, CopyFitsOrLeavesEmpty) {
    char output[5] = {'#', '#', '#', '#', '#'};
    EXPECT_TRUE(CopyText(output, 5, "abcd"));
    EXPECT_STREQ(output, "abcd");
    EXPECT_FALSE(CopyText(output, 4, "abcd"));
    EXPECT_STREQ(output, "");
    EXPECT_EQ(output[1], 'b'); // nothing but the terminator written on refusal
}

TEST(TextTest, EqualityIncludesTheTerminator) {
    EXPECT_TRUE(TextsEqual(".", "."));
    EXPECT_TRUE(TextsEqual("", ""));
    EXPECT_FALSE(TextsEqual(".", ".."));
    EXPECT_FALSE(TextsEqual("..", "."));
    EXPECT_FALSE(TextsEqual("a", "A"));
}

TEST(TextTest, FindInText) {
    char text[] = "c:\\x.inf\\y.inf";
    EXPECT_EQ(FindInText(text, ".inf"), text + 4);
    EXPECT_EQ(FindInText(text, ".INF"), nullptr); // byte for byte
    EXPECT_EQ(FindInText(text, ""), text);
    char empty[] = "";
    EXPECT_EQ(FindInText(empty, ""), empty);
    EXPECT_EQ(FindInText(empty, "a"), nullptr);
    char partial[] = "ab";
    EXPECT_EQ(FindInText(partial, "abc"), nullptr);
}

} // namespace
