// The kinds of temporary window objects by window class: the standard controls' classes to
// start with, more as components add them.
#include <map>
#include <mutex>

#include "stringapiset.h"
#include "zx/afxkinds.h"
#include "zx/casefold.h"

namespace zx::afx {
namespace {

template <class Kind>
CWnd* Make() {
  return new Kind;
}

struct Kinds {
  std::mutex lock;
  std::map<std::u16string, MakeWindowObject> byClass;  // folded names
};

std::u16string Folded(LPCWSTR name) {
  std::u16string folded(name);
  MakeUpper(folded.data(), folded.size());
  return folded;
}

Kinds& TheKinds() {
  static Kinds* kinds = [] {
    auto* made = new Kinds;
    made->byClass[Folded(WC_BUTTONW)] = Make<CButton>;
    made->byClass[Folded(WC_STATICW)] = Make<CStatic>;
    made->byClass[Folded(WC_EDITW)] = Make<CEdit>;
    made->byClass[Folded(WC_COMBOBOXW)] = Make<CComboBox>;
    made->byClass[Folded(RICHEDIT_CLASSW)] = Make<CRichEditCtrl>;
    return made;
  }();
  return *kinds;
}

}  // namespace

void AddTemporaryKind(LPCWSTR windowClass, MakeWindowObject make) {
  if (!windowClass || !make) return;
  Kinds& kinds = TheKinds();
  std::lock_guard<std::mutex> guard(kinds.lock);
  kinds.byClass[Folded(windowClass)] = make;
}

std::unique_ptr<CWnd> MakeTemporaryObject(HWND window) {
  WCHAR name[64];
  if (::GetClassNameW(window, name, 64) > 0) {
    Kinds& kinds = TheKinds();
    std::lock_guard<std::mutex> guard(kinds.lock);
    if (const auto found = kinds.byClass.find(Folded(name)); found != kinds.byClass.end())
      return std::unique_ptr<CWnd>(found->second());
  }
  return std::make_unique<CWnd>();
}

}  // namespace zx::afx
