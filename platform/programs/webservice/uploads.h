// The folder that keeps every upload the stand-in takes. An upload never replaces an earlier
// one and appears whole or not at all; names coming from the network cannot leave the folder.
#pragma once
#include <mutex>
#include <string>
#include <string_view>

namespace zx::webservice {

class UploadStore {
 public:
  // An empty folder name refuses every upload.
  explicit UploadStore(std::string folder) : folder_(std::move(folder)) {}
  bool enabled() const { return !folder_.empty(); }

  // Stores the bytes under the suggested file name made safe (its last path component, without
  // control or reserved characters, at most 120 bytes), or "<prefix>-<n>.<extension>" when
  // nothing is left of it; a name in use gets " (2)", " (3)" ... before its extension.
  // Answers the name used, or "" when the file could not be written.
  std::string Keep(std::string_view suggestedName, std::string_view bytes, std::string_view prefix,
                   std::string_view extension);

 private:
  std::string folder_;
  std::mutex lock_;
  unsigned counter_ = 0;
};

// The suggested name made safe as Keep does it; may be empty.
std::string SafeFileName(std::string_view suggestedName);

}  // namespace zx::webservice
