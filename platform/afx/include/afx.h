// The class library in one include, as MFC code expects it: the Win32 API, strings, CObject,
// exceptions, CFile/CMemFile, CArchive, the collections and the diagnostic macros.
#pragma once
#include "windows.h"
#include "afxarch.h"
#include "afxcoll.h"
#include "afxexcept.h"
#include "afxfile.h"
#include "afxobj.h"
#include "afxstr.h"
#include "afxtempl.h"
#include "atltime.h"

// Diagnostics compile away as in a release build; their arguments still count as used.
namespace zx::afx {
template <class... A>
inline void Trace(const A&...) {}
}  // namespace zx::afx

#ifndef ASSERT
#define ASSERT(f) ((void)sizeof(!(f)))
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef ASSERT_VALID
#define ASSERT_VALID(p) ((void)sizeof(p))
#endif
#ifndef TRACE
#define TRACE(...) zx::afx::Trace(__VA_ARGS__)
#endif
#ifndef UNUSED_ALWAYS
#define UNUSED_ALWAYS(x) ((void)(x))
#endif
