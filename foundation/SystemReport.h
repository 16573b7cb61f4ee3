// The system figures that feedback documents and problem reports carry: the memory record and
// the drives of the machine, written into an XML document.
#pragma once
#include <afx.h>

#include "HelperApi.h"
#include "Markup.h"

// Appends "memory_info" with its four figures (physical and page-file memory, total and
// available), after the current element, or as the current element's last child when
// `asChild`. FALSE when the figures cannot be read or the element cannot be written.
ZXHELPER_API BOOL AppendMemoryInfo(CMarkup& xml, bool asChild = false);

// Appends, as children of the current element, "system_driver" (the system folder's drive)
// and one "drive_info" (name, total, free and used bytes) per fixed or removable drive that
// answers.
ZXHELPER_API void AppendDriveInfo(CMarkup& xml);
