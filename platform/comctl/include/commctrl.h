// The common controls: image lists, the report list view with its header, the tree view,
// the progress bar, the animation control and tooltips. Class names, messages, styles,
// notification codes and structure layouts carry the numeric values of Windows; the wide
// forms are the ones the controls answer (the system is built for wide text).
#pragma once
#include "wingdi.h"
#include "winuser.h"
#include "winscroll.h"

// ---------------------------------------------------------------------------------------
// Registration of the control classes.
struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;
#define ICC_LISTVIEW_CLASSES 0x00000001u
#define ICC_TREEVIEW_CLASSES 0x00000002u
#define ICC_BAR_CLASSES 0x00000004u
#define ICC_TAB_CLASSES 0x00000008u
#define ICC_UPDOWN_CLASS 0x00000010u
#define ICC_PROGRESS_CLASS 0x00000020u
#define ICC_HOTKEY_CLASS 0x00000040u
#define ICC_ANIMATE_CLASS 0x00000080u
#define ICC_WIN95_CLASSES 0x000000FFu
#define ICC_DATE_CLASSES 0x00000100u
#define ICC_USEREX_CLASSES 0x00000200u
#define ICC_COOL_CLASSES 0x00000400u
#define ICC_STANDARD_CLASSES 0x00004000u

// Registers every control class of this component (the classes are global to the process);
// registering again is harmless.
void InitCommonControls();
// FALSE for a null or short structure; the classes of every family are registered.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

#define WC_HEADERW u"SysHeader32"
#define WC_LISTVIEWW u"SysListView32"
#define WC_TREEVIEWW u"SysTreeView32"
#define PROGRESS_CLASSW u"msctls_progress32"
#define ANIMATE_CLASSW u"SysAnimate32"
#define TOOLTIPS_CLASSW u"tooltips_class32"
#define WC_HEADER WC_HEADERW
#define WC_LISTVIEW WC_LISTVIEWW
#define WC_TREEVIEW WC_TREEVIEWW
#define PROGRESS_CLASS PROGRESS_CLASSW
#define ANIMATE_CLASS ANIMATE_CLASSW
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

// ---------------------------------------------------------------------------------------
// Shared values.
#ifndef CLR_NONE
#define CLR_NONE 0xFFFFFFFFu
#endif
#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000u
#endif
#ifndef ODT_HEADER
#define ODT_HEADER 100
#endif
#ifndef ODT_TAB
#define ODT_TAB 101
#endif
#ifndef ODT_LISTVIEW
#define ODT_LISTVIEW 102
#endif
#ifndef ODA_DRAWENTIRE
#define ODA_DRAWENTIRE 0x0001u
#endif
#ifndef ODA_SELECT
#define ODA_SELECT 0x0002u
#endif
#ifndef ODA_FOCUS
#define ODA_FOCUS 0x0004u
#endif
#ifndef ODS_SELECTED
#define ODS_SELECTED 0x0001u
#endif
#ifndef ODS_FOCUS
#define ODS_FOCUS 0x0010u
#endif
#ifndef MAKELPARAM
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#endif
#ifndef WHEEL_DELTA
#define WHEEL_DELTA 120
#endif

// Messages every control answers.
#define CCM_FIRST 0x2000u
#define CCM_SETBKCOLOR (CCM_FIRST + 1)
#define CCM_SETUNICODEFORMAT (CCM_FIRST + 5)
#define CCM_GETUNICODEFORMAT (CCM_FIRST + 6)

// Notification codes common to the controls (WM_NOTIFY's NMHDR::code).
#define NM_FIRST (0u - 0u)
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_HOVER (NM_FIRST - 13)
#define LVN_FIRST (0u - 100u)
#define HDN_FIRST (0u - 300u)
#define TVN_FIRST (0u - 400u)
#define TTN_FIRST (0u - 520u)

