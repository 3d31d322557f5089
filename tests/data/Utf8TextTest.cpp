#include "data/Utf8Text.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(Utf8Text, CountsAndCutsByCharacters) {
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("Temp"), 4u);
    EXPECT_EQ(Utf8Length("Temp\xc3\xa9rature"), 11u);  // é: two bytes
    EXPECT_EQ(Utf8Length("\xe2\x88\x86T"), 2u);        // ∆: three
    EXPECT_EQ(Utf8Length("\xf0\x9f\x8c\xa1 hot"), 5u); // a thermometer: four
    EXPECT_EQ(Utf8Prefix("\xc3\xa9\xc3\xa9\xc3\xa9", 2), "\xc3\xa9\xc3\xa9");
    EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
    EXPECT_EQ(Utf8Prefix("\xc2\xb5m", 1), "\xc2\xb5");
    EXPECT_EQ(Utf8CharBytes("\xe2\x88\x86T"), 3u);
    EXPECT_EQ(Utf8CharBytes(""), 0u);
}

// Text from elsewhere (Latin-1, a cut sequence) is counted a byte at a time, never past its end.
TEST(Utf8Text, BytesThatStartNoSequenceAreOneCharacterEach) {
    EXPECT_EQ(Utf8Length("Temp\xe9rature"), 11u); // Latin-1 é
    EXPECT_EQ(Utf8Length("\xc3"), 1u);            // a lead byte at the end
    EXPECT_EQ(Utf8Length("\xe2\x88T"), 3u);       // a sequence cut short
    EXPECT_EQ(Utf8Length("\x80\x80"), 2u);        // continuation bytes alone
    EXPECT_EQ(Utf8Prefix("\xc3"
                         "a",
                         1),
              "\xc3");
}

} // namespace
} // namespace lumetra
