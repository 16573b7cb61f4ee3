// The protected-pattern list and the classifiers over it.
#include "ProtectedLocations.h"

#include <sfc.h>

#include <algorithm>
#include <string_view>

#include "PathParts.h"

namespace {

// File names and parts of names of boot, hive, log, installer and profile files.
constexpr LPCTSTR kProtectedFilePatterns[] = {
    u"ntldr", u"ntdetect.com", u"ntdll.dll", u"ntoskrnl.exe", u"svchost.exe", u"lsass.exe",
    u"services.exe", u"csrss.exe", u"smss.exe", u"boot.ini", u"bootsect.dos", u"io.sys", u"msdos.sys",
    u"command.com", u"software", u"system", u"ntuser.dat", u"ntuser.dat.log", u"ntuser.ini",
    u"explorer.exe", u"system.dat", u"user.dat", u"classes.dat", u"drvspace.bin", u"protocol.ini",
    u"win.ini", u"system.ini", u"win.com", u"program.ini", u"dosprmpt.pif", u"win386.swp",
    u"pagefile.sys", u"hiberfile.sys", u"config.sys", u"autoexec.bat", u"qj.pif", u"passwd.log",
    u"oakley.log", u"ssl.log", u"usrclass.dat", u"usrclass.dat.log", u"cleanup.log", u"desktop.ini",
    u"userdiff.log", u"userdiff", u"tempkey.log", u"system.sav", u"system.log", u"software.sav",
    u"software.log", u"security.log", u"sam.log", u"default.sav", u"default.log", u"sysevent.evt",
    u"appevent.evt", u"secevent.evt", u"security", u"default", u"sam", u".default", u"winnt32.log",
    u"passwd.log", u"oakley.log", u"h32log.txt", u"objects.data", u"outlook.srs", u"extend.dat",
    u"scan.dat", u"outlook.pst", u"index.dat", u"normal.dot", u"schedlog.txt", u"setup.exe",
    u"unwise.exe", u"install.log", u"uninstall.exe", u"uninstall.ini", u"uninstal.exe",
    u"uninstal.ini", u"uninst.isu", u"unins000.exe", u"unins000.dat", u"unins001.exe", u"unins001.dat",
    u"unwise32.exe", u"setup.in", u"schedlgu.txt", u"netlogon.chg", u"userinit.exe", u"data.bak",
    u".~nt", u"bootlog.prv", u"chklist.dll", u"chklist.exe", u"chklist.com", u"chklist.bat",
    u"chklist.txt", u"chklist.doc", u"edb.chk", u"data.sav", u"data.bak", u"w95undo.ini",
    u"autoexec.bat", u".myd", u"config.sys", u"io.sys", u"control.ini", u".prn", u".met", u".slt",
    u".sbd", u"assemblyinfo", u"donotdel.", u"dhcp.tmp", u"jet.log", u".~nt", u".backup",
    u"bootlog.prv", u".dgb.bak", u"schedlog.txt", u"edb.chk", u"setup.chk", u"chklist.dll",
    u"chklist.exe", u"chklist.com", u"chklist.bat", u"chklist.txt", u"chklist.doc", u".myd",
    u"autoexec.bat", u"config.sys", u"io.sys", u"msdos.sys", u"control.ini", u".part", u".prn",
    u".met", u".slt", u".sbd", u"admin.pub", u"getright", u"cache.dat", u"cache.ind", u"chnicon.bmp",
    u"signatures.ini",
};

// Folders of the system, of installers and of other programs' data.
constexpr LPCTSTR kProtectedFolderPatterns[] = {
    u"\\system32\\", u"\\syswow64\\", u"\\connection wizard", u"\\downloaded program files",
    u"\\driver cache", u"\\fonts", u"\\help", u"\\lastgood", u"\\pchealth", u"\\prefatch",
    u"\\registeredpackages", u"\\offline web pages", u"\\repair", u"\\security",
    u"\\program files\\common files", u"\\installshield installation information", u"\\config.msi",
    u"\\program files\\microsoft office", u"\\microsoft", u"\\system volume information",
    u"\\system32\\dllcache", u"program files\\common files", u"program files\\uninstall information",
    u"\\sendto", u"windows\\system32", u"winnt\\system32", u"\\i386", u"\\application data",
    u"\\quarantine", u"\\temporary internet files", u"ntuninstall", u"\\assembly", u"\\lastgood",
    u"\\microsoft.net", u"\\installshield installation information", u"\\servicepackfiles",
    u"\\system32\\config", u"\\system32\\driver", u"\\inetpub", u"windows\\inf", u"winnt\\inf",
    u"\\asp.net_", u"\\asp.net", u"\\asp.net", u".netframework", u"\\.net clr", u"\\windows\\help",
    u"\\winnt\\help", u"\\options\\install", u"\\msocache", u":\\recycle", u":\\recycler",
    u":\\recycled", u":\\_restore", u":\\system volume information", u"symantec shared\\virusdefs",
    u"\\sendto", u"\\paprport\\data", u"chaos32", u"\\system32\\dllcache",
    u"\\program files\\common files", u"\\resources\\themes", u"\\system32\\security",
    u"\\system32\\config", u"\\system32\\catroot", u"\\windows\\security", u"\\winnt\\security",
    u"\\system32\\usmt", u"\\office\\data", u"office\\templates", u"\\content.ie5",
    u"\\microsoft\\office\\", u"\\microsoft\\templates\\", u"\\system32\\config\\systemprofile",
    u"\\vbox\\", u"\\microsoft\\outlook", u"\\assembly\\", u"\\microsoft.net\\framework\\",
    u"\\system32\\catroot", u"\\system32\\usmt", u"\\norton antivirus\\", u"\\quarantine\\",
    u"\\program files\\installshield installation information\\",
    u"\\microsoft.net\\primary interop assemblies", u"\\servicepackfiles\\i386\\",
    u"\\system32\\drivers\\", u"\\local settings\\application data\\identities\\", u"\\pchealth",
    u"\\microsoft\\address", u"\\backup", u"\\application data\\m", u"\\application data\\r",
    u"\\identities\\{", u"\\opera7\\profile", u"\\opera7\\mail", u"\\opera\\profile", u"\\opera\\mail",
    u"\\system32\\ntmsdata\\", u"\\system32\\msdtc\\", u"\\system32\\catroot2\\", u"\\repair\\",
    u"\\csc\\", u"\\registration\\", u"\\all users\\drm\\", u"\\lastgood", u"\\winsxs",
};

// Extensions of programs, scripts, help, installer, shortcut and registry files.
constexpr std::u16string_view kSensitiveExtensions[] = {
    u"acm", u"ade", u"adp", u"app", u"asa", u"asp", u"aspx", u"ax", u"bas", u"bat", u"bin", u"cer",
    u"chm", u"clb", u"cmd", u"cnt", u"cnv", u"com", u"cpl", u"cpx", u"crt", u"csh", u"dll", u"drv",
    u"dtd", u"exe", u"fxp", u"grp", u"h1s", u"hlp", u"hta", u"ime", u"inf", u"ins", u"isp", u"its",
    u"js", u"jse", u"ksh", u"lnk", u"mad", u"maf", u"mag", u"mam", u"man", u"maq", u"mar", u"mas",
    u"mat", u"mau", u"mav", u"maw", u"mda", u"mdb", u"mde", u"mdt", u"mdw", u"mdz", u"msc", u"msi",
    u"msp", u"mst", u"mui", u"nls", u"ocx", u"ops", u"pal", u"pcd", u"pif", u"prf", u"prg", u"pst",
    u"reg", u"scf", u"scr", u"sct", u"shb", u"shs", u"sys", u"tlb", u"tsp", u"url", u"vb", u"vbe",
    u"vbs", u"vsmacros", u"vss", u"vst", u"vsw", u"ws", u"wsc", u"wsf", u"wsh", u"xsd", u"xsl",
};

// Extensions of system programs, which are never unprotected.
constexpr std::u16string_view kSystemProgramExtensions[] = {
    u"exe", u"sys", u"dll", u"com", u"ocx", u"cpl", u"drv", u"tlb", u"vxd", u"cat", u"dot",
};

CString Normalized(const CString& text) {
  CString copy = text;
  copy.Trim();
  copy.MakeLower();
  return copy;
}

void AddProtectedFilePatterns(CStringArray& patterns) {
  for (LPCTSTR pattern : kProtectedFilePatterns) patterns.Add(pattern);
}

// The library-wide list: file-name patterns, then folder patterns, lower-cased and trimmed.
struct PatternList {
  PatternList() {
    CStringArray built;
    AddProtectedFilePatterns(built);
    AddProtectedFolderPatterns(built);
    for (INT_PTR i = 0; i < built.GetSize(); ++i) items.Add(Normalized(built[i]));
  }
  CStringArray items;
};

const CStringArray& ProtectedPatterns() {
  static const PatternList list;
  return list.items;
}

// The extension of the path's last component, without its dot, trimmed and lower-cased.
CString ExtensionWord(const CString& path) {
  CString extension = SplitPathParts(path).extension;
  if (!extension.IsEmpty() && extension[0] == u'.') extension.SetAt(0, u' ');
  return Normalized(extension);
}

template <std::size_t N>
bool IsOneOf(const CString& word, const std::u16string_view (&list)[N]) {
  const std::u16string_view text(word.GetString(), static_cast<std::size_t>(word.GetLength()));
  return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

// Whether the system's file protection guards the file. Bound on first use; a missing
// service, or one that cannot answer, counts as guarding it.
bool GuardedBySystem(const CString& path) {
  using Query = BOOL (*)(HANDLE, LPCWSTR);
  static const Query query = [] {
    HMODULE library = LoadLibraryW(_T("sfc.dll"));
    FARPROC entry = library != nullptr ? GetProcAddress(library, "SfcIsFileProtected") : nullptr;
    return reinterpret_cast<Query>(entry);
  }();
  if (query == nullptr) return true;
  SetLastError(ERROR_SUCCESS);
  if (query(nullptr, path)) return true;
  return GetLastError() != ERROR_FILE_NOT_FOUND;
}

BOOL IsUnprotectedFileType(const CString& path) {
  const CString extension = ExtensionWord(path);
  if (extension.IsEmpty()) return TRUE;
  if (IsOneOf(extension, kSystemProgramExtensions)) return FALSE;
  return !GuardedBySystem(path);
}

}  // namespace

void AddProtectedFolderPatterns(CStringArray& patterns) {
  for (LPCTSTR pattern : kProtectedFolderPatterns) patterns.Add(pattern);
}

BOOL IsUnprotectedPath(const CString& path) {
  CString lower = path;
  lower.MakeLower();
  const CStringArray& patterns = ProtectedPatterns();
  const INT_PTR count = patterns.GetSize();
  for (INT_PTR i = 0; i < count; ++i)
    if (lower.Find(patterns[i]) >= 0) return FALSE;
  return TRUE;
}

BOOL IsUnprotectedFile(const CString& path) {
  CString lower = path;
  lower.MakeLower();
  return IsUnprotectedPath(lower) && IsUnprotectedFileType(lower);
}

BOOL IsSensitiveFileType(const CString& path) {
  const CString extension = ExtensionWord(path);
  return !extension.IsEmpty() && IsOneOf(extension, kSensitiveExtensions);
}
