// Message boxes: reported to the installed responder (stderr and the default button unless
// a test installed its own).
#include <cstdio>
#include <mutex>
#include <string>

#include "usertext.h"
#include "winuser.h"
#include "zx/msgbox.h"

namespace zx::user {
namespace {

std::mutex g_lock;
MessageBoxResponder g_responder;

int ReportToStderr(const MessageBoxCall& call) {
  std::fprintf(stderr, "[message box] %s: %s\n", ToUtf8(call.caption).c_str(),
               ToUtf8(call.text).c_str());
  return DefaultMessageBoxAnswer(call.type);
}

}  // namespace

MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder) {
  std::lock_guard<std::mutex> g(g_lock);
  MessageBoxResponder previous = std::move(g_responder);
  g_responder = std::move(responder);
  return previous;
}

int DefaultMessageBoxAnswer(UINT type) {
  static const int kButtons[6][3] = {{IDOK, IDOK, IDOK},         {IDOK, IDCANCEL, IDCANCEL},
                                     {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
                                     {IDYES, IDNO, IDNO},          {IDRETRY, IDCANCEL, IDCANCEL}};
  const UINT set = type & 0xF;
  const UINT def = (type >> 8) & 0xF;
  if (set > 5) return IDOK;
  return kButtons[set][def > 2 ? 0 : def];
}

}  // namespace zx::user

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  zx::user::MessageBoxCall call{owner, text ? text : u"", caption ? caption : u"Error", type};
  zx::user::MessageBoxResponder responder;
  {
    std::lock_guard<std::mutex> g(zx::user::g_lock);
    responder = zx::user::g_responder;
  }
  return responder ? responder(call) : zx::user::ReportToStderr(call);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  const std::u16string wideText = zx::user::FromAnsi(text);
  const std::u16string wideCaption = zx::user::FromAnsi(caption ? caption : "Error");
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
}
