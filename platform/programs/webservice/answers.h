// The update service's answers, made from the catalogue: the update answer to a scan request
// and the download information of one driver.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue.h"

namespace zx::webservice {

// The update answers of a catalogue. What a "driver" group holds after the request's ids is
// written once for each id of each entry.
class UpdateAnswers {
 public:
  explicit UpdateAnswers(const Catalogue& catalogue);
  // For every "device" of the scan request and every id of its "matchingid" ("|"-separated,
  // in order), one "driver" group per catalogue entry that lists the id: driverid, the id in
  // lower case as hardwareidentifier, the catalogue's spelling as hardwareid, the entry's
  // fields, and "signer" last. nullopt when the request is not XML.
  std::optional<std::string> Answer(std::string_view request) const;

 private:
  const Catalogue& catalogue_;
  std::vector<std::vector<std::string>> groupEnds_;  // by entry, by id: hardwareid to "</driver>"
};

// "url" (packageBase + the package file, %-escaped) and "hashstring" (the MD5) of the first
// entry that lists the request's device "hardwareid"; an empty document when none does.
// nullopt when the request is not XML.
std::optional<std::string> DownloadAnswer(const Catalogue& catalogue, std::string_view request,
                                          const std::string& packageBase);

}  // namespace zx::webservice
