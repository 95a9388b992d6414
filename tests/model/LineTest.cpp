#include "ByteStream.h"
#include "Line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace kestrund;

namespace {

using Words = std::vector<std::uint16_t>;

constexpr std::uint16_t T = 0x7C1F; // transparent word
constexpr std::uint16_t S = 0x4210; // shadow word

enum Cls { cT, cS, cL };

Cls ClassOf(std::uint16_t p)
{
    return p == T ? cT : p == S ? cS : cL;
}

// Straight from the encoding rules: maximal runs of one class, each cut into pieces of
// at most 255 pixels, the last piece of the row in its end variant.
Words ReferenceEncode(const Words& pixels)
{
    static const std::uint16_t mid[] = {0x0A00, 0x0D00, 0x0C00};
    static const std::uint16_t end[] = {0xFA00, 0xED00, 0xEC00};
    Words out;
    std::size_t i = 0;
    while (i < pixels.size()) {
        const Cls c = ClassOf(pixels[i]);
        std::size_t j = i;
        while (j < pixels.size() && ClassOf(pixels[j]) == c)
            ++j;
        while (i < j) {
            const std::size_t n = std::min<std::size_t>(255, j - i);
            const bool last = i + n == pixels.size();
            out.push_back(static_cast<std::uint16_t>((last ? end[c] : mid[c]) | n));
            if (c == cL)
                out.insert(out.end(), pixels.begin() + static_cast<long>(i), pixels.begin() + static_cast<long>(i + n));
            i += n;
        }
    }
    return out;
}

// Walks the words the way a reader does and rebuilds the row; reports malformed code.
::testing::AssertionResult Decode(const Words& words, Words& pixels)
{
    pixels.clear();
    std::size_t i = 0;
    int previousClass = -1;
    std::size_t previousLength = 0;
    while (i < words.size()) {
        const unsigned op = words[i] >> 8, n = words[i] & 0xFF;
        ++i;
        if (n == 0)
            return ::testing::AssertionFailure() << "empty run at word " << i - 1;
        int cls;
        switch (op) {
        case 0x0A: case 0xFA: cls = cT; break;
        case 0x0D: case 0xED: cls = cS; break;
        case 0x0C: case 0xEC: cls = cL; break;
        default: return ::testing::AssertionFailure() << "unexpected op " << op;
        }
        if (cls == previousClass && previousLength != 255)
            return ::testing::AssertionFailure() << "run of the same class follows a short run at word " << i - 1;
        previousClass = cls;
        previousLength = n;
        for (unsigned k = 0; k < n; ++k) {
            if (cls == cL) {
                if (i >= words.size())
                    return ::testing::AssertionFailure() << "literal run cut short";
                pixels.push_back(words[i++]);
            } else {
                pixels.push_back(cls == cT ? T : S);
            }
        }
        const bool isEnd = op >= 0xEC;
        if (isEnd != (i == words.size()))
            return ::testing::AssertionFailure() << "end run is not the last run (word " << i << ")";
    }
    return ::testing::AssertionSuccess();
}

// A row of runs of the allowed classes; run lengths mostly short, now and then long.
Words RandomRow(std::mt19937& rng, std::size_t width, unsigned classMask)
{
    std::vector<Cls> allowed;
    for (Cls c : {cT, cS, cL})
        if (classMask & (1u << c))
            allowed.push_back(c);
    std::uniform_int_distribution<std::size_t> pick(0, allowed.size() - 1);
    std::uniform_int_distribution<int> shortLen(1, 12), longLen(200, 700), chance(0, 9);
    std::uniform_int_distribution<unsigned> word(0, 0xFFFF);
    Words row;
    row.reserve(width);
    while (row.size() < width) {
        const Cls c = allowed[pick(rng)];
        std::size_t n = static_cast<std::size_t>(chance(rng) == 0 ? longLen(rng) : shortLen(rng));
        n = std::min(n, width - row.size());
        for (std::size_t k = 0; k < n; ++k) {
            if (c == cT)
                row.push_back(T);
            else if (c == cS)
                row.push_back(S);
            else {
                std::uint16_t p;
                do
                    p = static_cast<std::uint16_t>(word(rng));
                while (p == T || p == S);
                row.push_back(p);
            }
        }
    }
    return row;
}

TLine Encoded(const Words& pixels, std::uint16_t t = T, std::uint16_t s = S)
{
    TLine line;
    line.Encode(pixels, t, s);
    return line;
}

Words Row(std::initializer_list<std::pair<std::size_t, std::uint16_t>> runs)
{
    Words row;
    for (auto [n, p] : runs)
        row.insert(row.end(), n, p);
    return row;
}

TLine ReadLine(const Words& words, std::uint8_t mode = 0)
{
    TByteWriter writer;
    writer.Words(words.data(), words.size());
    TByteReader reader(writer.Data());
    TLine line(mode);
    line.LoadFromStream(reader, words.size());
    return line;
}

} // namespace