// Text supplied by the owner on request.
#define LPSTR_TEXTCALLBACKW (reinterpret_cast<LPWSTR>(static_cast<LONG_PTR>(-1)))
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW
#define I_IMAGECALLBACK (-1)
#define I_IMAGENONE (-2)
#define INDEXTOSTATEIMAGEMASK(i) (static_cast<UINT>(i) << 12)
#define INDEXTOOVERLAYMASK(i) (static_cast<UINT>(i) << 8)

// ---------------------------------------------------------------------------------------
// Image lists: images of one size in a strip, each with a mask made from a colour key or a
// mask bitmap.
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

#define ILC_MASK 0x00000001u
#define ILC_COLOR 0x00000000u
#define ILC_COLORDDB 0x000000FEu
#define ILC_COLOR4 0x00000004u
#define ILC_COLOR8 0x00000008u
#define ILC_COLOR16 0x00000010u
#define ILC_COLOR24 0x00000018u
#define ILC_COLOR32 0x00000020u

#define ILD_NORMAL 0x00000000u
#define ILD_TRANSPARENT 0x00000001u
#define ILD_BLEND25 0x00000002u
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND50 0x00000004u
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50
#define ILD_MASK 0x00000010u
#define ILD_IMAGE 0x00000020u
#define ILD_OVERLAYMASK 0x00000F00u

// cx x cy images; flags ILC_*; room for `initial` images, growing by `grow`. Null for a size
// below 1 or above 1024.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds the images of a strip (its width divided by the image width; a last partial image is
// dropped). With ILC_MASK the mask bitmap marks transparent pixels (non-black); without a
// mask every pixel is opaque. Answers the index of the first image added, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, the pixels of colour `maskColour` being transparent (with ILC_MASK).
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
// Replaces image `index` with the icon, or appends it when index is -1; answers the index.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
  return ImageList_ReplaceIcon(list, -1, icon);
}
// Removes image `index`, or every image when index is -1.
BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) { return ImageList_Remove(list, -1); }
// The background colour transparent pixels are drawn in (CLR_NONE: left as they are).
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// Draws image `index` at (x, y): ILD_NORMAL/ILD_TRANSPARENT leave masked pixels untouched,
// ILD_MASK draws the mask (black where opaque, white where transparent), ILD_BLEND25/50 mix
// the image with the foreground colour (the highlight colour by default).
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// As ImageList_Draw, clipped to dx x dy (0: the image size); rgbBk replaces the transparent
// pixels unless CLR_NONE (CLR_DEFAULT: the list's background colour); rgbFg is the blend
// colour (CLR_DEFAULT: the highlight colour).
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF rgbFg, UINT style);
// A new icon of image `index`; null when there is none.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

// ---------------------------------------------------------------------------------------
// Header control ("SysHeader32").
#define HDS_HORZ 0x0000u
#define HDS_BUTTONS 0x0002u
#define HDS_HOTTRACK 0x0004u
#define HDS_HIDDEN 0x0008u
#define HDS_DRAGDROP 0x0040u
#define HDS_FULLDRAG 0x0080u

#define HDI_WIDTH 0x0001u
#define HDI_HEIGHT HDI_WIDTH
#define HDI_TEXT 0x0002u
#define HDI_FORMAT 0x0004u
#define HDI_LPARAM 0x0008u
#define HDI_BITMAP 0x0010u
#define HDI_IMAGE 0x0020u
#define HDI_DI_SETITEM 0x0040u
#define HDI_ORDER 0x0080u

#define HDF_LEFT 0x0000
#define HDF_RIGHT 0x0001
#define HDF_CENTER 0x0002
#define HDF_JUSTIFYMASK 0x0003
#define HDF_IMAGE 0x0800
#define HDF_BITMAP 0x2000
#define HDF_STRING 0x4000
#define HDF_OWNERDRAW 0x8000

struct HDITEMW {
  UINT mask;
  int cxy;
  LPWSTR pszText;
  HBITMAP hbm;
  int cchTextMax;
  int fmt;
  LPARAM lParam;
  int iImage;
  int iOrder;
  UINT type;
  void* pvFilter;
  UINT state;
};
using LPHDITEMW = HDITEMW*;
using HDITEM = HDITEMW;
using LPHDITEM = HDITEMW*;

