#include "Errors.h"
#include "MiscFunc.h"

#include <gtest/gtest.h>

using namespace kestrund;

TEST(IntToStrPad, PadsOnTheLeftAndNeverCuts)
{
    struct Case { long long value; int width; char pad; const char* expected; };
    const Case cases[] = {
        {5, 3, '0', "005"},     {140, 4, '0', "0140"},  {12345, 3, '0', "12345"},
        {7, 4, ' ', "   7"},    {-5, 4, '0', "-005"},   {-5, 4, ' ', "  -5"},
        {-123, 2, '0', "-123"}, {0, 0, '0', "0"},       {-1, 2, '0', "-1"},
        {65535, 5, '0', "65535"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntToStrPad(c.value, c.width, c.pad), c.expected) << c.value << " width " << c.width;
}

TEST(IntToHexTrim, UsesLow16BitsAndTrimsToMinimum)
{
    EXPECT_EQ(IntToHexTrim(0x7C1F, 4), "7C1F");
    EXPECT_EQ(IntToHexTrim(0x1F, 4), "001F");
    EXPECT_EQ(IntToHexTrim(0x1F, 1), "1F");
    EXPECT_EQ(IntToHexTrim(0, 1), "0");
    EXPECT_EQ(IntToHexTrim(0, 0), "");
    EXPECT_EQ(IntToHexTrim(0x12345, 4), "2345");
    EXPECT_EQ(IntToHexTrim(-1, 2), "FFFF");
}

TEST(IntToBin, SixteenDigitsTrimmedToMinimum)
{
    EXPECT_EQ(IntToBin(5, 16), "0000000000000101");
    EXPECT_EQ(IntToBin(5, 1), "101");
    EXPECT_EQ(IntToBin(0, 1), "0");
    EXPECT_EQ(IntToBin(0x1FFFF, 1), "1111111111111111");
    EXPECT_EQ(IntToBin(2, 4), "0010");
}

TEST(BinToInt, ReadsBinaryAndRejectsOtherCharacters)
{
    EXPECT_EQ(BinToInt(""), 0);
    EXPECT_EQ(BinToInt("1"), 1);
    EXPECT_EQ(BinToInt("0010"), 2);
    EXPECT_EQ(BinToInt("1111111111111111"), 65535);
    EXPECT_EQ(BinToInt(IntToBin(0xA5C3, 16)), 0xA5C3);
    for (const char* bad : {"102", " 1", "1 ", "abc", "-1"}) {
        try {
            BinToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid binary value");
        }
    }
}
