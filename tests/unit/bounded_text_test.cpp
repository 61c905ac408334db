// Bounded copies: texts are cut to their buffer and always terminated.
#include <gtest/gtest.h>

#include "config/bounded_text.h"

namespace
{

TEST(BoundedText, CopyAndAppendCutToCapacity)
{
    wchar_t buffer[6];
    wmemset(buffer, L'#', 6);
    EXPECT_STREQ(L"abcde", CopyText(buffer, L"abcdefgh"));
    EXPECT_STREQ(L"", CopyText(buffer, nullptr));
    EXPECT_STREQ(L"ab", CopyText(buffer, L"ab"));
    EXPECT_STREQ(L"abcde", AppendText(buffer, L"cdefg"));
    EXPECT_STREQ(L"abcde", AppendText(buffer, L"z"));

    wchar_t guarded[8];
    wmemset(guarded, L'#', 8);
    CopyText(guarded, 4, L"abcdef");
    EXPECT_STREQ(L"abc", guarded);
    EXPECT_EQ(L'#', guarded[4]) << "nothing is written past the capacity";
}

} // namespace
