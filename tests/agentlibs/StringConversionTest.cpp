#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "StringConversion.h"

using Korvu::make_string;
using Korvu::make_wstring;

TEST(StringConversionTest, RoundTripsEveryEncodedLength)
{
    // 1, 2, 3 and 4 byte forms, including the edges of each range.
    const std::string text = "a\x7F\xC2\x80\xC3\xA9\xDF\xBF\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF"
                             "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const std::wstring wide = L"a\x7F\x80\xE9\x7FF\x800\x20AC\xFFFF\x10000\x1F600\x10FFFF";
    EXPECT_EQ(make_wstring(text), wide);
    EXPECT_EQ(make_string(wide), text);
    EXPECT_EQ(make_wstring(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(StringConversionTest, IgnoresTheLocale)
{
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(make_wstring("\xC3\xBC"), L"\xFC");
    EXPECT_EQ(make_string(L"\xFC"), "\xC3\xBC");
}

TEST(StringConversionTest, ReplacesEachIllFormedPartOnce)
{
    const std::wstring r = L"\xFFFD";
    EXPECT_EQ(make_wstring("\x80"), r);
    EXPECT_EQ(make_wstring("a\xC3"), L"a" + r);             // cut short at the end
    EXPECT_EQ(make_wstring("\xE2\x82"), r);                 // one replacement, not two
    EXPECT_EQ(make_wstring("\xE2\x82x"), r + L"x");
    EXPECT_EQ(make_wstring("\xC0\xAF"), r + r);             // overlong
    EXPECT_EQ(make_wstring("\xE0\x80\x80"), r + r + r);     // overlong
    EXPECT_EQ(make_wstring("\xED\xA0\x80"), r + r + r);     // surrogate
    EXPECT_EQ(make_wstring("\xF4\x90\x80\x80"), r + r + r + r); // above U+10FFFF
    EXPECT_EQ(make_wstring("\xF5\xFF"), r + r);
    EXPECT_EQ(make_wstring("\xF0\x9F\x98"), r);
}

TEST(StringConversionTest, WideValuesOutsideUnicodeBecomeReplacement)
{
    std::wstring wide;
    wide += static_cast<wchar_t>(0xD800);
    wide += static_cast<wchar_t>(0x110000);
    wide += static_cast<wchar_t>(-1);
    EXPECT_EQ(make_string(wide), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(StringConversionTest, AllBytePairsDecodeToScalarValues)
{
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            std::string text{static_cast<char>(a), static_cast<char>(b), '\xBF'};
            for (wchar_t c : make_wstring(text)) {
                ASSERT_TRUE(c >= 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF)) << a << " " << b;
            }
            // Whatever came out encodes and decodes unchanged.
            std::wstring once = make_wstring(text);
            ASSERT_EQ(make_wstring(make_string(once)), once);
        }
    }
}
