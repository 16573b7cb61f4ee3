// The install road's test machine: the shipped laptop profile seeded with the machine values
// the road needs, the tool programs beside the tool folder, a catalogue of driver packages for
// the web service's stand-in, the service routed for the maker's hosts, and the scan and
// update lookup that finds the catalogue's drivers.
#pragma once
#include <afx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "DriverScanUpdate.h"
#include "standin.h"

namespace zx::test::road {

constexpr int kMouse = 0, kIntelDisplay = 1, kNvidiaDisplay = 2;
struct Driver {
  const char* hardwareId;
  const char* name;
  const char* infClass;
  const char* version;
  const char* infDate;  // MM/DD/YYYY
  const char* date;     // YYYY-MM-DD
};
extern const Driver kDrivers[3];

// A results list that keeps only its item count.
class CountingList : public IResultListView {
 public:
  bool HasWindow() const override { return true; }
  void DeleteAllItems() override { count = 0; }
  int GetItemCount() const override { return count; }
  int InsertItem(int item, int) override { return ++count, std::min(item, count - 1); }
  void SetItemDetails(int, const CString&, int, int, const CString&, const CString&, const CString&) override {}
  void SetItemData(int, DWORD_PTR) override {}
  void SetCheck(int, BOOL) override {}
  void SelectSingleItem(int) override {}
  void Repaint() override {}
  int count = 0;
};

// Runs a shell command; the test fails unless it succeeds.
void Shell(const std::string& command);
// A program of the host placed at a Windows path (a script that runs it).
void PlaceProgram(const std::u16string& windowsPath, const std::string& program);
// The INF file of a catalogue driver.
std::string Inf(const Driver& driver);
// The per-system tool folders, the 64-bit Windows 7 one (the test machine's) holding the tools.
tagOsFolders Win7x64Tools();
// A value of the machine's "machine.ini".
void SetMachineValue(const std::string& root, const std::string& section, const std::string& key,
                     const std::string& value);
// Seeds the laptop profile into the machine root, as an administrator on a network, with the
// 7-Zip program, the 64-bit helper and the restore program beside the tool folder.
void SeedLaptop(const std::string& root);
// The catalogue: a pointing device's zip (a device the scan leaves out), the Intel display's
// 7z holding its setup program, the NVIDIA display's zip (whose MD5 it gives wrong when asked,
// or whose package both displays share).
void WriteCatalogue(const std::string& folder, bool wrongMd5 = false, bool sharedPackage = false);
// Starts the stand-in on the catalogue (none: empty) and routes the maker's hosts to it.
std::unique_ptr<StandIn> StartService(const std::string& root, const std::string& catalogue,
                                      const std::string& uploads, const std::string& fault = {});
// Scans and looks up; the device index of each catalogue driver (-1 when not found).
void ScanAndLookUp(std::unique_ptr<CDriverScanUpdate>& engine, int (&index)[3]);

}  // namespace zx::test::road
