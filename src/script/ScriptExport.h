#pragma once
// Writing a tile set as a script with one Targa picture per element picture.

#include "TileFile.h"

#include <string>

namespace kestrund {

// Writes every picture into graphicsDir (relative: beside the script; it must exist),
// then the script. A picture that holds the set's transparent or shadow colour as an
// ordinary pixel is written with colours it does not contain, named on its record
// line, so that importing the script gives back the same pixels. Elements whose
// pictures would share a name get names of their own; an overlay without lines gets a
// one-pixel transparent picture. Raises EScriptNameError, before any picture, when
// the folder would be the script itself.
void ExportScript(const TTileFile& set, const std::string& graphicsDir, const std::string& scriptFileName);

// The script's text alone, as ExportScript writes it (no pictures are written).
std::string ScriptText(const TTileFile& set);

} // namespace kestrund
