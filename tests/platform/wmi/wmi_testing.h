// WMI test fixture: a fresh machine root, a host folder of the test's own standing for "/"
// (empty unless the test writes hardware files into it), COM for the thread, and helpers
// that run a query and read its values as text.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine_fixture.h"
#include "wbemcli.h"

namespace zx::test {

class WmiTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Profile(const std::string& text);
  // Writes a file of the stand-in host, e.g. HostFile("/sys/class/dmi/id/bios_vendor", "X\n").
  void HostFile(const std::string& linuxPath, const std::string& bytes);
  std::string HostPath(const std::string& linuxPath) const { return host_.path() + linuxPath; }

  // Connects to root\cimv2 (the test fails when that does not work).
  IWbemServices* Connect();
  // Runs the query and answers, per object, the property's value as text: "NULL" for VT_NULL,
  // "<missing>" when Get fails, numbers in decimal, booleans "TRUE"/"FALSE".
  std::vector<std::string> Column(const std::string& query, const std::string& property);
  HRESULT Run(const std::string& query, IEnumWbemClassObject** enumerator, LONG flags = 0);

 private:
  TempFolder host_;
  IWbemServices* services_ = nullptr;
};

// The value of a property of one object as text, in the form Column uses.
std::string ValueText(IWbemClassObject* object, const std::string& property);

}  // namespace zx::test
