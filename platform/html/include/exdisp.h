// The web browser control's automation interface (IWebBrowser2), as far as HTML dialogs use
// it: whether it takes drops and registers as a browser, its document and location.
#pragma once
#include "oaidl.h"

extern const IID IID_IWebBrowser2;  // {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}

struct IWebBrowser2 : IDispatch {
  virtual HRESULT get_Document(IDispatch** document) = 0;
  virtual HRESULT get_LocationURL(BSTR* url) = 0;
  virtual HRESULT get_RegisterAsBrowser(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_RegisterAsBrowser(VARIANT_BOOL value) = 0;
  virtual HRESULT get_RegisterAsDropTarget(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_RegisterAsDropTarget(VARIANT_BOOL value) = 0;

 protected:
  ~IWebBrowser2() = default;
};
