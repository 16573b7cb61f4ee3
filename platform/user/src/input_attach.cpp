// AttachThreadInput: accepted between two threads with message queues; their input stays
// their own.
#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "wininput.h"

using namespace zx::user;

BOOL AttachThreadInput(DWORD idAttach, DWORD idAttachTo, BOOL) {
  CurrentQueue();  // as with any call of the window system, the caller gets its queue
  if (idAttach == idAttachTo || !QueueOfThread(idAttach) || !QueueOfThread(idAttachTo)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
