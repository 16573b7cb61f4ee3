// Test support of the update lookup tests: device records built in code, an engine holding
// them, and a results list that keeps what it was told.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DriverScanUpdate.h"
#include "machine_fixture.h"

namespace zx::test {

// A device record with a name, class, version, date, hardware ids and compatible ids (the
// filtered lists equal the full ones; slot 15 is the matching id and the compatible ids).
struct DeviceSpec {
  std::u16string name = u"Device";
  std::u16string className = u"System";
  std::u16string version = u"1.0.0.0";
  std::u16string date = u"1-2-2010";
  std::vector<std::u16string> hardwareIds;
  std::vector<std::u16string> compatibleIds;
  std::u16string matchingId;
  int rank = -1;
  int problem = 0;
};
void FillRecord(const DeviceSpec& spec, tagDeviceDriverInfo& record);

class LookupTest : public MachineTest {
 protected:
  // Gives the engine these devices.
  void SetDevices(const std::vector<DeviceSpec>& specs);
  // One answer group ("signer" last) as XML text.
  static std::u16string Group(int driverId, const std::u16string& id, const std::u16string& version,
                              const std::map<std::u16string, std::u16string>& more = {});
  static std::u16string Answer(const std::u16string& groups) { return u"<newdataset>" + groups + u"</newdataset>"; }
  void Parse(const std::u16string& answer);

  std::unique_ptr<CDriverScanUpdate> engine_ = std::make_unique<CDriverScanUpdate>();
  CMarkup document_;
};

// The results list's items as the engine wrote them.
class RecordingList : public IResultListView {
 public:
  struct Item {
    int image = -1;
    std::u16string name, className, currentDate, newDate;
    int severity = 0, risk = 0;
    DWORD_PTR data = 0;
    BOOL checked = FALSE;
  };
  bool HasWindow() const override { return true; }
  void DeleteAllItems() override { items.clear(); }
  int GetItemCount() const override { return static_cast<int>(items.size()); }
  int InsertItem(int item, int image) override;
  void SetItemDetails(int item, const CString& name, int severity, int riskLevel, const CString& className,
                      const CString& currentDate, const CString& newDate) override;
  void SetItemData(int item, DWORD_PTR data) override { items.at(static_cast<std::size_t>(item)).data = data; }
  void SetCheck(int item, BOOL checked) override { items.at(static_cast<std::size_t>(item)).checked = checked; }
  void SelectSingleItem(int item) override { selected = item; }
  void Repaint() override { ++repaints; }

  std::vector<Item> items;
  int selected = -1;
  int repaints = 0;
};

std::u16string Text(const CString& text);
std::string Narrow(const CString& text);
inline std::string Narrow(const CAnswerText& text) { return Narrow(text.Text()); }

}  // namespace zx::test
