// tagDriverUpdateInfo, one candidate update of the update service's answer.
#pragma once
#include <afx.h>

#include "AnswerText.h"

struct tagDriverUpdateInfo {
  // driverid 0, every text empty.
  void Reset();

  int driverid = 0;
  CAnswerText hardwareidentifier;
  CAnswerText hardwareid;
  CAnswerText infdate;
  CAnswerText infpath;
  CAnswerText version;
  CAnswerText isSpecificCase;
  CAnswerText signer;
  CAnswerText md5;
  CAnswerText isInstall;
  CAnswerText downloadid;
  CAnswerText severity;
  CAnswerText riskLevel;
  CAnswerText liburl;
  CAnswerText CompatibleIdIdx;
  CAnswerText featurescore;
  CAnswerText signaturescore;
};