struct HDLAYOUT {
  RECT* prc;
  WINDOWPOS* pwpos;
};
using LPHDLAYOUT = HDLAYOUT*;

#define HHT_NOWHERE 0x0001u
#define HHT_ONHEADER 0x0002u
#define HHT_ONDIVIDER 0x0004u
#define HHT_ONDIVOPEN 0x0008u
#define HHT_ABOVE 0x0100u
#define HHT_BELOW 0x0200u
#define HHT_TORIGHT 0x0400u
#define HHT_TOLEFT 0x0800u

struct HDHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

#define HDM_FIRST 0x1200u
#define HDM_GETITEMCOUNT (HDM_FIRST + 0)
#define HDM_DELETEITEM (HDM_FIRST + 2)
#define HDM_LAYOUT (HDM_FIRST + 5)
#define HDM_HITTEST (HDM_FIRST + 6)
#define HDM_GETITEMRECT (HDM_FIRST + 7)
#define HDM_SETIMAGELIST (HDM_FIRST + 8)
#define HDM_GETIMAGELIST (HDM_FIRST + 9)
#define HDM_INSERTITEMW (HDM_FIRST + 10)
#define HDM_GETITEMW (HDM_FIRST + 11)
#define HDM_SETITEMW (HDM_FIRST + 12)
#define HDM_ORDERTOINDEX (HDM_FIRST + 15)
#define HDM_INSERTITEM HDM_INSERTITEMW
#define HDM_GETITEM HDM_GETITEMW
#define HDM_SETITEM HDM_SETITEMW

#define HDN_ITEMCHANGINGA (HDN_FIRST - 0)
#define HDN_ITEMCHANGEDA (HDN_FIRST - 1)
#define HDN_ITEMCLICKA (HDN_FIRST - 2)
#define HDN_ITEMDBLCLICKA (HDN_FIRST - 3)
#define HDN_DIVIDERDBLCLICKA (HDN_FIRST - 5)
#define HDN_BEGINTRACKA (HDN_FIRST - 6)
#define HDN_ENDTRACKA (HDN_FIRST - 7)
#define HDN_TRACKA (HDN_FIRST - 8)
#define HDN_ITEMCHANGINGW (HDN_FIRST - 20)
#define HDN_ITEMCHANGEDW (HDN_FIRST - 21)
#define HDN_ITEMCLICKW (HDN_FIRST - 22)
#define HDN_ITEMDBLCLICKW (HDN_FIRST - 23)
#define HDN_DIVIDERDBLCLICKW (HDN_FIRST - 25)
#define HDN_BEGINTRACKW (HDN_FIRST - 26)
#define HDN_ENDTRACKW (HDN_FIRST - 27)
#define HDN_TRACKW (HDN_FIRST - 28)
#define HDN_ITEMCHANGING HDN_ITEMCHANGINGW
#define HDN_ITEMCHANGED HDN_ITEMCHANGEDW
#define HDN_ITEMCLICK HDN_ITEMCLICKW
#define HDN_BEGINTRACK HDN_BEGINTRACKW
#define HDN_ENDTRACK HDN_ENDTRACKW
#define HDN_TRACK HDN_TRACKW

struct NMHEADERW {
  NMHDR hdr;
  int iItem;
  int iButton;
  HDITEMW* pitem;
};
using LPNMHEADERW = NMHEADERW*;
using NMHEADER = NMHEADERW;
using LPNMHEADER = NMHEADERW*;
using HD_NOTIFY = NMHEADERW;

// ---------------------------------------------------------------------------------------
// List view ("SysListView32"); the report view is the one drawn.
#define LVS_ICON 0x0000u
#define LVS_REPORT 0x0001u
#define LVS_SMALLICON 0x0002u
#define LVS_LIST 0x0003u
#define LVS_TYPEMASK 0x0003u
#define LVS_SINGLESEL 0x0004u
#define LVS_SHOWSELALWAYS 0x0008u
#define LVS_SORTASCENDING 0x0010u
#define LVS_SORTDESCENDING 0x0020u
#define LVS_SHAREIMAGELISTS 0x0040u
#define LVS_NOLABELWRAP 0x0080u
#define LVS_AUTOARRANGE 0x0100u
#define LVS_EDITLABELS 0x0200u
#define LVS_OWNERDRAWFIXED 0x0400u
#define LVS_ALIGNLEFT 0x0800u
#define LVS_OWNERDATA 0x1000u
#define LVS_NOSCROLL 0x2000u
#define LVS_NOCOLUMNHEADER 0x4000u
#define LVS_NOSORTHEADER 0x8000u

