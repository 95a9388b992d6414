#include "VariationRule.h"

#include "Errors.h"
#include "MiscFunc.h"
#include "Tile.h"
#include "TileFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace kestrund {

std::uint32_t TVariationRule::Step(std::size_t i) const
{
    if (i >= Steps.size())
        throw EListIndexError(static_cast<long long>(i));
    return Steps[i];
}

void TVariationRule::SetStep(std::size_t i, std::uint32_t value)
{
    if (i >= Steps.size())
        throw EListIndexError(static_cast<long long>(i));
    Steps[i] = value;
}

void TVariationRule::SetStepDir(std::size_t i, int dir)
{
    const std::uint32_t s = Step(i);
    SetStep(i, (s & ~0x1Fu) | (static_cast<std::uint32_t>(dir) & 0x1F));
}

void TVariationRule::SetStepTileIndex(std::size_t i, int index)
{
    const std::uint32_t s = Step(i);
    // Keeps bits 0-4 and the tile ID; bits 6-13 take the index.
    SetStep(i, (s & 0xFFFF0000u) | (s & 0x1Fu) | ((static_cast<std::uint32_t>(index) & 0xFF) << 6));
}

void TVariationRule::SetStepTileID(std::size_t i, std::uint16_t id)
{
    const std::uint32_t s = Step(i);
    SetStep(i, (s & 0xFFFFu) | static_cast<std::uint32_t>(id) << 16);
}

std::string TVariationRule::StepText(std::size_t i) const
{
    return IntToStrPad(StepTileIndex(i), 2, '0') + "," + std::to_string(StepDir(i)) + "," +
           IntToStrPad(StepTileID(i), 4, '0');
}

namespace {
// A decimal integer with optional surrounding blanks and sign; 0 when it is not one.
int ParseItem(std::string_view item)
{
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
        item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
        item.remove_suffix(1);
    if (!item.empty() && item.front() == '+')
        item.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (error != std::errc() || end != item.data() + item.size() || item.empty())
        return 0;
    return value;
}
} // namespace

void TVariationRule::SetStepText(std::size_t i, const std::string& text)
{
    std::vector<std::string_view> items;
    std::string_view rest(text);
    for (;;) {
        const std::size_t comma = rest.find(',');
        items.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    auto item = [&](std::size_t k) { return k < items.size() ? ParseItem(items[k]) : 0; };
    SetStepTileIndex(i, item(0));
    SetStepDir(i, item(1));
    SetStepTileID(i, static_cast<std::uint16_t>(item(2)));
}

namespace {
void Move(int dir, int& a, int& b)
{
    switch (dir) {
    case 1: --b; break;
    case 2: --a; break;
    case 3: ++b; break;
    case 4: ++a; break;
    default: break;
    }
}
} // namespace

void TVariationRule::ComputeGrid()
{
    int a = 0, b = 0, minA = 0, maxA = 0, minB = 0, maxB = 0;
    for (std::uint32_t step : Steps) {
        Move(static_cast<int>(step & 0x1F), a, b);
        minA = std::min(minA, a);
        maxA = std::max(maxA, a);
        minB = std::min(minB, b);
        maxB = std::max(maxB, b);
    }
    const int wa = maxA - minA + 1;
    const int wb = maxB - minB + 1;
    const int secondDir = Steps.size() > 1 ? static_cast<int>(Steps[1] & 0x1F) : -1;

    int a0 = a, b0 = b; // any case not listed starts where the walk ended
    if (wa + wb < 5) {
        a0 = 2, b0 = 2;
    } else if (wa == 3 && wb == 2) {
        a0 = minA >= 0 ? 1 : 3, b0 = 2;
    } else if (wa == 2 && wb == 3) {
        a0 = 2, b0 = minB >= 0 ? 1 : 3;
    } else if (wa == 3 && wb == 3) {
        a0 = minA < 0 ? 3 : 1, b0 = minB < 0 ? 3 : 1;
    } else if (wa == 4) {
        if (wb == 1) {
            a0 = minA < 0 ? 4 : 0, b0 = 2;
        } else {
            switch (secondDir) {
            case 1: b0 = 3, a0 = minA < 0 ? 3 : 1; break;
            case 2: a0 = 4, b0 = 2; break;
            case 3: b0 = 1, a0 = minA < 0 ? 3 : 1; break;
            case 4: a0 = 0, b0 = 2; break;
            default: break;
            }
        }
    } else if (wb == 4) {
        if (wa == 1) {
            a0 = 2, b0 = minB < 0 ? 4 : 0;
        } else {
            switch (secondDir) {
            case 1: a0 = 2, b0 = 4; break;
            case 2: a0 = 3, b0 = minB < 0 ? 3 : 1; break;
            case 3: a0 = 2, b0 = 0; break;
            case 4: a0 = 1, b0 = minB < 0 ? 3 : 1; break;
            default: break;
            }
        }
    } else if (wa == 5) {
        a0 = minA < 0 ? 4 : 0, b0 = 2;
    } else if (wb == 5) {
        a0 = 2, b0 = minB < 0 ? 4 : 0;
    }

    for (auto& row : Grid)
        row.fill(EmptyCell);
    a = a0, b = b0;
    for (std::uint32_t step : Steps) {
        Move(static_cast<int>(step & 0x1F), a, b);
        if (a >= 0 && a < 5 && b >= 0 && b < 5)
            Grid[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(step >> 16);
    }
}

bool VariationCellOffset(int a, int b, int& dx, int& dy)
{
    // The layout is the diamond of cells within two steps of the centre (2, 2).
    if (std::abs(a - 2) + std::abs(b - 2) > 2)
        return false;
    dx = 48 * (b - a) + 96;
    dy = 24 * (a + b) - 48;
    return true;
}

void TVariationRule::Draw(const TTileFile& set, int x, int y, TSurface& surface)
{
    Draw(set, x, y, set.ShadowColor, surface);
}

void TVariationRule::Draw(const TTileFile& set, int x, int y, TColor shadowColor, TSurface& surface)
{
    ComputeGrid();
    for (int b = 0; b < 5; ++b)
        for (int a = 0; a < 5; ++a) {
            int dx, dy;
            if (Grid[a][b] == EmptyCell || !VariationCellOffset(a, b, dx, dy))
                continue;
            if (const TTile* tile = set.FindTile(Grid[a][b]))
                tile->Draw(x + dx, y + dy, surface, shadowColor);
        }
}

void TVariationRule::DrawToBuffer(const TTileFile& set, int x, int y, bool shadowBlend, TColor shadowColor,
                                  TPictureBuffer& buffer)
{
    ComputeGrid();
    for (int b = 0; b < 5; ++b)
        for (int a = 0; a < 5; ++a) {
            int dx, dy;
            if (Grid[a][b] == EmptyCell || !VariationCellOffset(a, b, dx, dy))
                continue;
            if (const TTile* tile = set.FindTile(Grid[a][b]))
                tile->DrawToBuffer(x + dx, y + dy, shadowBlend, shadowColor, buffer);
        }
}

} // namespace kestrund
