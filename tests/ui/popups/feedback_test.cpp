// The feedback form, typed into and clicked as a user would: the address and message checks
// with their messages (the form usable again afterwards, nothing typed lost), a sent document
// deciphered from what the loopback web service kept and compared with its golden form, the
// service's failures reported with the form left open and filled, a reopened form empty, and
// the look of the form, its tool rows' pictures and the tooltips it relays.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "DlgParentTransculent.h"
#include "DlgQVXFeedback.h"
#include "ExchangeEncoding.h"
#include "cstring_printer.h"
#include "popups_testing.h"
#include "standin.h"
#include "zx/comctl.h"

namespace zx::test {
namespace {

constexpr UINT kEmail = 1223;
constexpr UINT kMessage = 1241;
constexpr UINT kSubmit = 1001;

class FeedbackForm : public PopupTest {
 protected:
  void TearDown() override {
    standIn_.reset();
    PopupTest::TearDown();
  }
  void StartStandIn(const std::string& fault = {}) {
    WriteSampleCatalogue(catalogue_.path());
    standIn_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), uploads_.path(), fault));
    ASSERT_GT(standIn_->port(), 0);
    const std::string port = std::to_string(standIn_->port());
    WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=127.0.0.1:" +
                                               port + "\nupdate2.zephrin-tunevo.example=127.0.0.1:" + port + "\n");
  }
  static HWND Item(CDlgQVXFeedback& form, UINT id) { return ::GetDlgItem(form.GetSafeHwnd(), id); }
  // Clicks into the field and types the text.
  static void Fill(CDlgQVXFeedback& form, UINT id, const std::u16string& text) {
    Click(Item(form, id));
    Pump();  // the click gives the field the focus before the keys come
    Type(text);
  }
  // The documents the service kept, deciphered.
  std::vector<std::u16string> Uploaded() const {
    std::vector<std::u16string> documents;
    for (const auto& entry : std::filesystem::directory_iterator(uploads_.path())) {
      const std::string bytes = ReadHostFile(entry.path().string());
      CString text(std::u16string(bytes.begin(), bytes.end()).c_str());
      if (getOutputStrFromHex(text)) documents.emplace_back(text.GetString());
      else documents.emplace_back(u"<not deciphered>");
    }
    return documents;
  }

  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> standIn_;
};

struct Check {
  const char16_t* email;
  const char16_t* message;
  const char16_t* shown;  // null: accepted
};

class Checks : public FeedbackForm, public ::testing::WithParamInterface<Check> {};

