// A page's own CSS as the HTML dialog's layout is given it. The layout builds the grid of each
// table as it reads the page and lays its cells out again for every width it tries, so that
// tables made by CSS (display: table, table-row, table-cell, ...) could nest, or span, beyond
// any bound the page's real tables are held to: those displays are given as blocks.
#pragma once
#include <string>
#include <string_view>

namespace zx::html {

// `css` (a style sheet, or the declarations of a style attribute) with a blank for each
// comment, and with the value of every display declaration that names a table, or holds an
// escape, made "block" (an "!important" kept).
std::u16string ShownCss(std::u16string_view css);

}  // namespace zx::html
