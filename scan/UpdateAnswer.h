// tagDriverUpdateInfo, one candidate update of the update service's answer.
#pragma once
#include <afx.h>

struct tagDriverUpdateInfo {
  // driverid 0, every text empty.
  void Reset();

  int driverid = 0;
  CString hardwareidentifier;
  CString hardwareid;
  CString infdate;
  CString infpath;
  CString version;
  CString isSpecificCase;
  CString signer;
  CString md5;
  CString isInstall;
  CString downloadid;
  CString severity;
  CString riskLevel;
  CString liburl;
  CString CompatibleIdIdx;
  CString featurescore;
  CString signaturescore;
};
