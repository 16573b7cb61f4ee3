// The kind of object FromHandle makes for a window without one: the class library's class
// of its window class (a "Button" gets a CButton, a "ComboBox" a CComboBox ...), so that the
// pointer GetDlgItem answers may be used as that class. Components with controls of their own
// add their window classes. Platform-internal.
#pragma once
#include <memory>

#include "afxwin.h"

namespace zx::afx {

using MakeWindowObject = CWnd* (*)();
// Window class names are compared without regard to case.
void AddTemporaryKind(LPCWSTR windowClass, MakeWindowObject make);
// A new object of the kind for the window's class (a CWnd for any other class).
std::unique_ptr<CWnd> MakeTemporaryObject(HWND window);

}  // namespace zx::afx
