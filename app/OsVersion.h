// The Windows version the main program runs on: its parts, and the numeric OS identifier
// the scan and link requests send as "osid".
#pragma once
#include <afx.h>

// Major, minor, service-pack major, processor architecture (0 x86, 6 IA64, 9 x64) and build
// number of the running Windows; FALSE only when the queries failed.
BOOL GetOsVersionParts(DWORD& major, DWORD& minor, DWORD& servicePackMajor, DWORD& architecture, DWORD& build);

// The identifier of a Windows version: 4 for XP, 6 Vista x86, 9 Vista x64, 12 Windows 7 x86,
// 21 Windows 7 x64, 14 a home server ... and -1 for a combination the table does not name.
int OsIdFromVersion(DWORD platformId, DWORD major, DWORD minor, DWORD productType, DWORD architecture,
                    DWORD suiteMask);
// The identifier of the running Windows, with the parts it was taken from.
int GetOsId(DWORD& major, DWORD& minor, DWORD& productType, DWORD& architecture);
