#include "TileRule.h"

#include "Errors.h"
#include "TileFile.h"

namespace kestrund {

std::uint16_t TTileRule::Value(int k) const
{
    if (k < 0 || k >= TileRuleValueCount)
        throw EListIndexError(k);
    return Values[static_cast<std::size_t>(k)];
}

void TTileRule::SetValue(int k, std::uint16_t v)
{
    if (k < 0 || k >= TileRuleValueCount)
        throw EListIndexError(k);
    Values[static_cast<std::size_t>(k)] = v;
}

const TTile* TTileRule::PreviewTile(int i) const
{
    if (i < 0 || i >= 9)
        throw EListIndexError(i);
    return Preview()[static_cast<std::size_t>(i)];
}

std::array<const TTile*, 9> TTileRule::Preview() const
{
    std::array<const TTile*, 9> preview{};
    if (!Owner)
        return preview;
    const TTileFile& set = *Owner;
    auto isSet = [](std::uint16_t v) { return static_cast<std::int16_t>(v) >= 0; };

    // Centre: Graphics, then Alt1..Alt5.
    for (int k = rvGraphics; k <= rvAlt5; ++k)
        if (isSet(Values[k])) {
            preview[4] = set.FindTile(Values[k]);
            break;
        }

    // Neighbours, with the slot each goes to in the N, NW, NE, W, centre, E, SW, SE, S order.
    static constexpr int order[8] = {nbN, nbNW, nbNE, nbW, nbE, nbSW, nbSE, nbS};
    static constexpr int slot[8] = {0, 1, 2, 3, 5, 6, 7, 8};
    for (int n = 0; n < 8; ++n) {
        const int k = order[n];
        const int o = 8 - k;
        const std::uint16_t v = Values[static_cast<std::size_t>(k)];
        const TTile* tile = nullptr;
        if (isSet(v)) {
            const TTileRule* match = nullptr;
            for (std::size_t r = 0; r < set.TileRuleCount(); ++r) {
                const TTileRule& rule = set.TileRule(r);
                if (rule.Values[nbCentre] == v || rule.Values[static_cast<std::size_t>(o)] == Values[nbCentre]) {
                    match = &rule;
                    break;
                }
            }
            if (match)
                tile = set.FindTile(match->Values[rvGraphics] != 0xFFFF ? match->Values[rvGraphics]
                                                                      : match->Values[rvAlt1]);
            else
                tile = set.FindTile(v);
        }
        preview[static_cast<std::size_t>(slot[n])] = tile;
    }
    return preview;
}

} // namespace kestrund
