// The case-insensitive name lookup of the path mapping, with a cache of folder listings so
// that making many files in one folder does not read the folder again for every name.
// Kernel-internal.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

namespace zx::path {

// The entry of folder whose name equals part without regard to case (the smallest such name
// when several do), or empty. A cached listing is used while the folder's change time and
// identity are those it was read at; status, when given, is the folder's status (links
// followed) just taken by the caller, which spares looking at the folder again.
std::string FindNoCase(const std::string& folder, std::u16string_view part,
                       const struct stat* status = nullptr);

// Tells the cache that this process has just made hostPath (a folder when isFolder), so the
// listing of its folder stays current without being read again.
void NoteCreated(const std::string& hostPath, bool isFolder);

}  // namespace zx::path
