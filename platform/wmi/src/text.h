// UTF-8 / UTF-16 conversions of this component, at the boundary between the host's text and
// the BSTRs a client receives.
#pragma once
#include <string>

#include "wtypes.h"

namespace zx::wmi {

std::string ToUtf8(const OLECHAR* text, std::size_t length);
std::u16string FromUtf8(const std::string& text);
// A new BSTR of the text; null when memory runs out.
BSTR AllocBstr(const std::string& utf8);

}  // namespace zx::wmi
