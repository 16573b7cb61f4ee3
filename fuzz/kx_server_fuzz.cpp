// Fuzz target: hostile calls of the main program's served interface. The first byte picks
// the procedure, the rest is the call's input. A call is answered with a 32-bit result
// exactly when its input has the procedure's size, and nothing is read beyond the input.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "KXServer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static tagLauncherState state;
  static CPopupArming popup;
  static CKXServer server(state, popup, tagKXServerWindows{});
  static void (CKXServer::*const slots[])(PRPC_MESSAGE) = {
      &CKXServer::Operation0, &CKXServer::Operation1, &CKXServer::Operation2, &CKXServer::Operation3,
      &CKXServer::Operation4, &CKXServer::Operation5, &CKXServer::Operation6, &CKXServer::Operation7,
  };
  const unsigned procedure = data[0] % 8;
  // A copy of its own, so that reading past the input shows.
  std::vector<std::uint8_t> input(data + 1, data + size);
  RPC_MESSAGE message{};
  message.Buffer = input.empty() ? nullptr : input.data();
  message.BufferLength = static_cast<unsigned>(input.size());
  message.ProcNum = procedure;
  (server.*slots[procedure])(&message);
  const bool answered = message.Buffer != (input.empty() ? nullptr : input.data());
  const bool takesInput = procedure == 4 || procedure == 6;
  if (answered != (input.size() == (takesInput ? 4u : 0u))) std::abort();
  if (answered) {
    if (message.BufferLength != 4) std::abort();
    I_RpcFreeBuffer(&message);
  }
  if (procedure == 4) popup.Rearm();
  return 0;
}
