#include "DemoSet.h"

#include "Pixel.h"
#include "TileGeometry.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kestrund {

namespace {

// ---- Colours and noise ---------------------------------------------------------------

struct TRgb {
    double R, G, B;
};

TRgb Mix(TRgb a, TRgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TRgb Scale(TRgb c, double f) { return {c.R * f, c.G * f, c.B * f}; }

// Keys of the overlay pictures; no drawn pixel ever takes their words.
constexpr TColor KeyTransparent = 0x00FF00FF;
constexpr TColor KeyShadow = 0x0000FF00;
constexpr std::uint16_t TransparentWord = 0x7C1F; // the keys as 5-5-5 words
constexpr std::uint16_t ShadowWord = 0x03E0;

std::uint16_t Word(TRgb c)
{
    auto channel = [](double v) { return static_cast<TColor>(std::clamp(v, 0.0, 255.0)); };
    std::uint16_t w = ColorToPixel(channel(c.R) | channel(c.G) << 8 | channel(c.B) << 16, cmRGB555);
    if (w == TransparentWord || w == ShadowWord)
        w ^= 1;
    return w;
}

std::uint32_t Hash(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double Random(int x, int y, int seed) { return (Hash(x, y, seed) & 0xFFFFFF) / double(0x1000000); }

// Smooth value noise in 0..1, and a sum of octaves of it.
double Noise(double x, double y, int seed)
{
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = Random(x0, y0, seed) + (Random(x0 + 1, y0, seed) - Random(x0, y0, seed)) * sx;
    const double bottom = Random(x0, y0 + 1, seed) + (Random(x0 + 1, y0 + 1, seed) - Random(x0, y0 + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

double Fractal(double x, double y, int seed, int octaves = 4)
{
    double sum = 0, weight = 0.5, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * Noise(x, y, seed + 31 * o);
        total += weight;
        x *= 2.03;
        y *= 2.03;
        weight *= 0.5;
    }
    return sum / total;
}

// Picture coordinates to ground coordinates: the diamond is a square seen at an angle,
// so textures are stretched twice as wide as high.
double U(double x, double y) { return x / 2 + y; }
double V(double x, double y) { return y - x / 2; }

// ---- Terrain ---------------------------------------------------------------------------

using TShader = std::function<TRgb(int x, int y)>;

TRgb Grass(int x, int y, int seed)
{
    const double u = U(x, y), v = V(x, y);
    const double n = Fractal(u / 9, v / 9, seed);
    TRgb c = Mix({52, 112, 38}, {104, 160, 58}, n * 1.4 - 0.2);
    c = Mix(c, {40, 88, 30}, (Fractal(u / 3, v / 3, seed + 5, 2) - 0.55) * 2.5);
    if (Random(x, y, seed + 9) > 0.985)
        c = {228, 212, 82}; // flowers
    return c;
}

TRgb Plains(int x, int y, int seed)
{
    const double u = U(x, y), v = V(x, y);
    const double n = Fractal(u / 10, v / 10, seed);
    TRgb c = Mix({150, 138, 64}, {196, 180, 96}, n * 1.3 - 0.1);
    const double stalks = std::sin(u * 1.7 + Fractal(u / 4, v / 4, seed + 2) * 6);
    return Scale(c, 0.92 + 0.08 * stalks);
}

TRgb Desert(int x, int y, int seed)
{
    const double u = U(x, y), v = V(x, y);
    const double dunes = std::sin((u * 0.35 + v * 0.6) + Fractal(u / 12, v / 12, seed) * 7);
    TRgb c = Mix({206, 168, 104}, {238, 208, 140}, 0.5 + 0.45 * dunes);
    return Mix(c, {180, 140, 88}, Random(x, y, seed + 3) > 0.97 ? 0.6 : 0.0);
}

TRgb Tundra(int x, int y, int seed)
{
    const double u = U(x, y), v = V(x, y);
    const double n = Fractal(u / 8, v / 8, seed);
    TRgb c = Mix({118, 128, 104}, {168, 172, 150}, n * 1.5 - 0.2);
    return Mix(c, {236, 240, 246}, (Fractal(u / 6, v / 6, seed + 7) - 0.52) * 5);
}

TRgb Water(int x, int y, int seed)
{
    const double u = U(x, y), v = V(x, y);
    const double n = Fractal(u / 11, v / 11, seed);
    TRgb c = Mix({30, 72, 148}, {52, 112, 190}, n * 1.4 - 0.2);
    const double wave = std::sin(u * 0.9 + v * 0.25 + Fractal(u / 5, v / 5, seed + 4) * 5);
    return Mix(c, {150, 190, 230}, (wave - 0.86) * 5);
}

TRgb HillGround(int x, int y, int seed) { return Mix(Grass(x, y, seed), {120, 110, 70}, 0.35); }
TRgb ForestGround(int x, int y, int seed) { return Scale(Grass(x, y, seed), 0.72); }

// ---- Overlay pictures ---------------------------------------------------------------

bool OnGround(int x, int y)
{
    if (y < GroundTop || y >= TileHeight)
        return false;
    const TDiamondRow row = DiamondRow(y);
    return x >= row.Left && x < row.Left + row.Count;
}


// An overlay picture being drawn: transparent until painted, with shadow marks.
class TCanvas {
public:
    TCanvas(int width, int height) : Picture(width, height, TransparentWord) {}
    void Paint(int x, int y, TRgb c)
    {
        if (Picture.Contains(x, y))
            Picture(x, y) = Word(c);
    }
    // Shadow falls on the ground only, where nothing is drawn yet.
    void Shade(int x, int y)
    {
        if (OnGround(x, y) && Picture(x, y) == TransparentWord)
            Picture(x, y) = ShadowWord;
    }
    void Into(TTileOverlay& overlay) const { overlay.FromBuffer(Picture, KeyTransparent, KeyShadow); }
    TPictureBuffer Picture;
};

// A round lump (hill, tree crown, mound) lit from the upper left, its shadow cast to
// the lower right.
void Lump(TCanvas& canvas, double cx, double cy, double rx, double ry, TRgb colour, int seed, double shadow = 0.6)
{
    for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy + 1.4 * ry) + 1; ++y)
        for (int x = static_cast<int>(cx - rx) - 1; x <= static_cast<int>(cx + rx + 2 + rx * shadow); ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            const double d = dx * dx + dy * dy;
            if (d <= 1) {
                const double light = 0.75 + 0.45 * (-dx * 0.6 - dy * 0.8) * (1 - d * 0.3);
                const double grain = 0.9 + 0.2 * Fractal(x / 3.0, y / 3.0, seed, 2);
                canvas.Paint(x, y, Scale(colour, light * grain));
            } else {
                const double sx = (x - cx - rx * 0.5 * shadow) / (rx * (1 + shadow * 0.5));
                const double sy = (y - cy - ry * 0.3) / ry;
                if (sy > 0 && sx * sx + sy * sy <= 1)
                    canvas.Shade(x, y);
            }
        }
}

// A band along a quadratic curve from a through b to c, its own shadow on the lower side.
void Band(TCanvas& canvas, double ax, double ay, double bx, double by, double cx, double cy, double width,
          const std::function<TRgb(int, int, double)>& colour, bool shadow)
{
    for (int step = 0; step <= 400; ++step) {
        const double t = step / 400.0;
        const double x = (1 - t) * (1 - t) * ax + 2 * (1 - t) * t * bx + t * t * cx;
        const double y = (1 - t) * (1 - t) * ay + 2 * (1 - t) * t * by + t * t * cy;
        for (int oy = -static_cast<int>(width); oy <= static_cast<int>(width) + 1; ++oy)
            for (int ox = -static_cast<int>(width) * 2; ox <= static_cast<int>(width) * 2; ++ox) {
                const double across = std::hypot(ox / 2.0, oy) / width; // flattened, as the ground is
                const int px = static_cast<int>(std::lround(x)) + ox, py = static_cast<int>(std::lround(y)) + oy;
                if (!OnGround(px, py))
                    continue;
                if (across <= 1)
                    canvas.Paint(px, py, colour(px, py, across));
                else if (shadow && across <= 1.45 && oy > 0)
                    canvas.Shade(px, py);
            }
    }
}

// Points of the diamond: corners and the middles of its edges.
struct TPoint {
    double X, Y;
};
constexpr TPoint Centre{46.5, 47.5};
constexpr TPoint EdgeMiddle[9] = {{1, 47.5},   {23.5, 35.5}, {46.5, 25},   {23.5, 59.5}, Centre,
                                  {70, 35.5},  {46.5, 70},   {70, 59.5},   {92, 47.5}}; // rule order

// ---- Elements ---------------------------------------------------------------------

// Tiles carry no border edges: the pixels under an edge would hold the edge's marker
// values instead of ground, and the single view shows a tile without its borders.
std::unique_ptr<TTile> MakeTile(std::uint16_t id, std::uint8_t index, const std::function<TRgb(int, int)>& ground)
{
    auto tile = std::make_unique<TTile>();
    tile->TileID = id;
    tile->TileIndex = index;
    for (int y = GroundTop; y < TileHeight; ++y) {
        const TDiamondRow row = DiamondRow(y);
        for (int k = 0; k < row.Count; ++k) {
            const int x = row.Left + k;
            // The rim is a touch darker, so neighbouring tiles read as separate cells.
            const bool rim = k == 0 || k == row.Count - 1 || y == GroundTop || y == TileHeight - 1;
            tile->Pixels[static_cast<std::size_t>(row.Start + k)] = Word(Scale(ground(x, y), rim ? 0.9 : 1.0));
        }
    }
    return tile;
}

// What a tile's overlay covers of the ground becomes ground: a tile's picture holds one
// pixel per place, so only what rises above the diamond can stay an overlay and come back
// the same from a script. Shadow on the ground darkens it.
void Settle(TTile& tile, TCanvas& canvas)
{
    for (int y = GroundTop; y < TileHeight; ++y) {
        const TDiamondRow row = DiamondRow(y);
        for (int k = 0; k < row.Count; ++k) {
            std::uint16_t& ground = tile.Pixels[static_cast<std::size_t>(row.Start + k)];
            std::uint16_t& over = canvas.Picture(row.Left + k, y);
            if (over == ShadowWord)
                ground = MultiplyPixel(ground, ColorToPixel(0x00707070, cmRGB555));
            else if (over != TransparentWord)
                ground = over;
            over = TransparentWord;
        }
    }
    tile.Overlay = std::make_unique<TTileOverlay>();
    canvas.Into(*tile.Overlay);
}

void AddHills(TTile& tile)
{
    TCanvas canvas(TileWidth, TileHeight);
    const TRgb earth{112, 128, 64};
    Lump(canvas, 28, 44, 20, 10, earth, 51);
    Lump(canvas, 60, 38, 24, 14, Mix(earth, {130, 112, 76}, 0.4), 52);
    Lump(canvas, 46, 56, 17, 8, Mix(earth, {90, 130, 60}, 0.5), 53);
    Settle(tile, canvas);
}

void AddForest(TTile& tile)
{
    TCanvas canvas(TileWidth, TileHeight);
    // Back to front, so nearer trees cover farther ones.
    for (int y = 26; y < 70; y += 5)
        for (int x = 8; x < 90; x += 9) {
            const double jx = x + (Random(x, y, 61) - 0.5) * 6, jy = y + (Random(x, y, 62) - 0.5) * 3;
            if (!OnGround(static_cast<int>(jx), static_cast<int>(jy) + 2))
                continue;
            for (int t = 0; t < 4; ++t)
                canvas.Paint(static_cast<int>(jx), static_cast<int>(jy) - t, {82, 56, 30}); // trunk
            Lump(canvas, jx, jy - 7, 4.5, 6, Mix({30, 82, 34}, {52, 110, 44}, Random(x, y, 63)), 64, 0.8);
        }
    Settle(tile, canvas);
}

std::unique_ptr<TTileBorder> MakeBorder(std::uint16_t inside, std::uint16_t outside, TRgb from, TRgb to, int seed)
{
    auto border = std::make_unique<TTileBorder>();
    border->Inside = inside;
    border->Outside = outside;
    for (int edge = 0; edge < 4; ++edge) {
        const auto& mask = BorderMask(edge);
        for (std::size_t i = 0; i < mask.size(); ++i) {
            const int x = mask[i].X, y = mask[i].Y;
            const double n = Fractal(U(x, y) / 4, V(x, y) / 4, seed + edge, 3);
            const double speck = Random(x, y, seed + 10 + edge);
            border->Edges[static_cast<std::size_t>(edge)].Pixels[i] =
                Word(Mix(from, to, n * 1.6 - 0.3 + (speck - 0.5) * 0.4));
        }
    }
    return border;
}

std::unique_ptr<TRiver> MakeRiver(std::uint16_t id, int from, int to, int seed)
{
    auto river = std::make_unique<TRiver>();
    river->ImprovementID = id;
    river->Directions[static_cast<std::size_t>(from)] = 1;
    river->Directions[static_cast<std::size_t>(to)] = 1;
    river->Directions[nbCentre] = 1; // a river on land
    TCanvas canvas(TileWidth, TileHeight);
    const TPoint a = EdgeMiddle[from], c = EdgeMiddle[to];
    const TPoint bend{(a.X + c.X) / 2 + 8, (a.Y + c.Y) / 2 + 3};
    Band(canvas, a.X, a.Y, bend.X, bend.Y, c.X, c.Y, 3.2,
         [&](int x, int y, double across) {
             const TRgb deep = Mix({34, 86, 168}, {64, 126, 204}, Fractal(x / 4.0, y / 4.0, seed, 2));
             return Mix(deep, {176, 206, 232}, (across - 0.7) * 3); // light at the banks
         },
         true);
    canvas.Into(*river);
    return river;
}

std::unique_ptr<TTileImprovement> MakeImprovement(std::uint16_t id, int width,
                                                  const std::function<void(TCanvas&)>& draw)
{
    auto improvement = std::make_unique<TTileImprovement>();
    improvement->ImprovementID = id;
    TCanvas canvas(width, TileHeight);
    draw(canvas);
    canvas.Into(*improvement);
    return improvement;
}

void DrawRoad(TCanvas& canvas)
{
    const TPoint a = EdgeMiddle[nbSW], c = EdgeMiddle[nbNE];
    Band(canvas, a.X, a.Y, Centre.X - 4, Centre.Y + 2, c.X, c.Y, 2.6,
         [](int x, int y, double across) {
             return Scale(Mix({150, 116, 74}, {118, 88, 54}, across), 0.9 + 0.2 * Random(x, y, 71));
         },
         true);
}

void DrawFarm(TCanvas& canvas)
{
    // Furrowed fields in two crops, then a house with a red roof.
    for (int y = 34; y < 66; ++y)
        for (int x = 16; x < 78; ++x) {
            if (!OnGround(x, y) || std::abs(V(x, y) - 24) > 15 || std::abs(U(x, y) - 71) > 19)
                continue;
            const bool wheat = U(x, y) > 71;
            const double furrow = std::sin((wheat ? V(x, y) : U(x, y)) * 1.6);
            const TRgb crop = wheat ? TRgb{214, 184, 84} : TRgb{96, 150, 56};
            canvas.Paint(x, y, Scale(crop, 0.85 + 0.15 * furrow));
        }
    for (int y = 30; y < 44; ++y)
        for (int x = 54; x < 72; ++x) {
            const int roofTop = 30 + std::abs(x - 63) / 2;
            if (y < roofTop)
                continue;
            const TRgb c = y < 37 ? Scale(TRgb{178, 52, 40}, x < 63 ? 1.1 : 0.8) : TRgb{220, 206, 176};
            canvas.Paint(x, y, c);
        }
    for (int y = 37; y < 46; ++y)
        for (int x = 72; x < 78; ++x)
            canvas.Shade(x - (y - 37) / 3 + 1, y);
    for (int y = 40; y < 44; ++y)
        canvas.Paint(60, y, {70, 44, 30}); // door
}

void DrawMine(TCanvas& canvas)
{
    Lump(canvas, 46, 46, 19, 13, {126, 118, 108}, 81);
    for (int y = 46; y < 56; ++y) // the shaft
        for (int x = 41; x < 52; ++x)
            if (std::hypot((x - 46.5) / 5.5, (y - 56.0) / 10.0) <= 1)
                canvas.Paint(x, y, {28, 24, 22});
    for (int x = 40; x < 54; ++x) // the beam over it
        canvas.Paint(x, 46, {110, 78, 42});
    // A puff of smoke above, apart from the mound: rows without a line between them.
    for (int y = 4; y < 14; ++y)
        for (int x = 50; x < 66; ++x)
            if (std::hypot((x - 58.0) / 7.5, (y - 9.0) / 4.5) <= 1)
                canvas.Paint(x, y, Mix({200, 200, 204}, {150, 150, 156}, Fractal(x / 3.0, y / 3.0, 82, 2)));
}

void DrawFort(TCanvas& canvas)
{
    const TRgb stone{168, 160, 146};
    // Walls along the diamond, a little inside it, then towers at the corners and a keep
    // whose banner reaches past the tile to the right.
    for (int y = 30; y < 68; ++y)
        for (int x = 6; x < 90; ++x) {
            const double u = U(x, y), v = V(x, y);
            const bool wall = (std::abs(u - 52) < 23 && std::abs(v - 24) < 23) &&
                              (std::abs(u - 52) > 20 || std::abs(v - 24) > 20);
            if (wall) {
                for (int h = 0; h < 7; ++h)
                    canvas.Paint(x, y - h, Scale(stone, h == 6 && x % 3 == 0 ? 1.15 : 0.8 + 0.05 * h));
                canvas.Shade(x + 3, y + 1);
            }
        }
    for (const TPoint& t : {TPoint{47, 28}, TPoint{12, 46}, TPoint{82, 46}, TPoint{47, 66}})
        for (int y = static_cast<int>(t.Y) - 16; y <= static_cast<int>(t.Y); ++y)
            for (int x = static_cast<int>(t.X) - 4; x <= static_cast<int>(t.X) + 4; ++x) {
                const bool battlement = y < t.Y - 14 && (x % 2 == 0);
                if (!battlement)
                    canvas.Paint(x, y, Scale(stone, x < t.X ? 1.05 : 0.8));
                canvas.Shade(x + 5, y + 3);
            }
    for (int y = 8; y < 40; ++y) // the flagpole on the keep
        canvas.Paint(88, y, {60, 50, 40});
    for (int y = 8; y < 18; ++y)
        for (int x = 89; x < 89 + 24 - (y - 8); ++x)
            canvas.Paint(x, y, Mix({190, 30, 40}, {230, 60, 60}, (x - 89) / 24.0));
}

// The terrains from the coast up to the cold highlands. A tile's rule has the terrain
// before it on its three northern sides, its own on the west and east and the next one
// on the southern sides, so the 3x3 view shows a slope of bands. A neighbour is looked
// up as the first rule whose centre is the neighbour's value or whose opposite side holds
// this rule's centre; the rules are listed so that the first such rule is always the
// neighbour's own: the coast's rule, whose northern sides are its own, comes last.
struct TTerrain {
    TDemoTerrain Demo;
    std::uint8_t TileIndex;
    std::function<TRgb(int, int)> Ground;
};

const std::vector<TTerrain>& Chain()
{
    static const std::vector<TTerrain> chain = {
        {{"Water", 1, 0x0064}, 5, [](int x, int y) { return Water(x, y, 7); }},
        {{"Desert", 2, 0x0031}, 2, [](int x, int y) { return Desert(x, y, 4); }},
        {{"Plains", 3, 0x0020}, 1, [](int x, int y) { return Plains(x, y, 3); }},
        {{"Grassland", 4, 0x0010}, 0, [](int x, int y) { return Grass(x, y, 1); }},
        {{"Forest", 5, 0x0075}, 6, [](int x, int y) { return ForestGround(x, y, 8); }},
        {{"Hills", 6, 0x0053}, 4, [](int x, int y) { return HillGround(x, y, 6); }},
        {{"Tundra", 7, 0x0042}, 3, [](int x, int y) { return Tundra(x, y, 5); }},
    };
    return chain;
}
constexpr std::uint16_t GrassVariantID = 0x0018;

} // namespace

const TDemoTerrain* DemoTerrains(std::size_t& count)
{
    static const std::vector<TDemoTerrain> terrains = [] {
        std::vector<TDemoTerrain> list;
        for (const TTerrain& t : Chain())
            list.push_back(t.Demo);
        return list;
    }();
    count = terrains.size();
    return terrains.data();
}

std::unique_ptr<TTileFile> MakeDemoSet()
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->BorderHeader = {0, 704, 0};

    const auto& chain = Chain();
    for (std::size_t n = 1; n <= chain.size(); ++n) {
        const std::size_t i = n % chain.size(); // the coast last
        const std::uint16_t before = chain[i == 0 ? 0 : i - 1].Demo.Code;
        const std::uint16_t after = chain[std::min(i + 1, chain.size() - 1)].Demo.Code;
        auto rule = std::make_unique<TTileRule>(set.get());
        const std::uint16_t own = chain[i].Demo.Code;
        rule->Values = {own, before, before, after, own, before, after, after, own,
                        chain[i].Demo.TileID, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
        if (chain[i].Demo.TileID == 0x0010)
            rule->Values[rvAlt1] = GrassVariantID;
        set->AddTileRule(std::move(rule));
    }

    set->AddBorder(MakeBorder(0x0010, 0x0031, {96, 150, 56}, {228, 196, 128}, 11));  // grass to desert
    set->AddBorder(MakeBorder(0x0010, 0x0064, {214, 200, 150}, {236, 244, 250}, 12)); // grass to water: shore
    set->AddBorder(MakeBorder(0x0020, 0x0042, {176, 164, 90}, {232, 236, 242}, 13));  // plains to tundra: frost
    set->AddBorder(MakeBorder(0x0031, 0x0064, {236, 212, 150}, {120, 170, 214}, 14)); // desert to water: beach

    // Grassland first, as a new set's first tile would be; then its variant and the rest.
    for (const std::size_t i : {3, 2, 1, 0, 4, 5, 6}) {
        const TTerrain& t = chain[i];
        auto tile = MakeTile(t.Demo.TileID, t.TileIndex, t.Ground);
        if (t.Demo.TileID == 0x0053)
            AddHills(*tile);
        if (t.Demo.TileID == 0x0075)
            AddForest(*tile);
        set->AddTile(std::move(tile));
        if (t.Demo.TileID == 0x0010)
            set->AddTile(MakeTile(GrassVariantID, t.TileIndex, [](int x, int y) { return Grass(x, y, 2); }));
    }

    set->AddRiver(MakeRiver(0x0200, nbN, nbS, 21));
    set->AddRiver(MakeRiver(0x0201, nbNW, nbE, 22));

    set->AddImprovement(MakeImprovement(0x0300, TileWidth, DrawRoad));
    set->AddImprovement(MakeImprovement(0x0310, TileWidth, DrawFarm));
    set->AddImprovement(MakeImprovement(0x0320, TileWidth, DrawMine));
    set->AddImprovement(MakeImprovement(0x0330, 116, DrawFort)); // its banner reaches past the tile

    // A meadow and a coast: each step moves by its direction, then places its tile.
    struct TStep {
        int Dir;
        std::uint16_t TileID;
    };
    const std::vector<std::vector<TStep>> layouts = {
        {{0, 0x0010}, {3, GrassVariantID}, {3, 0x0010}, {4, 0x0020}, {1, 0x0075}, {1, 0x0053}},
        {{0, 0x0031}, {4, 0x0031}, {3, 0x0064}, {2, 0x0064}, {2, 0x0064}, {1, 0x0031}},
    };
    for (const auto& layout : layouts) {
        auto rule = std::make_unique<TVariationRule>();
        rule->SetStepCount(static_cast<std::uint16_t>(layout.size()));
        for (std::size_t i = 0; i < layout.size(); ++i) {
            rule->SetStepDir(i, layout[i].Dir);
            rule->SetStepTileID(i, layout[i].TileID);
            const TTile* tile = set->FindTile(layout[i].TileID);
            rule->SetStepTileIndex(i, tile ? tile->TileIndex : 0);
        }
        set->AddVariationRule(std::move(rule));
    }
    return set;
}

} // namespace kestrund
