// Handle lookup that understands the pseudo-handles (kernel-internal).
#pragma once
#include <memory>

#include "zx/handles.h"

namespace zx {

// The object a handle names; GetCurrentThread()'s pseudo-handle names the calling thread.
// Null for unknown handles (last error untouched).
std::shared_ptr<KernelObject> ReferenceObject(HANDLE handle);
template <class T>
std::shared_ptr<T> ReferenceObjectAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(ReferenceObject(handle));
}

// The calling thread's object (made on first use for threads the layer did not start).
std::shared_ptr<KernelObject> CurrentThreadObject();

}  // namespace zx