#define LVS_EX_GRIDLINES 0x00000001u
#define LVS_EX_SUBITEMIMAGES 0x00000002u
#define LVS_EX_CHECKBOXES 0x00000004u
#define LVS_EX_TRACKSELECT 0x00000008u
#define LVS_EX_HEADERDRAGDROP 0x00000010u
#define LVS_EX_FULLROWSELECT 0x00000020u
#define LVS_EX_ONECLICKACTIVATE 0x00000040u
#define LVS_EX_TWOCLICKACTIVATE 0x00000080u
#define LVS_EX_FLATSB 0x00000100u
#define LVS_EX_INFOTIP 0x00000400u
#define LVS_EX_UNDERLINEHOT 0x00000800u
#define LVS_EX_LABELTIP 0x00004000u
#define LVS_EX_BORDERSELECT 0x00008000u
#define LVS_EX_DOUBLEBUFFER 0x00010000u

#define LVM_FIRST 0x1000u
#define LVM_GETBKCOLOR (LVM_FIRST + 0)
#define LVM_SETBKCOLOR (LVM_FIRST + 1)
#define LVM_GETIMAGELIST (LVM_FIRST + 2)
#define LVM_SETIMAGELIST (LVM_FIRST + 3)
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define LVM_DELETEITEM (LVM_FIRST + 8)
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)
#define LVM_GETITEMRECT (LVM_FIRST + 14)
#define LVM_HITTEST (LVM_FIRST + 18)
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)
#define LVM_SCROLL (LVM_FIRST + 20)
#define LVM_REDRAWITEMS (LVM_FIRST + 21)
#define LVM_DELETECOLUMN (LVM_FIRST + 28)
#define LVM_GETCOLUMNWIDTH (LVM_FIRST + 29)
#define LVM_SETCOLUMNWIDTH (LVM_FIRST + 30)
#define LVM_GETHEADER (LVM_FIRST + 31)
#define LVM_GETTEXTCOLOR (LVM_FIRST + 35)
#define LVM_SETTEXTCOLOR (LVM_FIRST + 36)
#define LVM_GETTEXTBKCOLOR (LVM_FIRST + 37)
#define LVM_SETTEXTBKCOLOR (LVM_FIRST + 38)
#define LVM_GETTOPINDEX (LVM_FIRST + 39)
#define LVM_GETCOUNTPERPAGE (LVM_FIRST + 40)
#define LVM_UPDATE (LVM_FIRST + 42)
#define LVM_SETITEMSTATE (LVM_FIRST + 43)
#define LVM_GETITEMSTATE (LVM_FIRST + 44)
#define LVM_SORTITEMS (LVM_FIRST + 48)
#define LVM_GETSELECTEDCOUNT (LVM_FIRST + 50)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETSUBITEMRECT (LVM_FIRST + 56)
#define LVM_SUBITEMHITTEST (LVM_FIRST + 57)
#define LVM_GETITEMW (LVM_FIRST + 75)
#define LVM_SETITEMW (LVM_FIRST + 76)
#define LVM_INSERTITEMW (LVM_FIRST + 77)
#define LVM_GETCOLUMNW (LVM_FIRST + 95)
#define LVM_SETCOLUMNW (LVM_FIRST + 96)
#define LVM_INSERTCOLUMNW (LVM_FIRST + 97)
#define LVM_GETITEMTEXTW (LVM_FIRST + 115)
#define LVM_SETITEMTEXTW (LVM_FIRST + 116)
#define LVM_GETITEM LVM_GETITEMW
#define LVM_SETITEM LVM_SETITEMW
#define LVM_INSERTITEM LVM_INSERTITEMW
#define LVM_GETCOLUMN LVM_GETCOLUMNW
#define LVM_SETCOLUMN LVM_SETCOLUMNW
#define LVM_INSERTCOLUMN LVM_INSERTCOLUMNW
#define LVM_GETITEMTEXT LVM_GETITEMTEXTW
#define LVM_SETITEMTEXT LVM_SETITEMTEXTW

