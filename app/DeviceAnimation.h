// The busy animation of the main program's pages and the class picture of a device row.
#pragma once
#include <afxcmn.h>
#include <setupapi.h>

// Opens the program's busy clip (AVI 1399) in the control, plays it over and over from the
// first to the last frame and shows the control. FALSE when the clip could not be opened.
BOOL PlayAnimation(CAnimateCtrl& animation);
// Stops the clip and closes it.
void StopAnimation(CAnimateCtrl& animation);

// The image of a device class, given as GUID text ("{...}"), in the class image list; -1 when
// the text is no GUID or the list has no image for it.
int GetClassImageIndex(LPCTSTR classGuid, PSP_CLASSIMAGELIST_DATA imageList);
