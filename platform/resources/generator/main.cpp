// zxresgen, the placeholder-image generator: draws the images the project does not have,
// flat and in distinct colours, at the sizes the system places them.
//   zxresgen LIST -o FOLDER [--stamp FILE]
// Each line of the list names one file (".bmp", ".png", ".ico" or ".cur", a plain name):
//   name.bmp 100x22 states 4          a strip of 4 states, each 100 x 22, one colour each
//   name.png 48x48 colour #3366CC     a fixed colour (one per state when given)
//   name.ico 16x16 32x32              one image per size
//   name.cur 32x32 hotspot 5,0
// '#' starts a comment line. Colours not given come from the file name, so every image and
// every state looks different. Files are written whole; on a mistake nothing is written.
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "writers.h"

namespace {

using zx::resgen::Rgb;
using zx::resgen::Size;

struct Placeholder {
  std::string file;
  std::vector<Size> sizes;
  int states = 1;
  std::vector<Rgb> colours;
  int hotX = 0;
  int hotY = 0;
};

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
  unsigned value = 0;
  char extra = 0;
  if (text.size() != 7 || text[0] != '#' || std::sscanf(text.c_str() + 1, "%6x%c", &value, &extra) != 1)
    throw ListError{"a colour is written #RRGGBB: " + text};
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
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

Placeholder ParseLine(const std::string& line) {
  std::istringstream words(line);
  Placeholder p;
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
      std::stringstream parts(list);
      std::string part;
      while (std::getline(parts, part, ',')) p.colours.push_back(ParseColour(part));
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
  if (!p.colours.empty() && static_cast<int>(p.colours.size()) != p.states)
    throw ListError{p.file + ": give one colour per state"};
  if (static_cast<long long>(p.sizes[0].width) * p.states > 32767)
    throw ListError{p.file + ": the strip is too wide"};
  if (p.colours.empty())
    for (int i = 0; i < p.states; ++i) p.colours.push_back(DerivedColour(p.file, i));
  return p;
}

std::string Encode(const Placeholder& p) {
  const std::string kind = Extension(p.file);
  if (kind == "bmp") return zx::resgen::EncodeBmp(p.sizes[0].width, p.sizes[0].height, p.colours);
  if (kind == "png") return zx::resgen::EncodePng(p.sizes[0].width, p.sizes[0].height, p.colours);
  return zx::resgen::EncodeIcon(p.sizes, p.colours[0], kind == "cur", p.hotX, p.hotY);
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
      const Placeholder p = ParseLine(line);
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
