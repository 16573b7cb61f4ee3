// The driver store folder the setup log ("setupapi.dev.log") says an "oem" INF was published
// from, and the test that a driver store file lies in that folder.
#pragma once
#include <afx.h>

// Reads the log line by line, each trimmed and lower-cased; of the lines holding both "idb:"
// and the INF's lower-cased path, the last one gives the text after its first apostrophe, up
// to its first backslash. Empty when no line names the INF or the text is no plain folder
// name (a drive, "..", an empty text).
CString PublishedStoreFolder(LPCTSTR logPath, const CString& infPath);

// Whether one step of the driver store entry's path is the folder (any case).
bool IsInStoreFolder(const CString& entry, const CString& folder);
