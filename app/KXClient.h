// CKXClient: the main program's caller of the launcher's interface ({67b2f678-32b0-429c-
// bff7-e7713b04eacd} version 1.0 on "\pipe\zephrinkxlauncher_rpcecho_homeserver"), module
// code 8. Its two procedures carry the status record the base has just built: procedure 1
// the client's id, the record, the client's value, the status code and one number;
// procedure 0 the id, the record and the value; neither answers anything. Each procedure's
// calls are serialised process-wide. Calls are made only while the launcher state is 0: an
// unreachable launcher sets it to 4, any other failure (a hung-up call, a reply that is not
// empty) to 1.
#pragma once
#include <afx.h>

#include <vector>

#include "RpcBases.h"

// The called interface.
extern RPC_CLIENT_INTERFACE g_KXLauncherInterface;

class CKXClient : public CQVX_Utility_ClientBase {
 public:
  static constexpr int kModuleCode = 8;

  CKXClient();
  ~CKXClient() override;

  // Binds to the launcher and marks its presence in the registry; Disconnect (or the
  // destructor) frees the binding and removes the mark.
  BOOL Connect() override;
  void Disconnect() override;
  // Procedure 0.
  void SendMessageText(int moduleCode) override;
  // Procedure 1.
  void SendStatus(int moduleCode, int requestCode, int number3) override;

  // The bytes of the two calls' inputs for the current record.
  std::vector<BYTE> MessageTextInput(int moduleCode) const;
  std::vector<BYTE> StatusInput(int moduleCode, int requestCode, int number3) const;

 private:
  // Calls a procedure with the input and judges the answer; the launcher state follows it.
  void Call(unsigned procNum, const std::vector<BYTE>& input);

  RPC_BINDING_HANDLE m_binding = nullptr;
  bool m_connected = false;
};
