// What one line of a picture list asks for, and the painters that draw it: a table from the
// kind word to its painter; a line without a kind is drawn flat in its colours.
#pragma once
#include <string>
#include <vector>

#include "image.h"

namespace zx::resgen {

struct Picture {
  std::string file;
  std::vector<Size> sizes;
  int states = 1;
  // Flat pictures: one colour per state. Drawn pictures: the ground under them, one for all
  // states or one per state (none: white for bitmaps, clear for the others).
  std::vector<Rgb> colours;
  std::string kind;                   // empty: flat
  std::vector<std::string> variants;  // the kind's words, one per state or one for all
  std::string text;
  int hotX = 0;
  int hotY = 0;
};

// Whether `kind` names a painter that takes `variant` (an empty one when none was given).
bool Accepts(const std::string& kind, const std::string& variant);
// The picture at one of its sizes, its states side by side.
Image Draw(const Picture& p, Size size);

}  // namespace zx::resgen