#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1
#define LVSIL_STATE 2

#define LVCF_FMT 0x0001u
#define LVCF_WIDTH 0x0002u
#define LVCF_TEXT 0x0004u
#define LVCF_SUBITEM 0x0008u
#define LVCF_IMAGE 0x0010u
#define LVCF_ORDER 0x0020u
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002
#define LVCFMT_JUSTIFYMASK 0x0003
#define LVSCW_AUTOSIZE (-1)
#define LVSCW_AUTOSIZE_USEHEADER (-2)

struct LVCOLUMNW {
  UINT mask;
  int fmt;
  int cx;
  LPWSTR pszText;
  int cchTextMax;
  int iSubItem;
  int iImage;
  int iOrder;
};
using LPLVCOLUMNW = LVCOLUMNW*;
using LVCOLUMN = LVCOLUMNW;
using LPLVCOLUMN = LVCOLUMNW*;
using LV_COLUMN = LVCOLUMNW;

#define LVIF_TEXT 0x0001u
#define LVIF_IMAGE 0x0002u
#define LVIF_PARAM 0x0004u
#define LVIF_STATE 0x0008u
#define LVIF_INDENT 0x0010u
#define LVIF_NORECOMPUTE 0x0800u

#define LVIS_FOCUSED 0x0001u
#define LVIS_SELECTED 0x0002u
#define LVIS_CUT 0x0004u
#define LVIS_DROPHILITED 0x0008u
#define LVIS_OVERLAYMASK 0x0F00u
#define LVIS_STATEIMAGEMASK 0xF000u

struct LVITEMW {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};
using LPLVITEMW = LVITEMW*;
using LVITEM = LVITEMW;
using LPLVITEM = LVITEMW*;
using LV_ITEM = LVITEMW;

#define LVNI_ALL 0x0000u
#define LVNI_FOCUSED 0x0001u
#define LVNI_SELECTED 0x0002u
#define LVNI_CUT 0x0004u
#define LVNI_DROPHILITED 0x0008u
#define LVNI_ABOVE 0x0100u
#define LVNI_BELOW 0x0200u
#define LVNI_TOLEFT 0x0400u
#define LVNI_TORIGHT 0x0800u

#define LVIR_BOUNDS 0
#define LVIR_ICON 1
#define LVIR_LABEL 2
#define LVIR_SELECTBOUNDS 3

#define LVHT_NOWHERE 0x0001u
#define LVHT_ONITEMICON 0x0002u
#define LVHT_ONITEMLABEL 0x0004u
#define LVHT_ONITEMSTATEICON 0x0008u
#define LVHT_ONITEM (LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)
#define LVHT_ABOVE 0x0008u
#define LVHT_BELOW 0x0010u
#define LVHT_TORIGHT 0x0020u
#define LVHT_TOLEFT 0x0040u

struct LVHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
  int iSubItem;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

// The caller's comparator of LVM_SORTITEMS: the two rows' item data and the sort parameter;
// negative when the first comes first.
using PFNLVCOMPARE = int(CALLBACK*)(LPARAM, LPARAM, LPARAM);

#define LVN_ITEMCHANGING (LVN_FIRST - 0)
#define LVN_ITEMCHANGED (LVN_FIRST - 1)
#define LVN_INSERTITEM (LVN_FIRST - 2)
#define LVN_DELETEITEM (LVN_FIRST - 3)
#define LVN_DELETEALLITEMS (LVN_FIRST - 4)
#define LVN_COLUMNCLICK (LVN_FIRST - 8)
#define LVN_ITEMACTIVATE (LVN_FIRST - 14)
#define LVN_KEYDOWN (LVN_FIRST - 55)

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;
using NM_LISTVIEW = NMLISTVIEW;

