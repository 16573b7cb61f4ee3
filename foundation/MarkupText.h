// Element data of CMarkup: escaping values on writing and unescaping data on reading.
#pragma once
#include <afx.h>

#include <string_view>

#include "HelperApi.h"
#include "Markup.h"

// "<", "&" and ">" as "&lt;", "&amp;" and "&gt;"; everything else, quotes included, as it is.
CString EscapeMarkupText(std::u16string_view text);
// "&lt;", "&amp;", "&gt;", "&apos;" and "&quot;" as their characters; any other "&" stays.
// Written into `out`, whose room is reused; `text` lies outside `out`.
void UnescapeMarkupText(std::u16string_view text, CString& out);
// The data of an element without child elements at `pos` in `doc` into `text`: a CDATA
// section (blanks before it allowed) as it stands, any other data unescaped; empty for
// "<name/>".
ZXHELPER_API void ReadMarkupLeafData(std::u16string_view doc, const CMarkup::ElemPos& pos, CString& text);
// The same data as a view: of `doc` itself where the data stands there as it reads, else of
// `scratch`, which is written with it. Valid while both are unchanged.
ZXHELPER_API std::u16string_view ReadMarkupLeafView(std::u16string_view doc, const CMarkup::ElemPos& pos,
                                                    CString& scratch);
