// CHVService: the services of the Service Control Manager as the schedule page needs them: the
// list of services with their programs, whether one runs, and starting one (set to start
// automatically) when it does not. Failures show only in the answers.
#pragma once
#include <afx.h>
#include <afxtempl.h>
#include <windows.h>

struct HVServiceDetails {
  CString strServiceName;
  CString strDisplayName;
  CString strBinaryPath;  // the configuration's binary path
  DWORD dwFlag = 0;       // 1 once the record is made
};

class CHVService : public CObject {
  DECLARE_DYNAMIC(CHVService)

 public:
  CHVService() = default;
  ~CHVService() override = default;

  // Fills the list with every Win32 service whose configuration can be read; false (and an
  // empty list) when the services cannot be listed or do not fit the listing buffer.
  BOOL EnumServices();
  // True when the service is neither stopped nor stopping; false also when it cannot be read.
  BOOL IsServiceRunning(LPCWSTR serviceName);
  // 1 when the service was stopped and its start was requested (and, with bSetAutomatic, its
  // start type made automatic); 0 when the user is not an administrator, the service cannot be
  // opened, it already runs, or the start request failed (then nothing is changed).
  int EnsureServiceRunning(LPCWSTR serviceName, BOOL bSetAutomatic);
  // 1 with the service's program path in place of the name, else 0 (the name unchanged).
  int GetServiceBinaryPath(CString& serviceName);

  const CArray<HVServiceDetails>& GetServices() const { return m_arrServices; }

 private:
  CArray<HVServiceDetails> m_arrServices;
};
