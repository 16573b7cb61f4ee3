// The configuration manager's device-node status: whether a device of the machine's device
// tree runs, and the problem that stops it when it does not.
#pragma once
#include "wintypes.h"

using PULONG = ULONG*;
using CONFIGRET = DWORD;
using DEVINST = DWORD;
using PDEVINST = DEVINST*;

#define CR_SUCCESS 0x00000000
#define CR_INVALID_POINTER 0x00000003
#define CR_INVALID_FLAG 0x00000004
#define CR_INVALID_DEVNODE 0x00000005
#define CR_NO_SUCH_DEVNODE 0x0000000D

// Device-node status flags.
#define DN_ROOT_ENUMERATED 0x00000001
#define DN_DRIVER_LOADED 0x00000002
#define DN_ENUM_LOADED 0x00000004
#define DN_STARTED 0x00000008
#define DN_MANUAL 0x00000010
#define DN_NEED_TO_ENUM 0x00000020
#define DN_DISABLEABLE 0x00002000
#define DN_REMOVABLE 0x00004000
#define DN_HAS_PROBLEM 0x00000400
#define DN_NT_ENUMERATOR 0x00800000
#define DN_NT_DRIVER 0x01000000

// Problem numbers.
#define CM_PROB_NOT_CONFIGURED 0x00000001
#define CM_PROB_FAILED_START 0x0000000A
#define CM_PROB_DISABLED 0x00000016
#define CM_PROB_FAILED_INSTALL 0x0000001C
#define CM_PROB_PHANTOM 0x0000002D

// The status flags and problem number of a device node (SP_DEVINFO_DATA.DevInst).
// CR_NO_SUCH_DEVNODE when the device is no longer present.
CONFIGRET CM_Get_DevNode_Status(PULONG status, PULONG problemNumber, DEVINST devInst, ULONG flags);
