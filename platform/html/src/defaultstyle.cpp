// The browser's own style sheet, read under every page: block and table elements, headings,
// paragraphs, lists, links, phrase elements and form fields, as browsers show them.
#include "defaultstyle.h"

namespace zx::html {

const char kDefaultStyle[] = R"css(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset, h1, h2, h3, h4,
h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, li, xmp { display: block; }
head, script, style, title, meta, link, base { display: none; }
body { margin: 8px; display: block; }
p, blockquote, ul, ol, dl, fieldset, form, xmp, pre { margin-top: 1em; margin-bottom: 1em; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
b, strong, th { font-weight: bold; }
i, em, cite, var, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
a[href] { color: #0000FF; text-decoration: underline; }
center { text-align: center; }
pre, xmp, code, tt, kbd, samp { font-family: monospace; white-space: pre; }
pre, xmp { white-space: pre; }
ul, ol, dir, menu { padding-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
li { display: list-item; }
dd { margin-left: 40px; }
hr { border: 1px solid #808080; margin: 0.5em 0; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; }
tbody { display: table-row-group; }
tfoot { display: table-footer-group; }
tr { display: table-row; }
td, th { display: table-cell; padding: 1px; vertical-align: inherit; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
img { display: inline-block; }
input, textarea, select, button { display: inline-block; }
button { border: 1px solid #767676; background-color: #EFEFEF; padding: 1px 6px; }
textarea, input { border: 1px solid #767676; padding: 1px 2px; }
br { display: block; }
sub { vertical-align: sub; font-size: smaller; }
sup { vertical-align: super; font-size: smaller; }
big { font-size: larger; }
small { font-size: smaller; }
)css";

}  // namespace zx::html
