// Keeping uploads: written to a hidden file first, then linked under their final name.
#include "uploads.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>

namespace zx::webservice {
namespace {

constexpr std::size_t kMaxNameBytes = 120;
constexpr int kMaxVariants = 1000;

bool IsReserved(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
         c == '*';
}

}  // namespace

std::string SafeFileName(std::string_view suggestedName) {
  const std::size_t slash = suggestedName.find_last_of("/\\");
  if (slash != std::string_view::npos) suggestedName.remove_prefix(slash + 1);
  std::string name;
  for (const unsigned char c : suggestedName) name += IsReserved(c) ? '_' : static_cast<char>(c);
  const std::size_t first = name.find_first_not_of(". ");
  name = first == std::string::npos ? std::string() : name.substr(first);
  if (name.size() > kMaxNameBytes) {
    std::size_t cut = kMaxNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

std::string UploadStore::Keep(std::string_view suggestedName, std::string_view bytes,
                              std::string_view prefix, std::string_view extension) {
  if (!enabled()) return {};
  std::lock_guard<std::mutex> guard(lock_);
  const unsigned number = ++counter_;
  std::string name = SafeFileName(suggestedName);
  if (name.empty()) name = std::string(prefix) + "-" + std::to_string(number) + "." + std::string(extension);

  const std::string incoming = folder_ + "/.incoming-" + std::to_string(::getpid()) + "-" + std::to_string(number);
  {
    std::ofstream out(incoming, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      ::unlink(incoming.c_str());
      return {};
    }
  }
  const std::size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string suffix = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
  std::string stored;
  for (int variant = 1; variant <= kMaxVariants && stored.empty(); ++variant) {
    const std::string candidate = variant == 1 ? name : stem + " (" + std::to_string(variant) + ")" + suffix;
    // link() never replaces an existing file.
    if (::link(incoming.c_str(), (folder_ + "/" + candidate).c_str()) == 0) stored = candidate;
    else if (errno != EEXIST) break;
  }
  ::unlink(incoming.c_str());
  return stored;
}

}  // namespace zx::webservice
