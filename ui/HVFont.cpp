// CHVFont: a font made from a LOGFONTW and deleted with the object.
#include "HVFont.h"

CHVFont::CHVFont(const LOGFONTW& logFont) { CreateFontIndirect(&logFont); }

CHVFont::~CHVFont() { DeleteObject(); }
