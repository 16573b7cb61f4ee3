// Message boxes without a person in front of the screen: every box is reported to a
// responder. The default responder writes the box to stderr and answers the default button;
// tests install their own to see what was shown and to choose the answer.
#pragma once
#include <functional>
#include <string>

#include "wintypes.h"

namespace zx::user {

struct MessageBoxCall {
  HWND owner;
  std::u16string text;
  std::u16string caption;
  UINT type;
};

using MessageBoxResponder = std::function<int(const MessageBoxCall&)>;

// Installs a responder (an empty one restores the default) and answers the previous one.
MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder);

// The button a box of this type answers when nobody presses one.
int DefaultMessageBoxAnswer(UINT type);

}  // namespace zx::user
