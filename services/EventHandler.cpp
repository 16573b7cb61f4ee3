// CEventHandler over the kernel's events and waits.
#include "EventHandler.h"

CEventHandler::CEventHandler() = default;

CEventHandler::CEventHandler(HANDLE event) : m_hEvent(event) {}

CEventHandler::CEventHandler(const CEventHandler& other) : m_hEvent(Duplicate(other.m_hEvent)) {}

CEventHandler& CEventHandler::operator=(const CEventHandler& other) {
  if (this != &other) {
    Close();
    m_hEvent = Duplicate(other.m_hEvent);
  }
  return *this;
}

CEventHandler::~CEventHandler() { Close(); }

HANDLE CEventHandler::Duplicate(HANDLE event) {
  HANDLE copy = nullptr;
  if (event && !DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS))
    copy = nullptr;
  return copy;
}

HANDLE CEventHandler::Create() {
  Close();
  m_hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return m_hEvent;
}

void CEventHandler::Close() {
  if (m_hEvent) CloseHandle(m_hEvent);
  m_hEvent = nullptr;
}

BOOL CEventHandler::Set() { return m_hEvent && SetEvent(m_hEvent); }

BOOL CEventHandler::Reset() { return m_hEvent && ResetEvent(m_hEvent); }

BOOL CEventHandler::WaitFailed(DWORD timeoutMs) {
  return !m_hEvent || WaitForSingleObject(m_hEvent, timeoutMs) != WAIT_OBJECT_0;
}

BOOL CEventHandler::WaitAndReset(DWORD timeoutMs) {
  if (!m_hEvent || WaitForSingleObject(m_hEvent, timeoutMs) != WAIT_OBJECT_0) return FALSE;
  ResetEvent(m_hEvent);
  return TRUE;
}

BOOL CEventHandler::SignalIfIdle(DWORD timeoutMs) {
  if (m_hEvent && WaitForSingleObject(m_hEvent, timeoutMs) == WAIT_OBJECT_0) return FALSE;
  Set();
  return TRUE;
}

BOOL CEventHandler::SetIfIdle(DWORD timeoutMs) { return SignalIfIdle(timeoutMs); }
