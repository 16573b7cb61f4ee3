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

#include <cstdio>
#include <fstream>
#include <iostream>

#include "picturelist.h"
#include "writers.h"
#include "zx/fontleaks.h"  // sanitizer builds run this tool during the build

namespace {

using zx::resgen::Picture;
using zx::resgen::Size;

std::string Encode(const Picture& p) {
  const std::string kind = zx::resgen::Extension(p.file);
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
      const Picture p = zx::resgen::ParsePictureLine(line);
      files.emplace_back(folder + "/" + p.file, Encode(p));
    }
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

