// The browser's own style sheet: what each element looks like before a page styles it.
#pragma once

namespace zx::html {

extern const char kDefaultStyle[];

}  // namespace zx::html