TEST(TLine, DefaultLineIsNinetyFourTransparentPixels)
{
    const TLine line;
    EXPECT_EQ(line.Words, Words{0xFA5E});
    EXPECT_EQ(line.Width, 94);
    EXPECT_EQ(line.ColorMode, 0);
    EXPECT_EQ(line.WordCount(), 1u);
    EXPECT_EQ(TLine(1).ColorMode, 1);
    EXPECT_EQ(TLine(1).Words, Words{0xFA5E});
}

TEST(TLineEncode, DocumentedExamples)
{
    struct Case {
        const char* name;
        Words pixels;
        Words expected;
    };
    const Case cases[] = {
        {"all transparent", Row({{94, T}}), {0xFA5E}},
        {"10 transparent, 3 literal, 81 shadow", Row({{10, T}, {1, 0x1111}, {1, 0x2222}, {1, 0x3333}, {81, S}}),
         {0x0A0A, 0x0C03, 0x1111, 0x2222, 0x3333, 0xED51}},
        {"last run literal", Row({{5, T}, {1, 0x0001}, {1, 0x8002}}), {0x0A05, 0xEC02, 0x0001, 0x8002}},
        {"first run literal", Row({{1, 0x0001}, {1, 0x0002}, {3, T}}), {0x0C02, 0x0001, 0x0002, 0xFA03}},
        {"literals of any value form one run", Row({{1, 0x1}, {1, 0x2}, {1, T}, {1, 0x3}}),
         {0x0C02, 0x1, 0x2, 0x0A01, 0xEC01, 0x3}},
        {"one shadow pixel", Row({{1, S}}), {0xED01}},
        {"one literal pixel", Row({{1, 0x0123}}), {0xEC01, 0x0123}},
        {"shadow then transparent", Row({{2, S}, {3, T}}), {0x0D02, 0xFA03}},
        {"255 transparent fit one run", Row({{255, T}}), {0xFAFF}},
        {"256 transparent split", Row({{256, T}}), {0x0AFF, 0xFA01}},
        {"510 shadow split evenly", Row({{510, S}}), {0x0DFF, 0xEDFF}},
        {"shadow split before a literal", Row({{300, S}, {1, 0x5}}), {0x0DFF, 0x0D2D, 0xEC01, 0x5}},
    };
    for (const Case& c : cases) {
        const TLine line = Encoded(c.pixels);
        EXPECT_EQ(line.Words, c.expected) << c.name;
        EXPECT_EQ(line.Width, c.pixels.size()) << c.name;
    }
}

TEST(TLineEncode, LongLiteralRunIsSplitWithItsPixels)
{
    Words row;
    for (unsigned k = 0; k < 300; ++k)
        row.push_back(static_cast<std::uint16_t>(k + 1));
    const TLine line = Encoded(row);
    ASSERT_EQ(line.Words.size(), 302u);
    EXPECT_EQ(line.Words[0], 0x0CFF);
    EXPECT_EQ(line.Words[1], 1);
    EXPECT_EQ(line.Words[255], 255);
    EXPECT_EQ(line.Words[256], 0xEC2D);
    EXPECT_EQ(line.Words[257], 256);
    EXPECT_EQ(line.Words[301], 300);
}

