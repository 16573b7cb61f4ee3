// CImageList: the class library's owner of an image list.
#include <map>
#include <memory>

#include "afxcmn.h"
#include "winresource.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

CImageList::~CImageList() { DeleteImageList(); }

namespace {
// Temporary wrappers let go of their list before they go, so they never destroy it.
struct ForgetList {
  void operator()(CImageList* wrapper) const {
    wrapper->Detach();
    delete wrapper;
  }
};
}  // namespace

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
  if (!hImageList) return nullptr;
  thread_local std::map<HIMAGELIST, std::unique_ptr<CImageList, ForgetList>> temporary;
  auto& wrapper = temporary[hImageList];
  if (!wrapper) {
    wrapper.reset(new CImageList);
    wrapper->m_hImageList = hImageList;
  }
  return wrapper.get();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  HBITMAP strip = LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmapID));
  if (!strip) return FALSE;
  BITMAP info{};
  GetObjectW(strip, sizeof(info), &info);
  const UINT flags = ILC_COLOR32 | (crMask == CLR_NONE ? 0u : ILC_MASK);
  BOOL made = cx > 0 && Create(cx, info.bmHeight, flags, info.bmWidth / cx, nGrow);
  if (made) {
    const int first = crMask == CLR_NONE ? ImageList_Add(m_hImageList, strip, nullptr)
                                         : ImageList_AddMasked(m_hImageList, strip, crMask);
    if (first < 0) {
      DeleteImageList();
      made = FALSE;
    }
  }
  DeleteObject(strip);
  return made;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (!hImageList) return FALSE;
  DeleteImageList();
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  const BOOL destroyed = ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return destroyed;
}
