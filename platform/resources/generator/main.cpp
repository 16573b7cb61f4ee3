// zxresgen, the picture generator: draws the programs' pictures at the sizes the system
// places them.
//   zxresgen LIST -o FOLDER [--stamp FILE]
// Each line of the list names one file (".bmp", ".png", ".ico" or ".cur", a plain name):
//   name.bmp 100x22 states 4 kind button:accent   a strip of 4 states drawn by a painter
//   name.bmp 8x8 kind frame:tl                    one piece of the window frame
//   name.bmp 200x30 kind logo:light text "Tunevo" a painter that writes a text
//   name.png 48x48 colour #3366CC                 flat, in a fixed colour (one per state)
//   name.ico 16x16 32x32 kind sign:app            one image per size
//   name.cur 32x32 hotspot 5,0 kind hand
// `kind NAME[:WORD,...]` picks the painter and its word, one for all states or one per state
// (painters.cpp); with a kind, `colour` is the ground under the picture. Lines without a kind
// are drawn flat; colours not given come from the file name, so every image and every state
// looks different. '#' starts a comment line. Files are written whole; on a mistake nothing
// is written.
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "painters.h"
#include "writers.h"

namespace {

using zx::resgen::Picture;
using zx::resgen::Rgb;
using zx::resgen::Size;

struct ListError {
  std::string message;
};

std::string Extension(const std::string& file) {
  const std::size_t dot = file.find_last_of('.');
  return dot == std::string::npos ? "" : file.substr(dot + 1);
}

bool ParseSize(const std::string& text, Size& size) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || x != 'x') return false;
  size = {w, h};
  return w >= 1 && h >= 1 && w <= 4096 && h <= 4096;
}

Rgb ParseColour(const std::string& text) {
  try {
    return zx::resgen::ParseRgb(text);
  } catch (const std::invalid_argument& e) {
    throw ListError{e.what()};
  }
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
    if (!zx::resgen::Accepts(p.kind, v)) throw ListError{p.file + ": kind " + word + " is not a painter with its words"};
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

Picture ParseLine(const std::string& line) {
  std::istringstream words(line);
  Picture p;
  words >> p.file;
  for (char c : p.file)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.')
      throw ListError{"a file name may hold letters, digits, '_', '-' and '.': " + p.file};
  const std::string kind = Extension(p.file);
  if (kind != "bmp" && kind != "png" && kind != "ico" && kind != "cur")
    throw ListError{p.file + ": the file must end in .bmp, .png, .ico or .cur"};
  std::string word;
  while (words >> word) {
    Size size{};
    if (ParseSize(word, size)) {
      p.sizes.push_back(size);
    } else if (word == "states") {
      if (!(words >> p.states) || p.states < 1 || p.states > 64)
        throw ListError{p.file + ": states is 1 to 64"};
    } else if (word == "colour") {
      std::string list;
      words >> list;
      for (const std::string& part : Split(list)) p.colours.push_back(ParseColour(part));
    } else if (word == "kind" && p.kind.empty()) {
      words >> word;
      ParseKind(word, p);
    } else if (word == "text") {
      if (!(words >> std::quoted(p.text))) throw ListError{p.file + ": text is a word or a \"quoted text\""};
    } else if (word == "hotspot") {
      std::string spot;
      words >> spot;
      if (std::sscanf(spot.c_str(), "%d,%d", &p.hotX, &p.hotY) != 2)
        throw ListError{p.file + ": a hot spot is written X,Y"};
    } else {
      throw ListError{p.file + ": unknown word " + word};
    }
  }
  if (p.sizes.empty()) throw ListError{p.file + ": no size given (WIDTHxHEIGHT)"};
  if (p.sizes.size() > 1 && kind != "ico") throw ListError{p.file + ": only icons take several sizes"};
  if (p.states > 1 && (kind == "ico" || kind == "cur"))
    throw ListError{p.file + ": icons and cursors have no states"};
  if (!p.colours.empty() && static_cast<int>(p.colours.size()) != p.states && (p.kind.empty() || p.colours.size() != 1))
    throw ListError{p.file + ": give one colour per state"};
  if (p.variants.size() > 1 && static_cast<int>(p.variants.size()) != p.states)
    throw ListError{p.file + ": give the kind one word, or one per state"};
  if (static_cast<long long>(p.sizes[0].width) * p.states > 32767)
    throw ListError{p.file + ": the strip is too wide"};
  if (p.colours.empty() && p.kind.empty())
    for (int i = 0; i < p.states; ++i) p.colours.push_back(DerivedColour(p.file, i));
  return p;
}

std::string Encode(const Picture& p) {
  const std::string kind = Extension(p.file);
  if (kind == "bmp") return zx::resgen::EncodeBmp(Draw(p, p.sizes[0]));
  if (kind == "png") return zx::resgen::EncodePng(Draw(p, p.sizes[0]));
  std::vector<zx::resgen::Image> images;
  for (const Size& size : p.sizes) images.push_back(Draw(p, size));
  return zx::resgen::EncodeIcon(images, kind == "cur", p.hotX, p.hotY);
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string list, folder, stamp;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg == "--stamp" && i + 1 < argc) {
      stamp = argv[++i];
    } else if (list.empty() && !arg.empty() && arg[0] != '-') {
      list = arg;
    } else {
      list.clear();
      break;
    }
  }
  if (list.empty() || folder.empty()) {
    std::cerr << "usage: zxresgen LIST -o FOLDER [--stamp FILE]\n";
    return 2;
  }
  std::ifstream in(list);
  if (!in) {
    std::cerr << list << ": cannot be read\n";
    return 1;
  }
  std::vector<std::pair<std::string, std::string>> files;
  std::string line;
  int number = 0;
  try {
    while (std::getline(in, line)) {
      ++number;
      const std::size_t first = line.find_first_not_of(" \t\r");
      if (first == std::string::npos || line[first] == '#') continue;
      const Picture p = ParseLine(line);
      files.emplace_back(folder + "/" + p.file, Encode(p));
    }
  } catch (const ListError& e) {
    std::cerr << list << ":" << number << ": " << e.message << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << list << ":" << number << ": " << e.what() << "\n";
    return 1;
  }
  for (const auto& [path, bytes] : files) {
    if (!WriteWhole(path, bytes)) {
      std::cerr << path << ": cannot be written\n";
      return 1;
    }
  }
  if (!stamp.empty() && !WriteWhole(stamp, std::to_string(files.size()) + " images\n")) {
    std::cerr << stamp << ": cannot be written\n";
    return 1;
  }
  return 0;
}