TEST_P(Checks, TheAddressAndMessageAreCheckedAndTheFormStaysUsable) {
  const Check check = GetParam();
  CDlgQVXFeedback form(&owner_);
  CString shown;
  int built = 2;
  WhileModal({[&] {
                if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
                Fill(form, kEmail, check.email);
                Fill(form, kMessage, check.message);
                form.PostMessage(WM_NULL);
                return true;
              },
              [&] {
                if (check.shown == nullptr) {
                  built = form.BuildFeedback();
                  form.PostMessage(WM_NULL);
                  return true;
                }
                Click(Item(form, kSubmit));
                return true;
              },
              [&] {
                if (check.shown == nullptr) {
                  form.PostMessage(WM_NULL);
                  return true;
                }
                const HWND box = RunningMessageBox();
                if (box == nullptr) return false;
                shown = MessageBoxText(box);
                AnswerMessageBox(box);
                return true;
              },
              [&] {
                if (RunningMessageBox()) return false;
                EXPECT_TRUE(::IsWindowEnabled(form.GetSafeHwnd()));
                EXPECT_TRUE(::IsWindowEnabled(Item(form, kSubmit)));
                EXPECT_EQ(Text(Item(form, kEmail)), check.email);
                EXPECT_EQ(Text(Item(form, kMessage)), check.message);
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId);
  ExpectAllStepsRan();
  if (check.shown) {
    EXPECT_NE(shown.Find(check.shown), -1) << CStringA(shown).GetString();
    EXPECT_EQ(form.GetFeedbackXml(), u"");
  } else {
    EXPECT_EQ(built, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Checks,
    ::testing::Values(Check{u"", u"Fine", u"Please enter a valid e-mail address."},
                      Check{u"ann", u"Fine", u"Please enter a valid e-mail address."},
                      Check{u"@example.com", u"Fine", u"Please enter a valid e-mail address."},
                      Check{u"ann@", u"Fine", u"Please enter a valid e-mail address."},
                      Check{u"a@b", u"   ", u"Please write your feedback."},
                      Check{u"a@b", u"Fine", nullptr}, Check{u"ann@example.com", u" Scans are quick ", nullptr}));

// What the service keeps of the form filled in below, deciphered; "#" stands for the figures of
// the machine's memory and disks and for its identifier.
constexpr const char16_t* kGoldenDocument =
    u"<sf_feedback>\r\n<feedback>\r\n<email>ann@example.com</email>\r\n<feedback_type>Praise</feedback_type>\r\n"
    u"<content>Scans are quick</content>\r\n</feedback>\r\n<SetPublishState>\r\n<allowed>1</allowed>\r\n"
    u"</SetPublishState>\r\n<favorite_tools>\r\n<appid>21</appid>\r\n</favorite_tools>\r\n<sys_info>\r\n"
    u"<os_major_version>6</os_major_version>\r\n<os_minor_version>1</os_minor_version>\r\n"
    u"<os_product_type>1</os_product_type>\r\n<os_architecture_type>9</os_architecture_type>\r\n"
    u"<service_pack_major_version>1</service_pack_major_version>\r\n"
    u"<service_pack_minor_version>0</service_pack_minor_version>\r\n<memory_info>\r\n<total_phy>#</total_phy>\r\n"
    u"<avail_phy>#</avail_phy>\r\n<total_page_file>#</total_page_file>\r\n<avail_page_file>#</avail_page_file>\r\n"
    u"</memory_info>\r\n<system_driver>C:</system_driver>\r\n<drive_info>\r\n<drive_name>C:\\</drive_name>\r\n"
    u"<total_size_in_bytes>#</total_size_in_bytes>\r\n<free_space_in_bytes>#</free_space_in_bytes>\r\n"
    u"<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n<drive_info>\r\n<drive_name>Z:\\</drive_name>\r\n"
    u"<total_size_in_bytes>#</total_size_in_bytes>\r\n<free_space_in_bytes>#</free_space_in_bytes>\r\n"
    u"<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n</sys_info>\r\n<key>\r\n<mac_id>#</mac_id>\r\n"
    u"</key>\r\n<prog_info>\r\n<prog_ver/>\r\n</prog_info>\r\n</sf_feedback>";

// The parts that depend on the machine's memory and disks, made comparable.
std::u16string Comparable(const std::u16string& document) {
  std::string text(document.begin(), document.end());
  text = std::regex_replace(text, std::regex("<(total_phy|avail_phy|total_page_file|avail_page_file|total_size_in_bytes|"
                                             "free_space_in_bytes|used_space_in_bytes)>[0-9]+<"),
                            "<$1>#<");
  text = std::regex_replace(text, std::regex("<mac_id>[^<]*<"), "<mac_id>#<");
  return std::u16string(text.begin(), text.end());
}

TEST_F(FeedbackForm, TheSentDocumentReachesTheServiceEnciphered) {
  StartStandIn();
  CDlgQVXFeedback form(&owner_);
  CString shown;
  WhileModal({[&] {
                if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
                Fill(form, kEmail, u"ann@example.com");
                ::SetFocus(Item(form, 1216));
                Tap(VK_DOWN);
                Tap(VK_DOWN);
                Fill(form, kMessage, u"  Scans are quick  ");
                Click(Item(form, 1215));
                form.PostMessage(WM_NULL);
                return true;
              },
              [&] {
                // The check box of the second tool (21).
                auto* list = dynamic_cast<CFancyListCtrl*>(CWnd::FromHandlePermanent(Item(form, 1229)));
                CRect box = list->GetCheckBoxRect(1);
                list->ClientToScreen(&box);
                ClickAt(box.CenterPoint());
                Click(Item(form, kSubmit));
                return true;
              },
              UntilMessageBox(form, shown, 64), [&] {
                clock_.Advance(64);
                form.PostMessage(WM_NULL);
                return true;
              }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId), IDOK);
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(u"Thank you for your feedback."), -1) << CStringA(shown).GetString();
  EXPECT_EQ(form.GetStatusText(), u"Feedback sent.");
  const std::vector<std::u16string> documents = Uploaded();
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(Comparable(documents[0]), std::u16string(kGoldenDocument));
}

class Faults : public FeedbackForm, public ::testing::WithParamInterface<const char*> {};

TEST_P(Faults, AFailedUploadIsReportedAndTheFormKeepsWhatWasTyped) {
  StartStandIn(GetParam());
  CDlgQVXFeedback form(&owner_);
  CString shown;
  WhileModal({[&] {
                if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
                Fill(form, kEmail, u"ann@example.com");
                Fill(form, kMessage, u"Scans are quick");
                Click(Item(form, kSubmit));
                return true;
              },
              UntilMessageBox(form, shown, 1000), [&] {
                if (RunningMessageBox()) return false;
                EXPECT_TRUE(::IsWindowEnabled(form.GetSafeHwnd()));
                EXPECT_TRUE(::IsWindowEnabled(Item(form, kSubmit)));
                EXPECT_EQ(Text(Item(form, kEmail)), u"ann@example.com");
                EXPECT_EQ(Text(Item(form, kMessage)), u"Scans are quick");
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(u"Your feedback could not be sent. Please try again later."), -1) << CStringA(shown).GetString();
  EXPECT_EQ(form.GetStatusText(), u"Your feedback could not be sent. Please try again later.");
}

INSTANTIATE_TEST_SUITE_P(Modes, Faults, ::testing::Values("noanswer", "http500", "garbage"));

TEST_F(FeedbackForm, AReopenedFormIsEmptyAndMatchesTheReference) {
  for (int round = 0; round < 2; ++round) {
    CDlgQVXFeedback form(&owner_);
    WhileModal({[&] {
                  if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
                  EXPECT_EQ(Text(Item(form, kEmail)), u"");
                  EXPECT_EQ(Text(Item(form, kMessage)), u"");
                  EXPECT_EQ(::SendMessageW(Item(form, 1216), CB_GETCURSEL, 0, 0), 0);
                  EXPECT_EQ(::SendMessageW(Item(form, 1215), BM_GETCHECK, 0, 0), BST_UNCHECKED);
                  Fill(form, kEmail, u"ann@example.com");
                  Click(Item(form, 1215));
                  form.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                  return true;
                },
                [&] {
                  if (round == 1) ExpectWindowMatches(form.GetSafeHwnd(), "feedback.png");
                  Click(Item(form, IDCANCEL));
                  return true;
                }});
    RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId);
    ExpectAllStepsRan();
  }
}

// The tool rows carry their pictures from bitmap 1039; the form's own tooltip control is
// relayed what the form takes in (a click on its e-mail field), the keys it keeps excepted.
TEST_F(FeedbackForm, ToolRowsHaveTheirPicturesAndTheTooltipsAreRelayedTheFormsInput) {
  CDlgQVXFeedback form(&owner_);
  std::vector<int> images;
  int pictures = 0;
  std::vector<UINT> relayed;
  WhileModal({[&] {
    if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
    const HWND list = Item(form, 1229);
    if (const auto cells = reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)))
      pictures = ImageList_GetImageCount(cells);
    for (int row = 0; row < ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
      LVITEMW item{};
      item.mask = LVIF_IMAGE;
      item.iItem = row;
      ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      images.push_back(item.iImage);
    }
    // Taken by the form's modal loop, which offers each message to the form first.
    Click(Item(form, kEmail));
    Tap(VK_ESCAPE);
    return true;
  }, [&] {
    for (HWND tooltip : ThreadTooltips())
      for (const MSG& msg : comctl::RelayedEvents(tooltip)) relayed.push_back(msg.message);
    Click(Item(form, IDCANCEL));
    return true;
  }});
  RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_EQ(images, (std::vector<int>{0, 1}));
  EXPECT_GE(pictures, 2);
  EXPECT_NE(std::find(relayed.begin(), relayed.end(), UINT(WM_LBUTTONDOWN)), relayed.end());
  EXPECT_EQ(std::find(relayed.begin(), relayed.end(), UINT(WM_KEYDOWN)), relayed.end());
}

}  // namespace
}  // namespace zx::test
