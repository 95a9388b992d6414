#include "PropertyLogic.h"

#include "MiscFunc.h"

#include <algorithm>
#include <array>
#include <climits>

namespace kestrund {

namespace {

constexpr std::array<TKindTexts, PropertyKindCount> kindTexts{{
    {"Tile Rule", "&Graphics", "Alt&1"},
    {"Border", "&Inside", "&Outside"},
    {"Tile", "Tile &ID", "Tile Inde&x"},
    {"River", "River &ID", ""},
    {"Tile Improvement", "Tile Imp &ID", ""},
    {"Variation Rule", "", ""},
}};

TPropertyKind Checked(TPropertyKind kind)
{
    return kind >= 0 && kind < PropertyKindCount ? kind : pkTileRule;
}

} // namespace

const TKindTexts& KindTexts(TPropertyKind kind)
{
    return kindTexts[static_cast<std::size_t>(Checked(kind))];
}

bool KindHasPicture(TPropertyKind kind)
{
    return kind >= pkBorder && kind <= pkImprovement;
}

std::string PropertyCaption(TPropertyKind kind, bool add)
{
    return std::string(add ? "Add " : "Edit ") + KindTexts(kind).Element;
}

std::size_t ElementCount(const TTileFile& set, TPropertyKind kind)
{
    switch (kind) {
    case pkTileRule: return set.TileRuleCount();
    case pkBorder: return set.BorderCount();
    case pkTile: return set.TileCount();
    case pkRiver: return set.RiverCount();
    case pkImprovement: return set.ImprovementCount();
    case pkVariationRule: return set.VariationRuleCount();
    }
    return 0;
}

std::size_t StripCount(const TTileFile& set, TPropertyKind kind)
{
    if (kind == pkTileRule)
        return 0;
    return ElementCount(set, kind == pkVariationRule ? pkTile : kind);
}

TPositionRange PositionRange(std::size_t count, bool replace)
{
    const int n = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
    if (replace)
        return {0, std::max(n - 1, 0)};
    return {0, n};
}

int RuleFieldValue(std::uint16_t slot, bool hex)
{
    return hex ? slot : static_cast<std::int16_t>(slot);
}

std::uint16_t RiverSlotValue(std::uint16_t stored, bool checked)
{
    if ((stored == 1) == checked)
        return stored;
    return checked ? 1 : 0;
}

int RiverTypeItem(std::uint16_t stored)
{
    return stored == 1 || stored == 2 ? stored - 1 : -1;
}

std::uint16_t RiverTypeValue(std::uint16_t stored, int item)
{
    if (item < 0 || item + 1 == stored)
        return stored;
    return static_cast<std::uint16_t>(item + 1);
}

std::uint8_t TileBorderEdges(std::uint8_t stored, int cornerFlags)
{
    return static_cast<std::uint8_t>((stored & 0xF0) | (cornerFlags & 0x0F));
}

void RebuildBorder(const TTileBorder& source, int corner, TTileBorder& working)
{
    working.Assign(source);
    if (corner < 0 || corner > 3)
        return;
    for (TCBorder& edge : working.Edges)
        edge.CopyOriented(source.Edges[static_cast<std::size_t>(corner)]);
}

void RebuildTileCorners(const TTile& source, int sourceFlags, int cornerFlags, TColor transparent, TColor shadow,
                        TTile& working)
{
    working.Assign(source);
    if ((sourceFlags & 0x0F) == (cornerFlags & 0x0F))
        return;
    TPictureBuffer picture = MakeBuffer(TileWidth, TileHeight, transparent);
    source.DrawToBuffer(0, 0, false, shadow, picture);
    working.FromPicture(std::move(picture), transparent, shadow, cornerFlags & 0x0F);
}

void DrawTilePreview(const TTile& tile, TSurface& surface)
{
    static const TTile lime(clLime, cmRGB555), blue(clBlue, cmRGB555), red(clRed, cmRGB555),
        fuchsia(clFuchsia, cmRGB555);
    lime.Draw(48, 24, surface);
    blue.Draw(144, 24, surface);
    red.Draw(48, 72, surface);
    fuchsia.Draw(144, 72, surface);
    tile.Draw(PreviewElementX, PreviewElementY, surface);
}

bool PickablePreviewPoint(int x, int y)
{
    return x > 0 && x < PreviewWidth && y > 0 && y < PreviewHeight;
}

TStripPicture StripPictureSize(const TTileFile& set, TPropertyKind kind, std::size_t index)
{
    if (kind == pkTileRule || index >= StripCount(set, kind))
        return {};
    if (kind != pkImprovement)
        return {TileWidth, TileHeight};
    const TTileImprovement& improvement = set.Improvement(index);
    if (improvement.Empty() || improvement.MaxWidth() <= 0)
        return {};
    return {std::min(improvement.MaxWidth(), MaxStripPictureSide),
            std::min(static_cast<int>(improvement.LastLine) + 1, MaxStripPictureSide)};
}

void DrawStripElement(const TTileFile& set, TPropertyKind kind, std::size_t index, TSurface& surface)
{
    if (index >= StripCount(set, kind))
        return;
    switch (kind) {
    case pkBorder: set.Border(index).Draw(0, 0, surface); break;
    case pkTile:
    case pkVariationRule: set.Tile(index).Draw(0, 0, surface); break;
    case pkRiver: set.River(index).Draw(0, 0, surface); break;
    case pkImprovement: set.Improvement(index).Draw(0, 0, surface); break;
    case pkTileRule: break;
    }
}

// ---- Variation-rule entries as text ----

std::string StepLine(std::uint32_t step)
{
    return IntToStrPad((step & 0xFFFF) >> 6, 2, '0') + "," + std::to_string(step & 0x1F) + "," +
           IntToStrPad(step >> 16, 4, '0');
}

std::vector<std::string> CommaItems(std::string_view line)
{
    line = line.substr(0, line.find('\0'));
    const std::size_t n = line.size();
    auto blank = [&](std::size_t k) { return k < n && static_cast<unsigned char>(line[k]) <= ' '; };
    std::vector<std::string> items;
    std::size_t i = 0;
    while (blank(i))
        ++i;
    while (i < n) {
        std::string item;
        if (line[i] == '"') {
            // Doubled quotes stand for one; an unclosed quote runs to the end.
            for (++i; i < n; ++i) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        item += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += line[i];
            }
        } else {
            while (i < n && !blank(i) && line[i] != ',')
                item += line[i++];
        }
        items.push_back(std::move(item));
        while (blank(i))
            ++i;
        if (i < n && line[i] == ',') {
            if (i + 1 == n)
                items.emplace_back();
            do
                ++i;
            while (blank(i));
        }
    }
    return items;
}