TEST(TLineEncode, TransparentWinsWhenBothWordsAreEqual)
{
    EXPECT_EQ(Encoded(Row({{4, 0x1234}}), 0x1234, 0x1234).Words, Words{0xFA04});
    EXPECT_EQ(Encoded(Row({{2, 0x1234}, {1, 0x7}}), 0x1234, 0x1234).Words, (Words{0x0A02, 0xEC01, 0x7}));
}

TEST(TLineEncode, EncodeReplacesWhatWasThere)
{
    TLine line = Encoded(Row({{3, 0x1}, {200, S}}));
    line.Encode(Row({{7, T}}), T, S);
    EXPECT_EQ(line.Words, Words{0xFA07});
    EXPECT_EQ(line.Width, 7);
}

// Random rows of every class mix and many widths up to 65535 must come back pixel for
// pixel, both by walking the words and by drawing them into a buffer.
TEST(TLineEncode, RandomRowsRoundTrip)
{
    std::mt19937 rng(20240611);
    std::vector<std::size_t> widths = {1, 2, 3, 93, 94, 95, 254, 255, 256, 257, 509, 510, 511, 766, 1000, 4096, 65535};
    std::uniform_int_distribution<std::size_t> anyWidth(1, 3000);
    for (int k = 0; k < 20; ++k)
        widths.push_back(anyWidth(rng));
    const TColor shadowColor = 0x3050A0;
    const std::uint16_t c5 = ColorToPixel(shadowColor, 0);
    const std::uint16_t background = 0x5555;
    int rows = 0;
    for (std::size_t width : widths)
        for (unsigned mask = 1; mask < 8; ++mask)
            for (int seed = 0; seed < (width > 5000 ? 1 : 3); ++seed) {
                const Words row = RandomRow(rng, width, mask);
                const TLine line = Encoded(row);
                SCOPED_TRACE("width " + std::to_string(width) + " classes " + std::to_string(mask));
                ASSERT_EQ(line.Width, width);
                ASSERT_EQ(line.Words, ReferenceEncode(row));

                Words decoded;
                ASSERT_TRUE(Decode(line.Words, decoded));
                ASSERT_EQ(decoded, row);

                TPictureBuffer buffer(static_cast<int>(width), 1, background);
                line.DrawToBuffer(buffer, 0, 0, false, shadowColor);
                for (std::size_t x = 0; x < width; ++x) {
                    const std::uint16_t expected = row[x] == T ? background : row[x] == S ? c5 : row[x];
                    ASSERT_EQ(buffer(static_cast<int>(x), 0), expected) << "x " << x;
                }

                ASSERT_EQ(ReadLine(line.Words).Width, width);
                ++rows;
            }
    EXPECT_GT(rows, 500);
}

