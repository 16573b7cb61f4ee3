// A path split into drive, folder, name and extension, as the run-time library's path
// splitter does it: "C:\dir\name.ext" gives "C:", "\dir\", "name" and ".ext". Both '\' and
// '/' separate folders; the extension starts at the last dot of the last component. Parts
// are never cut short, however long.
#pragma once
#include <afx.h>

struct PathParts {
  CString drive;
  CString folder;
  CString name;
  CString extension;
};

PathParts SplitPathParts(const CString& path);
