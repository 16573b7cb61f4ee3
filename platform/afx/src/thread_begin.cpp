// Starting threads of the class library: AfxBeginThread for worker functions, and
// CWinThread's thread of its own (CreateThread, ResumeThread, priorities).
#include <memory>

#include "afxstate.h"
#include "errhandlingapi.h"

using zx::afx::State;

namespace {

// The start of every thread CWinThread::CreateThread makes.
DWORD RunThreadObject(LPVOID object) {
  auto* thread = static_cast<CWinThread*>(object);
  State().thread = thread;
  DWORD code;
  if (thread->m_pfnThreadProc)
    code = thread->m_pfnThreadProc(thread->m_pThreadParams);
  else
    code = static_cast<DWORD>(thread->InitInstance() ? thread->Run() : thread->ExitInstance());
  if (thread->m_bAutoDelete)
    delete thread;
  else
    State().thread = nullptr;
  return code;
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (m_hThread) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD id = 0;
  const HANDLE handle = ::CreateThread(lpSecurityAttrs, nStackSize, RunThreadObject, this,
                                       dwCreateFlags | CREATE_SUSPENDED, &id);
  if (!handle) return FALSE;
  m_hThread = handle;
  m_nThreadID = id;
  // From here on the thread may end and delete this object.
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(handle);
  return TRUE;
}

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }
BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (!pfnThreadProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_unique<CWinThread>(pfnThreadProc, pParam);
  if (!thread->CreateThread(CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) return nullptr;
  CWinThread* started = thread.release();
  started->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) started->ResumeThread();
  return started;
}
