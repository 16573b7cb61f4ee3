// WaitForWorkerServingSends.
#include "WorkerWait.h"

void WaitForWorkerServingSends(HANDLE worker) {
  while (::MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  }
}
