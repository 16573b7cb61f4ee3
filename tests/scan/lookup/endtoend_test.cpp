// Whole lookups of the shipped machine profiles: the profile is seeded and scanned, the scan
// request built, enciphered and sent over loopback to the stand-in of the web service, whose
// catalogue offers newer, equal and older drivers, drivers known only by a compatible id and
// drivers of absent devices; the answer is deciphered, read and matched, and the result rows
// filled. The request and the matched rows are compared with golden files; ZX_UPDATE_GOLDEN=1
// writes them (and the laptop and desktop catalogues) afresh instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "DriverInstallEngine.h"
#include "EngineCallbacks.h"
#include "GlobalConstants.h"
#include "UpdateServiceHelper.h"
#include "lookup_testing.h"
#include "scan_testing.h"
#include "profile_catalogue.h"
#include "standin.h"

namespace zx::test {
namespace {

bool Regenerating() {
  const char* flag = std::getenv("ZX_UPDATE_GOLDEN");
  return flag != nullptr && std::string(flag) == "1";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Utf8(const CString& text) {
  std::string out;
  for (int i = 0; i < text.GetLength(); ++i) {
    const unsigned c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

class UpdateLookup : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    SetEngineProgressView(&view_);
  }
  void TearDown() override { SetEngineProgressView(nullptr); }

  // Writes the profile's catalogue, seeds the profile with the machine's own values, scans it
  // into the engine and gives the engine the machine description.
  void Prepare(const std::string& name, const std::string& profilePath) {
    const std::string profileText = ReadText(profilePath);
    ASSERT_FALSE(profileText.empty()) << profilePath;
    // The catalogue: the shipped one of the profile, or one written from the profile.
    const std::string shipped = std::string(ZX_CATALOGUE_DIR) + "/" + name + "/catalogue.ini";
    std::string catalogue = ReadText(shipped);
    if (catalogue.empty() || Regenerating()) {
      catalogue = CatalogueOfProfile(profileText);
      if (Regenerating() && name != "workstation") WriteText(shipped, catalogue);
    }
    WriteHostFile(catalogueFolder_.path() + "/catalogue.ini", catalogue);
    WriteHostFile(catalogueFolder_.path() + "/package.zip", "package bytes");

    SeedFile(profilePath);
    SetMachineValue("Network", "Connection", "lan");
    SetMachineValue("Win32_BIOS", "Instances", "1");
    SetMachineValue("Win32_BIOS", "Name", name + " BIOS");
    SetMachineValue("Win32_BIOS", "Manufacturer", "Zx Firmware");
    SetMachineValue("Win32_BIOS", "SMBIOSBIOSVersion", "1.07");
    SetMachineValue("Win32_BaseBoard", "Instances", "1");
    SetMachineValue("Win32_BaseBoard", "Product", name + " board");
    SetMachineValue("Win32_BaseBoard", "Manufacturer", "Zx Boards");

    ASSERT_EQ(engine_.ReportScanEnd(_T("")), kStepCompleted);
    ASSERT_TRUE(engine_.IsScanDone());
    ASSERT_GT(engine_.GetDeviceCount(), 0);
    CHardwareHash hash;
    const CString bios[] = {g_strPropName, g_strPropManufacturer, g_strPropBiosVersion, g_strPropSerialNumber,
                            g_strPropReleaseDate};
    const CString board[] = {g_strPropProduct, g_strPropManufacturer, g_strPropSerialNumber, g_strPropVersion};
    hash.QueryWmiClass(5, hash.m_arrBios, CHardwareHash::WMI_BIOS, bios);
    hash.QueryWmiClass(4, hash.m_arrBaseBoard, CHardwareHash::WMI_BASEBOARD, board);
    tagScanRequestMachine machine;
    TakeHardwareLists(hash, machine);
    machine.arrMacAddresses.RemoveAll();
    machine.arrMacAddresses.Add(_T("00155D010203"));
    machine.nOsId = 21;
    machine.strMachineId = _T("1234567890");
    machine.strAppName = _T("Zephrin Tunevo");
    machine.strUtmSource = _T("tests");
    machine.strUtmCampaign = _T("lookup");
    machine.strComputerName = CString(name.c_str()).MakeUpper();
    machine.strUserHash = _T("user-hash");
    engine_.SetRequestMachine(machine);
  }

  // A stand-in over the catalogue, with both of the maker's hosts routed to it.
  std::unique_ptr<StandIn> StartStandIn(std::vector<std::string> arguments = {}) {
    auto standIn = std::make_unique<StandIn>(StandInOptions(catalogueFolder_.path(), {}, {}, 0, std::move(arguments)));
    EXPECT_GT(standIn->port(), 0);
    for (const char* host : {"update.zephrin-tunevo.example", "update2.zephrin-tunevo.example"})
      SetMachineValue("Hosts", host, "127.0.0.1:" + std::to_string(standIn->port()));
    return standIn;
  }

  void Run(const std::string& name, const std::string& profilePath) {
    ASSERT_NO_FATAL_FAILURE(Prepare(name, profilePath));
    const std::unique_ptr<StandIn> standIn = StartStandIn();
    CDriverScanUpdate& engine = engine_;
    CMarkup request;
    engine.BuildScanRequestXml(engine.GetDevices(), engine.GetDeviceCount(), request);
    const std::string requestText = Utf8(request.GetDocumentText());

    CUpdateServiceHelper helper;
    ASSERT_EQ(engine.LookUpUpdates(helper), kStepCompleted);
    EXPECT_EQ(engine.GetSkippedAnswerRecords(), 0);
    RecordingList list;
    engine.SetResultList(&list);
    ASSERT_EQ(engine.FillResults(), 1);
    EXPECT_EQ(static_cast<int>(list.items.size()), engine.GetUpdatesFound());
    EXPECT_GT(engine.GetUpdatesFound(), 0);

    // The matched devices: found ones with their row, filled ones that do not count.
    std::string results = "# device | matched id | new version | rank | identifier part | state\n";
    for (int index = 0; index < engine.GetDeviceCount(); ++index) {
      const tagDeviceDriverInfo* update = engine.GetUpdateRecord(index);
      if (update == nullptr || update->szText[kSlotHardwareId].IsNull()) continue;
      const tagDeviceDriverInfo& device = *engine.GetDevices()->GetAt(index);
      const DWORD rank = static_cast<DWORD>(update->nDriverRank);
      INT_PTR position = 0;
      const CString matched = update->szText[kSlotHardwareId].Text();
      std::string why = "other id";
      if (CDriverScanUpdate::FindIdInList(device.arrAllHardwareIds, matched, position))
        why = "hardware id " + std::to_string(position);
      else if (CDriverScanUpdate::FindIdInList(device.arrAllCompatibleIds, matched, position))
        why = "compatible id " + std::to_string(position);
      const bool found = engine.GetUpdatedDevices().count(index) != 0;
      char rankText[16];
      std::snprintf(rankText, sizeof rankText, "%08x", rank);
      results += std::to_string(index) + " " + Utf8(device.szText[kSlotDeviceName].Text()) + " | " + Utf8(matched) +
                 " | " + Utf8(update->szText[kSlotDriverVersion].Text()) + " (was " +
                 Utf8(device.szText[kSlotDriverVersion].Text()) + ") | " + rankText + " | " + why + " | " +
                 (found ? "found" : "not counted: device rank " + std::to_string(device.nDriverRank)) + "\n";
    }
    results += "# rows\n";
    for (const RecordingList::Item& item : list.items)
      results += Utf8(CString(item.name.c_str())) + " | " + Utf8(CString(item.className.c_str())) + " | severity " +
                 std::to_string(item.severity) + " | " + Utf8(CString(item.currentDate.c_str())) + " -> " +
                 Utf8(CString(item.newDate.c_str())) + "\n";

    const std::string golden = std::string(ZX_LOOKUP_GOLDEN_DIR) + "/" + name;
    if (Regenerating()) {
      WriteText(golden + ".request.xml", requestText);
      WriteText(golden + ".results.txt", results);
      return;
    }
    const std::string expectedRequest = ReadText(golden + ".request.xml");
    ASSERT_FALSE(expectedRequest.empty()) << golden << ".request.xml";
    EXPECT_TRUE(expectedRequest == requestText) << "the request differs from " << golden << ".request.xml";
    EXPECT_EQ(ReadText(golden + ".results.txt"), results);
  }

  CEngineProgressView view_;
  TempFolder catalogueFolder_;
  CDriverScanUpdate engine_;
};

// Damaged answers fail cleanly or have their damaged parts skipped; the sound part of the
// answer still counts.
TEST_F(UpdateLookup, HostileAnswersFailCleanlyOrAreSkipped) {
  ASSERT_NO_FATAL_FAILURE(Prepare("laptop", ZX_PROFILES_DIR "/laptop.profile"));
  CUpdateServiceHelper helper;
  {
    const auto standIn = StartStandIn();
    ASSERT_EQ(engine_.LookUpUpdates(helper), kStepCompleted);
  }
  const int found = engine_.GetUpdatesFound();
  ASSERT_GT(found, 0);
  // A second scan takes the same devices afresh.
  const int devices = engine_.GetDeviceCount();
  ASSERT_EQ(engine_.ReportScanEnd(_T("")), kStepCompleted);
  EXPECT_EQ(engine_.GetDeviceCount(), devices);
  EXPECT_EQ(engine_.GetUpdatesFound(), 0);
  struct Case {
    const char* mode;
    int result;
    bool keepsFound;
  };
  for (const Case& c : {Case{"wrongdigest", kStepCompleted, true}, Case{"short", kStepFailed, false},
                        Case{"foreignids", kStepCompleted, true},
                        Case{"malformed", kStepCompleted, false}, Case{"hugetext", kStepCompleted, true},
                        Case{"repeated", kStepCompleted, true}}) {
    const auto standIn = StartStandIn({"--hostile-answer", c.mode});
    EXPECT_EQ(engine_.LookUpUpdates(helper), c.result) << c.mode;
    EXPECT_EQ(engine_.GetUpdatesFound(), c.keepsFound ? found : 0) << c.mode;
    if (std::string(c.mode) == "foreignids") {
      EXPECT_EQ(engine_.GetSkippedAnswerRecords(), 5);
    }
  }
}

TEST_F(UpdateLookup, Laptop) { Run("laptop", ZX_PROFILES_DIR "/laptop.profile"); }
TEST_F(UpdateLookup, Desktop) { Run("desktop", ZX_PROFILES_DIR "/desktop.profile"); }
// The workstation's catalogue is written from the generated profile at each run.
TEST_F(UpdateLookup, GeneratedWorkstation) { Run("workstation", ZX_WORKSTATION_PROFILE); }

}  // namespace
}  // namespace zx::test
