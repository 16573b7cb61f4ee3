// Fuzz target: hostile bytes as the update service's answer. The first byte picks the form:
// even, the bytes (as Windows-1252 text) are the plain answer document; odd, they are the
// enciphered exchange text, deciphered first, whole by getOutputStrFromHex and read in pieces
// of the size the first byte gives, which must agree. The answer is read and matched to three scanned devices and the result rows are
// filled: whatever the bytes, nothing is read or written outside the devices and update
// records, and found updates always name a device.
// Links: zephrinkx_core
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "DriverScanUpdate.h"
#include "ExchangeAnswerReader.h"

namespace {

class NullList : public IResultListView {
 public:
  bool HasWindow() const override { return true; }
  void DeleteAllItems() override { items_ = 0; }
  int GetItemCount() const override { return items_; }
  int InsertItem(int item, int) override { return item >= 0 && item <= items_ ? items_++ : -1; }
  void SetItemDetails(int item, const CString&, int, int, const CString&, const CString&, const CString&) override {
    if (item < 0 || item >= items_) std::abort();
  }
  void SetItemData(int item, DWORD_PTR) override {
    if (item < 0 || item >= items_) std::abort();
  }
  void SetCheck(int item, BOOL) override {
    if (item < 0 || item >= items_) std::abort();
  }
  void SelectSingleItem(int item) override {
    if (item < 0 || item >= items_) std::abort();
  }
  void Repaint() override {}

 private:
  int items_ = 0;
};

constexpr int kDevices = 3;

std::unique_ptr<CDriverScanUpdate> MakeEngine() {
  auto engine = std::make_unique<CDriverScanUpdate>();
  auto devices = std::make_unique<CDeviceRecordArray>(kDevices);
  const LPCTSTR ids[kDevices] = {_T("PCI\\VEN_8086&DEV_1E03&SUBSYS_21F317AA&REV_04"), _T("USB\\VID_0A5C&PID_21E6"),
                                 _T("HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269")};
  for (int i = 0; i < kDevices; ++i) {
    tagDeviceDriverInfo& record = *devices->GetAt(i);
    record.Reset();
    record.szText[kSlotDeviceName].Set(_T("Device"));
    record.szText[kSlotClassName].Set(_T("System"));
    record.szText[kSlotDriverVersion].Set(_T("1.2.3.4"));
    record.szText[kSlotHardwareId].Set(ids[i]);
    record.szText[kSlotMatchingIdList].Set(ids[i]);
    record.arrAllHardwareIds.Add(ids[i]);
    record.arrHardwareIds.Add(ids[i]);
  }
  engine->SetScannedDevices(std::move(devices), kDevices);
  engine->SetScanDone(TRUE);
  return engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static std::unique_ptr<CDriverScanUpdate> engine = MakeEngine();
  CString text;
  for (std::size_t i = 1; i < size; ++i) text += static_cast<WCHAR>(data[i]);
  if ((data[0] & 1) != 0) {
    CString whole = text;
    const BOOL taken = getOutputStrFromHex(whole);
    CExchangeAnswerReader reader;
    reader.Begin(static_cast<std::size_t>(text.GetLength()));
    const std::u16string_view all(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    const std::size_t piece = 1 + (data[0] >> 1);
    for (std::size_t at = 0; at < all.size(); at += piece) reader.Take(all.substr(at, piece));
    CString read;
    if (reader.Finish(read) != taken || reader.Received() != text || read != whole) std::abort();
    // ASCII input read as its bytes gives the same, its plain text handed over.
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (std::none_of(bytes.begin(), bytes.end(), [](char ch) { return ch & 0x80; })) {
      CExchangeAnswerReader narrow;
      narrow.Begin(bytes.size());
      for (std::size_t at = 0; at < bytes.size(); at += piece) narrow.TakeAscii(bytes.substr(at, piece));
      CString plain;
      if (narrow.TakePlain(plain) != taken || plain != whole) std::abort();
    }
    if (!taken) return 0;
    text = whole;
  }
  CMarkup document;
  engine->ParseUpdateResults(document, text);
  for (const int device : engine->GetUpdatedDevices())
    if (device < 0 || device >= kDevices || engine->GetUpdateRecord(device) == nullptr) std::abort();
  if (engine->GetUpdatesFound() != static_cast<int>(engine->GetUpdatedDevices().size())) std::abort();
  NullList list;
  engine->SetResultList(&list);
  if (engine->FillResults() != 1 || engine->GetResultRows().GetSize() != engine->GetUpdatesFound()) std::abort();
  engine->SetResultList(nullptr);
  return 0;
}
