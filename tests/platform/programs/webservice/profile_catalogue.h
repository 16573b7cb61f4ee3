// A catalogue of the web service's stand-in written from a machine profile's text: device by
// device in profile order, a newer driver under its first hardware id, an equal one, a newer
// one under its last compatible id only, an older one; and two drivers of devices the machine
// does not have. The packages all name "package.zip".
#pragma once
#include <string>

namespace zx::test {

std::string CatalogueOfProfile(const std::string& profileText);

}  // namespace zx::test