std::optional<long long> ParseInteger(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        if (value > (hex ? 0xFFFFFFFFLL : 0x80000000LL))
            return std::nullopt;
    }
    if (hex) // eight hex digits are a 32-bit pattern
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return value;
}

std::uint32_t PackStep(long long index, long long dir, long long tileID)
{
    const auto bits = [](long long v, std::uint32_t mask) { return static_cast<std::uint32_t>(v) & mask; };
    return bits(dir, 0x1F) | bits(index, 0xFF) << 6 | bits(tileID, 0xFFFF) << 16;
}

std::uint32_t ParseStepLine(std::string_view line)
{
    const std::vector<std::string> items = CommaItems(line);
    const auto item = [&](std::size_t k) { return k < items.size() ? ParseInteger(items[k]).value_or(0) : 0; };
    return PackStep(item(0), item(1), item(2));
}

std::uint32_t RowStep(std::string_view indexText, std::string_view dirText, std::string_view tileIDText)
{
    return PackStep(ParseInteger(indexText).value_or(-1), ParseInteger(dirText).value_or(-1),
                    ParseInteger(tileIDText).value_or(-1));
}

std::vector<std::string> TextLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

std::vector<std::uint32_t> StepsFromLines(const std::vector<std::string>& lines,
                                          const std::vector<std::uint32_t>& loaded)
{
    const std::size_t count = std::min<std::size_t>(lines.size(), 0xFFFF);
    std::vector<std::uint32_t> steps(count);
    for (std::size_t i = 0; i < count; ++i)
        steps[i] = i < loaded.size() && lines[i] == StepLine(loaded[i]) ? loaded[i] : ParseStepLine(lines[i]);
    return steps;
}

std::vector<std::string> TileIDsOfIndex(const TTileFile& set, int index)
{
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < set.TileCount(); ++i)
        if (set.Tile(i).TileIndex == index)
            ids.push_back(IntToStrPad(set.Tile(i).TileID, 4, '0'));
    return ids;
}

} // namespace kestrund