#define LVKF_ALT 0x0001u
#define LVKF_CONTROL 0x0002u
#define LVKF_SHIFT 0x0004u

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
  UINT uKeyFlags;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};
using LPNMLVKEYDOWN = NMLVKEYDOWN*;

// ---------------------------------------------------------------------------------------
// Tree view ("SysTreeView32").
struct _TREEITEM;
using HTREEITEM = _TREEITEM*;

#define TVS_HASBUTTONS 0x0001u
#define TVS_HASLINES 0x0002u
#define TVS_LINESATROOT 0x0004u
#define TVS_EDITLABELS 0x0008u
#define TVS_DISABLEDRAGDROP 0x0010u
#define TVS_SHOWSELALWAYS 0x0020u
#define TVS_NOTOOLTIPS 0x0080u
#define TVS_CHECKBOXES 0x0100u
#define TVS_TRACKSELECT 0x0200u
#define TVS_SINGLEEXPAND 0x0400u
#define TVS_INFOTIP 0x0800u
#define TVS_FULLROWSELECT 0x1000u
#define TVS_NOSCROLL 0x2000u
#define TVS_NONEVENHEIGHT 0x4000u
#define TVS_NOHSCROLL 0x8000u

#define TVIF_TEXT 0x0001u
#define TVIF_IMAGE 0x0002u
#define TVIF_PARAM 0x0004u
#define TVIF_STATE 0x0008u
#define TVIF_HANDLE 0x0010u
#define TVIF_SELECTEDIMAGE 0x0020u
#define TVIF_CHILDREN 0x0040u
#define TVIF_INTEGRAL 0x0080u

#define TVIS_SELECTED 0x0002u
#define TVIS_CUT 0x0004u
#define TVIS_DROPHILITED 0x0008u
#define TVIS_BOLD 0x0010u
#define TVIS_EXPANDED 0x0020u
#define TVIS_EXPANDEDONCE 0x0040u
#define TVIS_EXPANDPARTIAL 0x0080u
#define TVIS_OVERLAYMASK 0x0F00u
#define TVIS_STATEIMAGEMASK 0xF000u
#define TVIS_USERMASK 0xF000u

#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD)))

struct TVITEMW {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};
using LPTVITEMW = TVITEMW*;
using TVITEM = TVITEMW;
using LPTVITEM = TVITEMW*;
using TV_ITEM = TVITEMW;

struct TVITEMEXW {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
  int iIntegral;
  UINT uStateEx;
  HWND hwnd;
  int iExpandedImage;
  int iReserved;
};
using TVITEMEX = TVITEMEXW;

struct TVINSERTSTRUCTW {
  HTREEITEM hParent;
  HTREEITEM hInsertAfter;
  union {
    TVITEMEXW itemex;
    TVITEMW item;
  };
};
using LPTVINSERTSTRUCTW = TVINSERTSTRUCTW*;
using TVINSERTSTRUCT = TVINSERTSTRUCTW;
using LPTVINSERTSTRUCT = TVINSERTSTRUCTW*;

#define TV_FIRST 0x1100u
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_SETINDENT (TV_FIRST + 7)
#define TVM_GETIMAGELIST (TV_FIRST + 8)
#define TVM_SETIMAGELIST (TV_FIRST + 9)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETVISIBLECOUNT (TV_FIRST + 16)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_SETITEMHEIGHT (TV_FIRST + 27)
#define TVM_GETITEMHEIGHT (TV_FIRST + 28)
#define TVM_SETBKCOLOR (TV_FIRST + 29)
#define TVM_SETTEXTCOLOR (TV_FIRST + 30)
#define TVM_GETBKCOLOR (TV_FIRST + 31)
#define TVM_GETTEXTCOLOR (TV_FIRST + 32)
#define TVM_GETITEMSTATE (TV_FIRST + 39)
#define TVM_INSERTITEMW (TV_FIRST + 50)
#define TVM_GETITEMW (TV_FIRST + 62)
#define TVM_SETITEMW (TV_FIRST + 63)
#define TVM_INSERTITEM TVM_INSERTITEMW
#define TVM_GETITEM TVM_GETITEMW
#define TVM_SETITEM TVM_SETITEMW

