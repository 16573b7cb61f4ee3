// The lines of a picture list: a file name, its sizes and the words that say how it is drawn.
#include "picturelist.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <sstream>

namespace zx::resgen {

std::string Extension(const std::string& file) {
  const std::size_t dot = file.find_last_of('.');
  return dot == std::string::npos ? "" : file.substr(dot + 1);
}

namespace {

bool ParseSize(const std::string& text, Size& size) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || x != 'x') return false;
  size = {w, h};
  return w >= 1 && h >= 1 && w <= 4096 && h <= 4096;
}

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> parts;
  std::stringstream in(list);
  std::string part;
  while (std::getline(in, part, ',')) parts.push_back(part);
  return parts;
}

// kind NAME[:WORD,...]: the painter and its words, each one it takes.
void ParseKind(const std::string& word, Picture& p) {
  const std::size_t colon = word.find(':');
  p.kind = word.substr(0, colon);
  if (colon != std::string::npos) p.variants = Split(word.substr(colon + 1));
  const std::vector<std::string> given = p.variants.empty() ? std::vector<std::string>{""} : p.variants;
  for (const std::string& v : given)
    if (!Accepts(p.kind, v)) throw ListError(p.file + ": kind " + word + " is not a painter with its words");
}

// Distinct colours: a hue from the file name, each further state a golden-ratio turn on.
Rgb DerivedColour(const std::string& file, int state) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : file) hash = (hash ^ c) * 16777619u;
  double hue = (hash % 3600) / 3600.0 + state * 0.6180339887498949;
  hue -= std::floor(hue);
  const double s = 0.6, v = 0.85;
  const double h6 = hue * 6;
  const int sector = static_cast<int>(h6) % 6;
  const double f = h6 - std::floor(h6);
  const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double r = v, g = t, b = p;
  switch (sector) {
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    case 5: r = v; g = p; b = q; break;
    default: break;
  }
  auto byte = [](double c) { return static_cast<std::uint8_t>(std::lround(c * 255)); };
  return {byte(r), byte(g), byte(b)};
}

}  // namespace

Picture ParsePictureLine(const std::string& line) {
  std::istringstream words(line);
  Picture p;
  words >> p.file;
  for (char c : p.file)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.')
      throw ListError("a file name may hold letters, digits, '_', '-' and '.': " + p.file);
  const std::string kind = Extension(p.file);
  if (kind != "bmp" && kind != "png" && kind != "ico" && kind != "cur")
    throw ListError(p.file + ": the file must end in .bmp, .png, .ico or .cur");
  std::string word;
  while (words >> word) {
    Size size{};
    if (ParseSize(word, size)) {
      p.sizes.push_back(size);
    } else if (word == "states") {
      if (!(words >> p.states) || p.states < 1 || p.states > 64)
        throw ListError(p.file + ": states is 1 to 64");
    } else if (word == "colour") {
      std::string list;
      words >> list;
      for (const std::string& part : Split(list)) p.colours.push_back(ParseRgb(part));
    } else if (word == "kind" && p.kind.empty()) {
      words >> word;
      ParseKind(word, p);
    } else if (word == "text") {
      if (!(words >> std::quoted(p.text))) throw ListError(p.file + ": text is a word or a \"quoted text\"");
    } else if (word == "hotspot") {
      std::string spot;
      words >> spot;
      if (std::sscanf(spot.c_str(), "%d,%d", &p.hotX, &p.hotY) != 2)
        throw ListError(p.file + ": a hot spot is written X,Y");
    } else {
      throw ListError(p.file + ": unknown word " + word);
    }
  }
  if (p.sizes.empty()) throw ListError(p.file + ": no size given (WIDTHxHEIGHT)");
  if (p.hotX < 0 || p.hotY < 0 || p.hotX >= p.sizes[0].width || p.hotY >= p.sizes[0].height)
    throw ListError(p.file + ": the hot spot lies outside the picture");
  if (p.sizes.size() > 1 && kind != "ico") throw ListError(p.file + ": only icons take several sizes");
  if (p.states > 1 && (kind == "ico" || kind == "cur"))
    throw ListError(p.file + ": icons and cursors have no states");
  if (!p.colours.empty() && static_cast<int>(p.colours.size()) != p.states && (p.kind.empty() || p.colours.size() != 1))
    throw ListError(p.file + ": give one colour per state");
  if (p.variants.size() > 1 && static_cast<int>(p.variants.size()) != p.states)
    throw ListError(p.file + ": give the kind one word, or one per state");
  if (static_cast<long long>(p.sizes[0].width) * p.states > 32767)
    throw ListError(p.file + ": the strip is too wide");
  if (p.colours.empty() && p.kind.empty())
    for (int i = 0; i < p.states; ++i) p.colours.push_back(DerivedColour(p.file, i));
  return p;
}


}  // namespace zx::resgen
