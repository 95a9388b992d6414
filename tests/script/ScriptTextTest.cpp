#include "Errors.h"
#include "ScriptText.h"

#include <gtest/gtest.h>

using namespace kestrund;

TEST(SplitCommaText, BlanksCommasAndQuotes)
{
    struct Case { const char* text; std::vector<std::string> items; };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"a b", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {"  1 ,  2,3\t4 ", {"1", "2", "3", "4"}},
        {"\"my file.tga\" 3", {"my file.tga", "3"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"open", {"open"}},
        {"$00007C1F $000083E0", {"$00007C1F", "$000083E0"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommaText(c.text), c.items) << c.text;
}

TEST(SplitScriptLines, AllLineBreakFormsAndNul)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitScriptLines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(SplitScriptLines("a\rb\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitScriptLines("a\n\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitScriptLines(std::string_view("a\nb\0c\nd", 7)), (V{"a", "b"}));
    EXPECT_EQ(SplitScriptLines(""), V{});
    EXPECT_EQ(SplitScriptLines("\r\n"), V{""});
}

TEST(StrToIntStrict, AcceptedForms)
{
    struct Case { const char* text; std::int32_t value; };
    const Case cases[] = {
        {"0", 0}, {"12", 12}, {"-1", -1}, {"+7", 7}, {"  42", 42}, {"$7C1F", 0x7C1F},
        {"x1f", 0x1F}, {"X1F", 0x1F}, {"0x83E0", 0x83E0}, {"0XFFFFFFFF", -1}, {"$0000FF00", 0xFF00},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToIntStrict(c.text), c.value) << c.text;
}

TEST(StrToIntStrict, RefusedFormsNameTheText)
{
    for (const char* bad : {"", " ", "12 ", "1 2", "abc", "$", "$123456789", "-$1", "2147483648", "1.5", "--1",
                            "+", "0x", "$G"}) {
        try {
            StrToIntStrict(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
        }
        EXPECT_EQ(StrToIntDef(bad, -1), -1) << bad;
    }
}
