// The Windows-shaped platform API as one include, as system code expects it.
#pragma once
#include "wintypes.h"
#include "errhandlingapi.h"
#include "stringapiset.h"
#include "lstrapi.h"
#include "wow64apiset.h"
#include "heapapi.h"
#include "memoryapi.h"
#include "winbase.h"
#include "winnls.h"
#if __has_include("handleapi.h")
#include "handleapi.h"
#endif
#if __has_include("synchapi.h")
#include "synchapi.h"
#endif
#if __has_include("processthreadsapi.h")
#include "processthreadsapi.h"
#endif
#if __has_include("sysinfoapi.h")
#include "sysinfoapi.h"
#endif
#if __has_include("libloaderapi.h")
#include "libloaderapi.h"
#endif
#if __has_include("fileapi.h")
#include "fileapi.h"
#endif
#if __has_include("profileapi.h")
#include "profileapi.h"
#endif
#if __has_include(<winreg.h>)
#include <winreg.h>
#endif
#if __has_include(<winuser.h>)
#include <winuser.h>
#endif
#if __has_include(<wingdi.h>)
#include <wingdi.h>
#endif
#if __has_include(<windraw.h>)
#include <windraw.h>
#endif
#if __has_include(<winresource.h>)
#include <winresource.h>
#endif
#if __has_include(<windlg.h>)
#include <windlg.h>
#endif
#if __has_include(<winmenu.h>)
#include <winmenu.h>
#endif
#if __has_include(<wininput.h>)
#include <wininput.h>
#endif
#if __has_include(<winscroll.h>)
#include <winscroll.h>
#endif
#if __has_include(<winmetrics.h>)
#include <winmetrics.h>
#endif
#if __has_include(<winglobal.h>)
#include <winglobal.h>
#endif
#if __has_include(<objidl.h>)
#include <objidl.h>
#endif
#if __has_include(<winanimate.h>)
#include <winanimate.h>
#endif
#if __has_include(<winmuldiv.h>)
#include <winmuldiv.h>
#endif
#if __has_include(<shelldrop.h>)
#include <shelldrop.h>
#endif
#if __has_include(<wintabtext.h>)
#include <wintabtext.h>
#endif
#if __has_include(<winshutdown.h>)
#include <winshutdown.h>
#endif
#if __has_include(<winusername.h>)
#include <winusername.h>
#endif
#if __has_include("debugapi.h")
#include "debugapi.h"
#endif
