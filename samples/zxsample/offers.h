// The catalogue's drivers matched to the machine's devices: for each device that a catalogue
// entry names by one of its ids, the device, its installed version and the version offered.
#pragma once
#include <string>
#include <vector>

#include "devices.h"

namespace zxsample {

struct Offer {
  Device device;
  std::u16string offered;
  bool newer = false;  // the offered version is above the installed one
};

// The offers of the catalogue file (a Windows or host path of its "catalogue.ini"); false
// when the devices or the catalogue cannot be read.
bool ReadOffers(const std::u16string& catalogue, std::vector<Offer>& offers);

// Dotted versions compared part by part as numbers (missing parts count as 0): below 0 when
// a is older, 0 when equal, above 0 when newer.
int CompareVersions(const std::u16string& a, const std::u16string& b);

}  // namespace zxsample
