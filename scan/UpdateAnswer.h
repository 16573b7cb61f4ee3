// tagDriverUpdateInfo, one candidate update of the update service's answer, and the reading of
// the answer's exchange text (deciphering with its digest checked).
#pragma once
#include <afx.h>

#include <string_view>

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

// The answers the reading of an exchange text gives.
enum AnswerDecodeResult {
  kAnswerDecoded = 0,
  kAnswerEmpty,        // no text, or only the digest field
  kAnswerMalformed,    // not the digest field and whole code units of hexadecimal digits
  kAnswerWrongDigest,  // the digest field does not name the deciphered text
};

// Replaces an enciphered answer by its plain text when the text is whole (upper-case
// hexadecimal digits, 32 of them for the digest and 4 for each code unit) and its digest
// names the deciphered text; on any other answer the text is left as it was.
AnswerDecodeResult DecodeExchangeAnswer(CString& text);
// The same reading of an answer that stays where it is (the web service's own string): the
// plain text goes to `plain` when decoded, which is left as it was otherwise.
AnswerDecodeResult DecodeExchangeAnswer(std::u16string_view encoded, CString& plain);