#define TVSIL_NORMAL 0
#define TVSIL_STATE 2

#define TVGN_ROOT 0x0000u
#define TVGN_NEXT 0x0001u
#define TVGN_PREVIOUS 0x0002u
#define TVGN_PARENT 0x0003u
#define TVGN_CHILD 0x0004u
#define TVGN_FIRSTVISIBLE 0x0005u
#define TVGN_NEXTVISIBLE 0x0006u
#define TVGN_PREVIOUSVISIBLE 0x0007u
#define TVGN_DROPHILITE 0x0008u
#define TVGN_CARET 0x0009u
#define TVGN_LASTVISIBLE 0x000Au

#define TVE_COLLAPSE 0x0001u
#define TVE_EXPAND 0x0002u
#define TVE_TOGGLE 0x0003u
#define TVE_COLLAPSERESET 0x8000u

#define TVHT_NOWHERE 0x0001u
#define TVHT_ONITEMICON 0x0002u
#define TVHT_ONITEMLABEL 0x0004u
#define TVHT_ONITEMINDENT 0x0008u
#define TVHT_ONITEMBUTTON 0x0010u
#define TVHT_ONITEMRIGHT 0x0020u
#define TVHT_ONITEMSTATEICON 0x0040u
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ABOVE 0x0100u
#define TVHT_BELOW 0x0200u
#define TVHT_TORIGHT 0x0400u
#define TVHT_TOLEFT 0x0800u

struct TVHITTESTINFO {
  POINT pt;
  UINT flags;
  HTREEITEM hItem;
};
using LPTVHITTESTINFO = TVHITTESTINFO*;

#define TVC_UNKNOWN 0x0000u
#define TVC_BYMOUSE 0x0001u
#define TVC_BYKEYBOARD 0x0002u

#define TVN_SELCHANGINGA (TVN_FIRST - 1)
#define TVN_SELCHANGEDA (TVN_FIRST - 2)
#define TVN_ITEMEXPANDINGA (TVN_FIRST - 5)
#define TVN_ITEMEXPANDEDA (TVN_FIRST - 6)
#define TVN_DELETEITEMA (TVN_FIRST - 9)
#define TVN_KEYDOWN (TVN_FIRST - 12)
#define TVN_ITEMCHANGINGA (TVN_FIRST - 16)
#define TVN_ITEMCHANGINGW (TVN_FIRST - 17)
#define TVN_ITEMCHANGEDA (TVN_FIRST - 18)
#define TVN_ITEMCHANGEDW (TVN_FIRST - 19)
#define TVN_SELCHANGINGW (TVN_FIRST - 50)
#define TVN_SELCHANGEDW (TVN_FIRST - 51)
#define TVN_ITEMEXPANDINGW (TVN_FIRST - 54)
#define TVN_ITEMEXPANDEDW (TVN_FIRST - 55)
#define TVN_DELETEITEMW (TVN_FIRST - 58)
#define TVN_SELCHANGING TVN_SELCHANGINGW
#define TVN_SELCHANGED TVN_SELCHANGEDW
#define TVN_ITEMEXPANDING TVN_ITEMEXPANDINGW
#define TVN_ITEMEXPANDED TVN_ITEMEXPANDEDW
#define TVN_DELETEITEM TVN_DELETEITEMW
#define TVN_ITEMCHANGING TVN_ITEMCHANGINGW
#define TVN_ITEMCHANGED TVN_ITEMCHANGEDW

struct NMTREEVIEWW {
  NMHDR hdr;
  UINT action;
  TVITEMW itemOld;
  TVITEMW itemNew;
  POINT ptDrag;
};
using LPNMTREEVIEWW = NMTREEVIEWW*;
using NMTREEVIEW = NMTREEVIEWW;
using LPNMTREEVIEW = NMTREEVIEWW*;

