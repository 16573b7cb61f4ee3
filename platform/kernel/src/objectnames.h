// The process's namespace of named kernel objects (events, mutexes). Kernel-internal.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "zx/handles.h"

namespace zx::names {

// The name an object is filed under: false (with *error set) for a name Windows refuses.
// Null and "" give the empty name (an unnamed object). The "Global\" and "Local\" prefixes
// are dropped: the layer has one session.
bool Normalise(LPCWSTR name, std::u16string& normalised, DWORD* error);

// The live object filed under a (non-empty) name, or the one make() answers, filed under it
// (make may answer null: nothing is filed). *existed tells which; make runs under the
// namespace's lock, so two threads never both make one name.
std::shared_ptr<KernelObject> FindOrMake(const std::u16string& name,
                                         const std::function<std::shared_ptr<KernelObject>()>& make,
                                         bool* existed);

}  // namespace zx::names
