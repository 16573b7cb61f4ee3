// Encoded wide paths: a narrow path that carries UTF-16 characters, so that the cabinet
// library's narrow file names can name any file. Characters outside the narrow text stand as
// runs of base64 digits opened by "<" (a "<" is never part of a Windows file name): each run
// holds big-endian UTF-16 units, six bits per digit, and ends at the first character that is
// no base64 digit; a ">" ending it is dropped, any other character is kept. "<>" stands for a
// literal "<". Narrow text outside the runs is Windows-1252.
#pragma once
#include <afx.h>

// Whether the narrow path carries encoded characters (holds a "<").
bool IsEncodedWidePath(LPCSTR path);
// The wide path a narrow path stands for; false (wide emptied) when a run leaves bits of an
// unfinished unit that are not zero or decodes to a NUL character.
bool DecodeEncodedWidePath(LPCSTR path, CString& wide);
