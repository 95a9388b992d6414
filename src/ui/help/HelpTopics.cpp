#include "HelpTopics.h"

#include <algorithm>
#include <array>

namespace kestrund {

namespace {

constexpr const char* kMain = "mainwindow.html";
constexpr const char* kView = "tileview.html";
constexpr const char* kProp = "property.html";
constexpr const char* kRule = "variationrule.html";
constexpr const char* kOpts = "options.html";
constexpr const char* kDir = "selectdir.html";
constexpr const char* kLog = "logwindow.html";

constexpr THelpTopic kTopics[] = {
    {100, kMain, "top", "The main window shows one element of each kind of the open tile set. Pick the elements "
                        "by number on the left; the view on the right shows them together."},
    {101, kMain, "tiles", "Shows or hides the tiles. Hidden tiles are left out of the view."},
    {102, kMain, "tiles", "The number of the tile shown, from 0 to the number of tiles less one."},
    {103, kMain, "borders", "Shows or hides the tile borders. The buttons below pick which edges are drawn."},
    {104, kMain, "borders", "The number of the border shown, from 0 to the number of borders less one."},
    {105, kView, "bordertoolbar", "Picks the edges of the border that the view draws: each button switches "
                                  "one edge on or off."},
    {106, kMain, "rivers", "Shows or hides the rivers."},
    {107, kMain, "rivers", "The number of the river shown, from 0 to the number of rivers less one."},
    {108, kMain, "improvements", "Shows or hides the tile improvements (roads, farms, mines and the like)."},
    {109, kMain, "improvements", "The number of the tile improvement shown."},
    {110, kMain, "rules", "Shows the tile rules: the view then draws the rule's tiles around the centre tile, "
                          "and the diagram lists the rule's numbers."},
    {111, kMain, "rules", "The number of the tile rule shown."},
    {112, kMain, "variation", "The number of the variation rule shown."},
    {113, kView, "top", "The tile view: the chosen elements drawn together, enlarged by the zoom factor. "
                        "Its colours, zoom and arrangement are set in the Colors, Zoom and View menus."},
    {115, kMain, "variation", "Shows the variation rule instead of the single tile: its tiles are drawn as the "
                              "game arranges them."},
    {120, "browser.html", "top", "Every element of one kind as small pictures: a click shows the element in the "
                                 "view, typing an ID filters, Ctrl+wheel or Ctrl++ and Ctrl+- size the pictures."},
    {300, "importtga.html", "top", "Choose the Targa picture for an element and the colours that mean transparent "
                                   "and shadow in it."},
    {500, kOpts, "top", "The program's preferences: folders, script log level, colours and the tile file "
                        "registration."},
    {501, kOpts, "directories", "When checked, the folders below are kept from one run to the next."},
    {502, kOpts, "directories", "The folder in which tile files are opened and saved."},
    {503, kOpts, "directories", "The folder in which scripts are imported and exported."},
    {504, kOpts, "directories", "The folder for saved images, and for every element picture when Diverse Image "
                                "Directories is off."},
    {505, kOpts, "directories", "When checked, each kind of element picture has a folder of its own."},
    {506, kOpts, "directories", "The folder for tile pictures."},
    {507, kOpts, "directories", "The folder for border pictures."},
    {508, kOpts, "directories", "The folder for river pictures."},
    {509, kOpts, "directories", "The folder for tile improvement pictures."},
    {510, kOpts, "directories", "When checked, the file dialogs always start in the folders set here, and the "
                                "folders you pick in them are not remembered."},
    {511, kOpts, "preferences", "How much a script import writes into its log file. The more detail, the slower "
                                "the import."},
    {512, kOpts, "preferences", "When checked, saving asks before a file is overwritten."},
    {513, kOpts, "buttons", "Keeps the options shown and closes the dialog."},
    {514, kOpts, "buttons", "Closes the dialog and leaves the options as they were."},
    {515, kOpts, "buttons", "Shows this help."},
    {516, kOpts, "preferences", "The margin in pixels around the elements in the view and in saved images."},
    {517, kOpts, "register", "Makes Kestrund the program that opens tile files, so that a double click on a "
                             "tile file opens it here."},
    {518, kOpts, "register", "Removes the tile file registration that Register made."},
    {519, kOpts, "reset", "Clears the settings file at once: every window starts again with its default "
                          "values."},
    {520, kOpts, "preferences", "The colour mode a set starts in: 555, 565, or the mode it had when the program "
                                "was last closed."},
    {521, kOpts, "colors", "When checked, the colours below are kept from one run to the next."},
    {522, kOpts, "colors", "When checked, a picture load does not change the import colours."},
    {523, kOpts, "colors", "The background colour of the main window's view."},
    {524, kOpts, "colors", "The shadow colour of the main window's view."},
    {525, kOpts, "colors", "The colour that means transparent in imported pictures."},
    {526, kOpts, "colors", "The colour that means shadow in imported pictures."},
    {527, kOpts, "colors", "The background of the picture preview in the import dialog and the property "
                           "editor."},
    {528, kOpts, "colors", "Sets the colours on this page back to the program's defaults."},
    {600, kDir, "top", "Pick a folder: choose the drive or place below, then the folder in the list."},
    {601, kDir, "top", "The folders. A click selects a folder, a double click opens it."},
    {602, kDir, "top", "The drive or place whose folders the list shows."},
    {603, kDir, "top", "Takes the selected folder."},
    {604, kDir, "top", "Closes the dialog without a folder."},
    {700, kLog, "top", "The log of the last script import: every element it could not read, and why."},
    {701, kLog, "top", "Keeps the log window above the other windows (Ctrl+T)."},
    {702, kLog, "top", "Wraps long lines at the window's edge (Ctrl+W)."},
    {703, kLog, "text", "The import log. Each line names the element and what was wrong with it."},
    {704, kLog, "top", "Closes the log window. View, Script Import Log opens it again."},
    {705, kLog, "top", "Shows this help."},
    {1011, kMain, "tiles", "The number of tiles in the set."},
    {1012, kMain, "tiles", "The tile's ID, the number by which tile rules and variation rules name it."},
    {1013, kMain, "tiles", "The tile's index in its tile set."},
    {1014, kMain, "tiles", "The tile's corner flags: the corners whose neighbours it blends into."},
    {1021, kMain, "borders", "The number of borders in the set."},
    {1022, kMain, "borders", "The inside terrain of the border."},
    {1023, kMain, "borders", "The outside terrain of the border."},
    {1031, kMain, "rivers", "The number of rivers in the set."},
    {1032, kMain, "rivers", "The river's ID."},
    {1041, kMain, "improvements", "The number of tile improvements in the set."},
    {1042, kMain, "improvements", "The tile improvement's ID."},
    {1051, kMain, "rules", "The number of tile rules in the set."},
    {1061, kMain, "variation", "The number of variation rules in the set."},
    {1062, kMain, "variation", "The tile set index of the rule's first tile."},
    {4000, kProp, "top", "The property editor: adds or edits one element of the tile set."},
    {4001, kProp, "position", "Where the element goes: the number of the element it replaces, or before which "
                              "it is inserted."},
    {4002, kProp, "position", "When checked, OK replaces the element at the position instead of adding one."},
    {4003, kProp, "hex", "Shows the numbers in hexadecimal."},
    {4004, kProp, "load", "Loads the element's picture from a Targa file."},
    {4005, kProp, "buttons", "Keeps the values shown and closes the dialog."},
    {4006, kProp, "buttons", "Closes the dialog and changes nothing."},
    {4007, kProp, "buttons", "Shows the help for the kind of element being edited."},
    {4008, kProp, "preview", "The element's picture. Ctrl with a left click picks the transparent colour, "
                             "with a right click the shadow colour."},
    {4009, kProp, "position", "When checked, the new element is added after the last one of its kind."},
    {4100, kProp, "tilerule", "A tile rule: the tile in the centre and the tiles the game may put around it."},
    {4101, kProp, "tilerule", "The graphics number of the rule: the tile it is for."},
    {4102, kProp, "tilerule", "The first alternative tile of the rule."},
    {4103, kProp, "tilerule", "The second alternative tile of the rule."},
    {4104, kProp, "tilerule", "The third alternative tile of the rule."},
    {4105, kProp, "tilerule", "The fourth alternative tile of the rule."},
    {4106, kProp, "tilerule", "The fifth alternative tile of the rule."},
    {4107, kProp, "tilerule", "The terrain to the north of the tile."},
    {4108, kProp, "tilerule", "The terrain to the north-west of the tile."},
    {4109, kProp, "tilerule", "The terrain to the north-east of the tile."},
    {4110, kProp, "tilerule", "The terrain to the west of the tile."},
    {4111, kProp, "tilerule", "The terrain of the tile itself."},
    {4112, kProp, "tilerule", "The terrain to the east of the tile."},
    {4113, kProp, "tilerule", "The terrain to the south-west of the tile."},
    {4114, kProp, "tilerule", "The terrain to the south-east of the tile."},
    {4115, kProp, "tilerule", "The terrain to the south of the tile."},
    {4200, kProp, "border", "A border: the edge drawn where two terrains meet."},
    {4201, kProp, "border", "The terrain inside the border."},
    {4202, kProp, "border", "The terrain outside the border."},
    {4208, kProp, "border", "Uses the north-west edge's picture for all four edges."},
    {4209, kProp, "border", "Uses the north-east edge's picture for all four edges."},
    {4213, kProp, "border", "Uses the south-west edge's picture for all four edges."},
    {4214, kProp, "border", "Uses the south-east edge's picture for all four edges."},
    {4250, kProp, "border", "All borders of the set. A click picks the position."},
    {4300, kProp, "tile", "A tile: the ground diamond with its picture."},
    {4301, kProp, "tile", "The tile's ID, by which rules name it."},
    {4302, kProp, "tile", "The tile's index in its tile set (0 to 255)."},
    {4308, kProp, "tile", "The tile blends into its north-west neighbour."},
    {4309, kProp, "tile", "The tile blends into its north-east neighbour."},
    {4313, kProp, "tile", "The tile blends into its south-west neighbour."},
    {4314, kProp, "tile", "The tile blends into its south-east neighbour."},
    {4350, kProp, "tile", "All tiles of the set. A click picks the position."},
    {4400, kProp, "river", "A river: its picture and the directions in which it flows on."},
    {4401, kProp, "river", "The river's ID."},
    {4407, kProp, "river", "The river flows on to the north (Ctrl+8)."},
    {4408, kProp, "river", "The river flows on to the north-west (Ctrl+7)."},
    {4409, kProp, "river", "The river flows on to the north-east (Ctrl+9)."},
    {4410, kProp, "river", "The river flows on to the west (Ctrl+4)."},
    {4412, kProp, "river", "The river flows on to the east (Ctrl+6)."},
    {4413, kProp, "river", "The river flows on to the south-west (Ctrl+1)."},
    {4414, kProp, "river", "The river flows on to the south-east (Ctrl+3)."},
    {4415, kProp, "river", "The river flows on to the south (Ctrl+2)."},
    {4425, kProp, "river", "Whether the river runs over land or along a beach."},
    {4450, kProp, "river", "All rivers of the set. A click picks the position."},
    {4500, kProp, "improvement", "A tile improvement: a picture drawn over the tile, such as a road or a farm."},
    {4501, kProp, "improvement", "The tile improvement's ID."},
    {4550, kProp, "improvement", "All tile improvements of the set. A click picks the position."},
    {4600, kRule, "top", "A variation rule: a path of tiles that the game lays out together."},
    {4601, kRule, "text", "The rule as text, one step per line: tile index, direction, tile ID."},
    {4602, kRule, "rows", "The tile set index of the step; \"Non\" ends the rule here."},
    {4603, kRule, "rows", "The direction in which the path goes on from this step."},
    {4604, kRule, "rows", "The tile of the step. A click on a tile in the strip below puts it here."},
    {4605, kRule, "text", "Edits the rule as text instead of in the rows, for rules longer than five steps."},
    {4650, kRule, "strip", "All tiles of the set. A click puts the tile into the row that last had the focus."},
};

constexpr THelpPage kPages[] = {
    {"index.html", "Contents"},
    {kMain, "The main window"},
    {kView, "The tile view and its colours"},
    {"editcommands.html", "Adding and editing elements"},
    {kProp, "The property editor"},
    {kRule, "Variation rules"},
    {"importtga.html", "Loading Targa pictures"},
    {"saveimage.html", "Saving images"},
    {"scripts.html", "Scripts"},
    {kLog, "The script import log"},
    {kOpts, "Options"},
    {kDir, "Selecting a folder"},
    {"commandline.html", "The command-line tool"},
};

static_assert(std::is_sorted(std::begin(kTopics), std::end(kTopics),
                             [](const THelpTopic& a, const THelpTopic& b) { return a.Context < b.Context; }));

} // namespace

std::span<const THelpTopic> HelpTopics()
{
    return kTopics;
}

const THelpTopic* FindHelpTopic(int context)
{
    const auto* it = std::lower_bound(std::begin(kTopics), std::end(kTopics), context,
                                      [](const THelpTopic& t, int c) { return t.Context < c; });
    return it != std::end(kTopics) && it->Context == context ? it : nullptr;
}

std::span<const THelpPage> HelpPages()
{
    return kPages;
}

} // namespace kestrund
