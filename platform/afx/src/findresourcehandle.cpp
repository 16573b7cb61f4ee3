// AfxFindResourceHandle: the module a resource is loaded from, the class library's resource
// module first, then the application's own module.
#include "afxwin.h"
#include "winresource.h"

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  const HINSTANCE resources = AfxGetResourceHandle();
  if (lpszName == nullptr || lpszType == nullptr) return resources;
  if (FindResourceW(resources, lpszName, lpszType) != nullptr) return resources;
  const HINSTANCE program = AfxGetInstanceHandle();
  if (program != resources && FindResourceW(program, lpszName, lpszType) != nullptr) return program;
  return resources;
}