TEST(TLineWidth, ComputedFromTheWordsAfterReading)
{
    struct Case {
        const char* name;
        Words words;
        unsigned width;
    };
    const Case cases[] = {
        {"default line", {0xFA5E}, 94},
        {"documented row", {0x0A0A, 0x0C03, 1, 2, 3, 0xED51}, 94},
        {"solid shadow runs count", {0x0B05, 0x0A01, 0xFB03}, 9},
        {"literal end run", {0x0D02, 0xEC02, 0xFAFF, 0x0A10}, 4},
        {"literal pixels that look like runs are skipped", {0x0C02, 0x0A0A, 0xFA00, 0xEC01, 0xFB10}, 3},
        {"unknown ops are skipped", {0x0105, 0x0A02, 0x7F09, 0xFA01}, 3},
        {"runs after the first end run do not count", {0xFA05, 0x0A10, 0xED03}, 5},
        {"shadow end", {0x0C01, 0x1234, 0xED7F}, 128},
        {"solid shadow end", {0xFBFF}, 255},
        {"long split row", {0x0AFF, 0x0AFF, 0x0DFF, 0xFA03}, 768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadLine(c.words).Width, c.width) << c.name;
}

TEST(TLineSave, LiteralPixelsConvertedToTheTargetMode)
{
    TLine line(0);
    line.Words = {0x0A01, 0x0C02, 0x7C1F, 0x83E0, 0x0D01, 0xEC01, 0x03E0};
    TByteWriter same, other;
    line.SaveToStream(same, 0);
    line.SaveToStream(other, 1);
    const auto words = [](const TByteWriter& w) {
        Words out(w.Size() / 2);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<std::uint16_t>(w.Data()[2 * i] | w.Data()[2 * i + 1] << 8);
        return out;
    };
    EXPECT_EQ(words(same), line.Words); // unconverted, bit 15 kept
    EXPECT_EQ(words(other), (Words{0x0A01, 0x0C02, 0xF81F, 0x07C0, 0x0D01, 0xEC01, 0x07C0}));
}

namespace {
struct SurfaceCase {
    const char* name;
    std::uint8_t mode;
    int x;
    Words words;
    std::vector<TColor> row; // expected colours of x = 0..7
};
constexpr TColor W = 0xFFFFFF;
constexpr TColor C = 0x808080;   // shadow colour
constexpr TColor D = 0x7F7F7F;   // white darkened by it
} // namespace

TEST(TLineDraw, OperationsOnASurface)
{
    const SurfaceCase cases[] = {
        {"transparent, literal, end", 0, 1, {0x0A02, 0x0C02, 0x7C00, 0x001F, 0xFA03}, {W, W, W, 0x0000F8, 0xF80000, W, W, W}},
        {"solid shadow then shadow end", 0, 0, {0x0B02, 0xED02, 0x0C01, 0x7C00}, {C, C, D, D, W, W, W, W}},
        {"solid shadow end stops", 0, 0, {0xFB02, 0x0C01, 0x7C00}, {C, C, W, W, W, W, W, W}},
        {"literal end stops", 0, 0, {0xEC01, 0x7C00, 0x0C01, 0x001F}, {0x0000F8, W, W, W, W, W, W, W}},
        {"shadow end stops", 0, 2, {0xED01, 0x0B03}, {W, W, D, W, W, W, W, W}},
        {"transparent end stops", 0, 0, {0xFA01, 0x0B03}, {W, W, W, W, W, W, W, W}},
        {"unknown op skipped without moving", 0, 0, {0x0105, 0x0C01, 0x7C00, 0xFA01}, {0x0000F8, W, W, W, W, W, W, W}},
        {"mode 1 literal", 1, 0, {0xEC02, 0xF800, 0x07E0}, {0x0000F8, 0x00F800, W, W, W, W, W, W}},
        {"clipped on the left", 0, -2, {0x0C04, 0x7C00, 0x7C00, 0x03E0, 0x001F, 0xFA01}, {0x00F800, 0xF80000, W, W, W, W, W, W}},
        {"clipped on the right", 0, 6, {0x0B05}, {W, W, W, W, W, W, C, C}},
    };
    for (const SurfaceCase& c : cases) {
        TLine line(c.mode);
        line.Words = c.words;
        TRgbSurface surface(8, 3, W);
        line.Draw(surface, c.x, 1, C);
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(surface.Pixel(x, 1), c.row[static_cast<std::size_t>(x)]) << c.name << " x " << x;
            EXPECT_EQ(surface.Pixel(x, 0), W) << c.name;
            EXPECT_EQ(surface.Pixel(x, 2), W) << c.name;
        }
    }
}

TEST(TLineDraw, ShadowDarkensWhatIsUnderneath)
{
    TLine line;
    line.Words = {0xED02};
    TRgbSurface surface(2, 1, 0x204080);
    line.Draw(surface, 0, 0, C);
    EXPECT_EQ(surface.Pixel(0, 0), 0x102040U);
    EXPECT_EQ(surface.Pixel(1, 0), 0x102040U);
}

namespace {
struct BufferCase {
    const char* name;
    std::uint8_t mode;
    bool blend;
    Words words;
    Words row; // expected words of x = 0..5
};
constexpr std::uint16_t B = 0x7FFF; // background
} // namespace

