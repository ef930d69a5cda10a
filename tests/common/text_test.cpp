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

} // namespace