// TVN_ITEMCHANGING / TVN_ITEMCHANGED: an item's state changes (uChanged is TVIF_STATE).
struct NMTVITEMCHANGE {
  NMHDR hdr;
  UINT uChanged;
  HTREEITEM hItem;
  UINT uStateNew;
  UINT uStateOld;
  LPARAM lParam;
};

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};

// ---------------------------------------------------------------------------------------
// Progress bar ("msctls_progress32").
#define PBS_SMOOTH 0x01u
#define PBS_VERTICAL 0x04u

#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)
#define PBM_SETBARCOLOR (WM_USER + 9)
#define PBM_SETBKCOLOR CCM_SETBKCOLOR

struct PBRANGE {
  int iLow;
  int iHigh;
};
using PPBRANGE = PBRANGE*;

// ---------------------------------------------------------------------------------------
// Animation control ("SysAnimate32"): plays a clip of an "AVI" resource.
#define ACS_CENTER 0x0001u
#define ACS_TRANSPARENT 0x0002u
#define ACS_AUTOPLAY 0x0004u
#define ACS_TIMER 0x0008u

#define ACM_OPENA (WM_USER + 100)
#define ACM_PLAY (WM_USER + 101)
#define ACM_STOP (WM_USER + 102)
#define ACM_OPENW (WM_USER + 103)
#define ACM_ISPLAYING (WM_USER + 104)
#define ACM_OPEN ACM_OPENW

// WM_COMMAND notification codes.
#define ACN_START 1
#define ACN_STOP 2

// ---------------------------------------------------------------------------------------
// Tooltips ("tooltips_class32").
#define TTS_ALWAYSTIP 0x01u
#define TTS_NOPREFIX 0x02u
#define TTS_NOANIMATE 0x10u
#define TTS_NOFADE 0x20u
#define TTS_BALLOON 0x40u

#define TTF_IDISHWND 0x0001u
#define TTF_CENTERTIP 0x0002u
#define TTF_RTLREADING 0x0004u
#define TTF_SUBCLASS 0x0010u
#define TTF_TRACK 0x0020u
#define TTF_ABSOLUTE 0x0080u
#define TTF_TRANSPARENT 0x0100u
#define TTF_PARSELINKS 0x1000u

struct TTTOOLINFOW {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPWSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
};
using LPTTTOOLINFOW = TTTOOLINFOW*;
using TTTOOLINFO = TTTOOLINFOW;
using LPTOOLINFO = TTTOOLINFOW*;
using TOOLINFO = TTTOOLINFOW;

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_SETTIPBKCOLOR (WM_USER + 19)
#define TTM_SETTIPTEXTCOLOR (WM_USER + 20)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_POP (WM_USER + 28)
#define TTM_UPDATE (WM_USER + 29)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_GETTOOLINFOW (WM_USER + 53)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)
#define TTM_ADDTOOL TTM_ADDTOOLW
#define TTM_DELTOOL TTM_DELTOOLW
#define TTM_GETTOOLINFO TTM_GETTOOLINFOW
#define TTM_GETTEXT TTM_GETTEXTW
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTW

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

// TTN_GETDISPINFO: the owner of a tool with LPSTR_TEXTCALLBACK text gives it on request, as
// a pointer, in szText, or as a string resource id with hinst.
struct NMTTDISPINFOW {
  NMHDR hdr;
  LPWSTR lpszText;
  WCHAR szText[80];
  HINSTANCE hinst;
  UINT uFlags;
  LPARAM lParam;
};
using LPNMTTDISPINFOW = NMTTDISPINFOW*;
using NMTTDISPINFO = NMTTDISPINFOW;

#define TTN_GETDISPINFOW (TTN_FIRST - 10)
#define TTN_SHOW (TTN_FIRST - 1)
#define TTN_POP (TTN_FIRST - 2)
#define TTN_NEEDTEXTW TTN_GETDISPINFOW
#define TTN_NEEDTEXT TTN_NEEDTEXTW

// The date and time picker.
#include "datetimepick.h"