TEST(TLineDrawToBuffer, OperationsIntoABuffer)
{
    // shadow colour 0x808080 is 0x4210 in mode 0; blended over white it gives 0x3DEF
    const BufferCase cases[] = {
        {"transparent and solid shadow skip", 0, false, {0x0A01, 0x0B02, 0x0C01, 0x8123, 0xFA01}, {B, B, B, 0x8123, B, B}},
        {"shadow blended", 0, true, {0x0D02, 0xED01, 0x0C01, 0x1}, {0x3DEF, 0x3DEF, 0x3DEF, B, B, B}},
        {"shadow solid", 0, false, {0x0D02, 0xED01}, {0x4210, 0x4210, 0x4210, B, B, B}},
        {"solid shadow end stops", 0, true, {0xFB02, 0x0C01, 0x1234}, {B, B, B, B, B, B}},
        {"transparent end stops", 0, true, {0xFA01, 0x0C01, 0x1234}, {B, B, B, B, B, B}},
        {"literal end stops", 0, false, {0xEC01, 0x1111, 0x0C01, 0x2222}, {0x1111, B, B, B, B, B}},
        {"mode 1 literal converted", 1, false, {0x0A01, 0xEC02, 0xF81F, 0x07E0}, {B, 0x7C1F, 0x03E0, B, B, B}},
        {"unknown op skipped", 0, false, {0x2203, 0xEC01, 0x1111}, {0x1111, B, B, B, B, B}},
        {"clipped on the right", 0, false, {0x0A04, 0xEC04, 1, 2, 3, 4}, {B, B, B, B, 1, 2}},
    };
    for (const BufferCase& c : cases) {
        TLine line(c.mode);
        line.Words = c.words;
        TPictureBuffer buffer(6, 2, B);
        line.DrawToBuffer(buffer, 0, 1, c.blend, 0x808080);
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(buffer(x, 1), c.row[static_cast<std::size_t>(x)]) << c.name << " x " << x;
            EXPECT_EQ(buffer(x, 0), B) << c.name;
        }
    }
}

// Lines as they may come from a damaged file: a literal run announcing more pixels than
// there are words, empty runs, no end run. Drawing stops at the last word.
TEST(TLineDraw, MalformedLinesStopAtTheLastWord)
{
    struct Case {
        const char* name;
        Words words;
        std::vector<TColor> surfaceRow; // x = 0..3
        Words bufferRow;
        unsigned width;
    };
    const Case cases[] = {
        {"literal run cut short", {0x0C05, 0x7C00, 0x001F}, {0x0000F8, 0xF80000, W, W}, {0x7C00, 0x001F, B, B}, 5},
        {"empty literal run", {0x0C00, 0xEC01, 0x7C00}, {0x0000F8, W, W, W}, {0x7C00, B, B, B}, 1},
        {"no end run", {0x0A01, 0x0B01}, {W, C, W, W}, {B, B, B, B}, 2},
        {"no words", {}, {W, W, W, W}, {B, B, B, B}, 0},
        {"end literal cut short", {0x0A02, 0xEC09, 0x001F}, {W, W, 0xF80000, W}, {B, B, 0x001F, B}, 11},
    };
    for (const Case& c : cases) {
        TLine line = ReadLine(c.words);
        EXPECT_EQ(line.Width, c.width) << c.name;
        TRgbSurface surface(4, 1, W);
        line.Draw(surface, 0, 0, C);
        TPictureBuffer buffer(4, 1, B);
        line.DrawToBuffer(buffer, 0, 0, false, C);
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(surface.Pixel(x, 0), c.surfaceRow[static_cast<std::size_t>(x)]) << c.name << " x " << x;
            EXPECT_EQ(buffer(x, 0), c.bufferRow[static_cast<std::size_t>(x)]) << c.name << " x " << x;
        }
        TByteWriter writer;
        line.SaveToStream(writer, 1);
        EXPECT_EQ(writer.Size(), 2 * c.words.size()) << c.name;
    }
}
