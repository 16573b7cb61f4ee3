// CKXClient: the two launcher calls.
#include "KXClient.h"

#include <mutex>

#include "LogFile.h"

namespace {

std::mutex g_messageTextLock;
std::mutex g_statusLock;

void PutNumber(std::vector<BYTE>& bytes, LONG value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(value) >> (8 * i)));
}

}  // namespace

RPC_CLIENT_INTERFACE g_KXLauncherInterface = {
    sizeof(RPC_CLIENT_INTERFACE),
    {{0x67b2f678, 0x32b0, 0x429c, {0xbf, 0xf7, 0xe7, 0x71, 0x3b, 0x04, 0xea, 0xcd}}, {1, 0}},
    {},
    nullptr,
    0,
    nullptr,
    0,
    nullptr,
    0};

CKXClient::CKXClient() : CQVX_Utility_ClientBase(kModuleCode) {}

CKXClient::~CKXClient() {
  if (m_connected) Disconnect();
}

BOOL CKXClient::Connect() {
  m_connected = true;
  return ConnectLauncher(&m_binding);
}

void CKXClient::Disconnect() {
  m_connected = false;
  CQVX_Utility_ClientBase::Disconnect(&m_binding);
}

std::vector<BYTE> CKXClient::MessageTextInput(int moduleCode) const {
  std::vector<BYTE> bytes;
  PutNumber(bytes, moduleCode);
  const auto* record = reinterpret_cast<const BYTE*>(m_pRequest);
  if (record) {
    bytes.insert(bytes.end(), record, record + sizeof(tagQVXStatusRequest));
  } else {
    bytes.resize(bytes.size() + sizeof(tagQVXStatusRequest), 0);
  }
  PutNumber(bytes, m_nFlag);
  return bytes;
}

std::vector<BYTE> CKXClient::StatusInput(int moduleCode, int requestCode, int number3) const {
  std::vector<BYTE> bytes = MessageTextInput(moduleCode);
  PutNumber(bytes, requestCode);
  PutNumber(bytes, number3);
  return bytes;
}

void CKXClient::SendMessageText(int moduleCode) {
  std::lock_guard<std::mutex> guard(g_messageTextLock);
  if (g_nLauncherState == 0) Call(0, MessageTextInput(moduleCode));
}

void CKXClient::SendStatus(int moduleCode, int requestCode, int number3) {
  std::lock_guard<std::mutex> guard(g_statusLock);
  if (g_nLauncherState == 0) Call(1, StatusInput(moduleCode, requestCode, number3));
}

void CKXClient::Call(unsigned procNum, const std::vector<BYTE>& input) {
  RPC_MESSAGE message{};
  message.Handle = m_binding;
  message.ProcNum = procNum;
  message.RpcInterfaceInformation = &g_KXLauncherInterface;
  message.BufferLength = static_cast<unsigned>(input.size());
  RPC_STATUS status = m_binding ? I_RpcGetBuffer(&message) : RPC_S_INVALID_BINDING;
  if (status == RPC_S_OK) {
    std::copy(input.begin(), input.end(), static_cast<BYTE*>(message.Buffer));
    status = I_RpcSendReceive(&message);
    // The procedures answer nothing: any reply bytes are not the launcher's.
    if (status == RPC_S_OK && message.BufferLength != 0) status = RPC_X_BAD_STUB_DATA;
    I_RpcFreeBuffer(&message);
  }
  if (status == RPC_S_OK) return;
  if (status == RPC_S_SERVER_UNAVAILABLE) {
    g_nLauncherState = 4;
    return;
  }
  CString line;
  line.Format(_T("RPC error: %d"), static_cast<int>(status));
  WriteLog(line);
  g_nLauncherState = 1;
}
