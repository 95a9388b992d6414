// Inputs the fuzz targets found, cut down to what still shows the fault.

#include "ScriptImport.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

class ScriptFuzzRegression : public ::testing::Test {
protected:
    int Import(const std::string& text)
    {
        WriteText(Script, text);
        Log.clear();
        return ImportScript(Set, Script, &Log, false);
    }

    TScratchDir Dir;
    std::string Script = Dir / "s.src";
    TTileFile Set;
    std::vector<std::string> Log;
};

// A one-line variation rule announcing more steps than its line holds used to get
// them all before the missing item was noticed: 65535 steps (256 KB) for a six-byte
// line, over a gigabyte for a 28 KB script. Now the rule gets no steps it cannot read.
TEST_F(ScriptFuzzRegression, ShortVariationRuleLineClaimsNoSteps)
{
    struct TCase {
        const char* Header;
        const char* Line;
        const char* Error;
    } cases[] = {
        {"Kestrund Script v.1.0", "65535", "List index out of bounds (1)"},
        {"Kestrund Script v.1.1", "65535 $00010041", "List index out of bounds (2)"},
        {"Kestrund Script v.1.0", "3 00010041 x", "'$x' is not a valid integer value"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        ASSERT_EQ(Import(std::string(c.Header) + "\r\n$7C1F $83E0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n" + c.Line + "\r\n"),
                  srElementErrors);
        ASSERT_EQ(Set.VariationRuleCount(), 1u);
        EXPECT_LE(Set.VariationRule(0).StepCount(), 1u);
        // ..., the error, its line, the section summary, the closing message.
        ASSERT_GE(Log.size(), 4u);
        EXPECT_EQ(Log[Log.size() - 4], std::string("ERROR: Error generating last block number 0 at line 8: ") + c.Error);
        EXPECT_EQ(Log[Log.size() - 3], std::string("     Line: \"") + c.Line + "\"");
    }
}

} // namespace
