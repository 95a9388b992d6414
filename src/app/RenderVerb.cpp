// kestrund-cli render: the editor's view of a set, written as a picture.

#include "CliCommands.h"

#include "Errors.h"
#include "ImageFiles.h"
#include "TileView.h"

namespace kestrund::cli {

namespace {

// The element number an option selects, checked against the set.
std::size_t Element(const TCliArgs& args, std::string_view name, std::size_t count, const char* kind)
{
    const auto n = static_cast<std::size_t>(Number(args, name, 0, 0, 65535));
    if (args.Has(name) && n >= count)
        throw EKestrundError(std::string(name) + " " + std::to_string(n) + ": the set has " + std::to_string(count) +
                             " " + kind);
    return n;
}

} // namespace

int RunRender(const TCliArgs& args, std::ostream& out, std::ostream& err)
{
    args.ExpectPositionals({"IN.til", "OUT.tga|.bmp|.jpg"});
    const std::string target = args.Positionals()[1];
    if (ViewImageFormatOf(target) == TViewImageFormat::None)
        throw ECliUsageError("the picture must be .tga, .bmp or .jpg, not '" + target + "'");

    TViewState view;
    const std::string mode = args.Value("--view").value_or("single");
    if (mode == "3x3")
        view.Square = true;
    else if (mode == "variation")
        view.ShowVariationRule = true;
    else if (mode != "single")
        throw ECliUsageError("--view must be single, 3x3 or variation, not '" + mode + "'");
    view.BorderMask = static_cast<int>(Number(args, "--border-mask", 15, 0, 15));
    view.ImgBorderWidth = static_cast<int>(Number(args, "--border-width", 2, 0, 255));
    view.BgColor = static_cast<TColor>(Number(args, "--background", 0xC0C0C0, 0, 0xFFFFFF));
    view.ShadowColor = static_cast<TColor>(Number(args, "--shadow", 0x808080, 0, 0xFFFFFF));
    view.SetShadowColor = view.ShadowColor;

    TTileFile set;
    set.ColorMode = ReadingMode(args, args.Positionals()[0], err);
    LoadNamed(set, args.Positionals()[0], false);
    set.TransparentColor = view.BgColor;
    set.ShadowColor = view.ShadowColor;

    // Naming an element shows its kind; tiles show unless another kind was named alone.
    view.TileNum = Element(args, "--tile", set.TileCount(), "tiles");
    view.BorderNum = Element(args, "--border", set.BorderCount(), "borders");
    view.RiverNum = Element(args, "--river", set.RiverCount(), "rivers");
    view.ImprovementNum = Element(args, "--improvement", set.ImprovementCount(), "improvements");
    view.RuleNum = Element(args, "--rule", set.TileRuleCount(), "tile rules");
    view.VariationNum = Element(args, "--variation", set.VariationRuleCount(), "variation rules");
    view.ShowBorders = args.Has("--border") || args.Has("--border-mask");
    view.ShowRivers = args.Has("--river");
    view.ShowImprovements = args.Has("--improvement");
    view.ShowTileRules = args.Has("--rule");
    view.ShowTiles = args.Has("--tile") || !(view.ShowBorders || view.ShowRivers || view.ShowImprovements);

    const TTileRule* rule = ChooseCurrentRule(set, view, nullptr);
    SaveViewImage(set, view, rule, set.TransparentColor, set.ShadowColor, target);

    // The IDs of what was drawn, in the number form asked for (a rule has none: its number).
    const bool hex = args.Has("--hex");
    const TViewGeometry g = ViewGeometry(set, view);
    const TViewLabels labels = ViewLabels(set, view, hex);
    out << "Size: " << g.Width << ' ' << g.Height << '\n';
    if (view.ShowTiles && !view.ShowVariationRule)
        out << "Tile: " << labels.TileID << ' ' << labels.TileIndex << ' ' << labels.BorderEdges << '\n';
    if (view.ShowBorders && !view.ShowVariationRule)
        out << "Border: " << labels.Inside << ' ' << labels.Outside << '\n';
    if (view.ShowRivers && !view.ShowVariationRule)
        out << "River: " << labels.RiverID << '\n';
    if (view.ShowImprovements && !view.ShowVariationRule)
        out << "Improvement: " << labels.ImprovementID << '\n';
    if (view.ShowVariationRule)
        out << "VariationRule: " << labels.VariationTileIndex << '\n';
    if (rule && !view.ShowVariationRule) {
        const auto texts = RuleDiagramTexts(rule, hex);
        out << "Rule: " << set.IndexOfTileRule(rule);
        for (const std::string& t : texts)
            out << ' ' << t;
        out << '\n';
    }
    return ExitSuccess;
}

} // namespace kestrund::cli
