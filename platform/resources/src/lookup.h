// Finding a module's resource by type and name (internal to the resources).
#pragma once
#include "winresource.h"
#include "zx/resfile.h"

namespace zx::res {

// A type or name argument: MAKEINTRESOURCE number, "#123", or a name (upper-cased).
ResourceId ToResourceId(LPCWSTR value);

// The resource, or null with the last error set. Files are kept for the process, so the
// answer stays valid.
const ResourceFile::Resource* Lookup(HMODULE module, const ResourceId& type, const ResourceId& name,
                                     WORD language = 0);

}  // namespace zx::res
