// The driver feedback form, typed into and clicked as a user would: its checks in order with
// their messages (the form usable again, nothing typed lost), the document sent enciphered to
// the loopback web service and compared with its golden form, the service's failures reported
// with the form left open and filled, the busy flag, and the look of the form.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "DlgBaseShared.h"
#include "DlgNagDriverFeedback.h"
#include "DlgParentTransculent.h"
#include "ExchangeEncoding.h"
#include "cstring_printer.h"
#include "popups_testing.h"
#include "standin.h"

namespace zx::test {
namespace {

constexpr UINT kEmail = 5305;
constexpr UINT kType = 5306;
constexpr UINT kText = 5307;

// Texts are read once per process, so every test of this program sees these.
constexpr char kTexts[] =
    "[QVX]\r\nIDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "[Tunevo]\r\nIDS_SUBMIT=Submit\r\nIDS_CANCLE=Cancel\r\nIDS_VIEWATTACH_LOG=View log\r\n"
    "IDS_PREVIEW_FEEDBACK=Preview\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "IDS_SELECPRB_TYPE=Choose a type\r\nIDS_PRB_DOWNLOAD=Problem while downloading\r\n"
    "IDS_PRB_INSTALLING=Problem while installing\r\nIDS_UNDERSTAND_PRB=Hard to understand\r\n"
    "IDS_DRIVERUPDATE_SUCCES=The update worked\r\nIDS_GENERAL_FEEDBACK=General feedback\r\n"
    "IDS_FEEDBAKNAG_DESC=Tell us about your drivers\r\nIDS_FEEDBACKNAG_DESC2=Your report helps us find better drivers.\r\n"
    "IDS_BRIEF_EXPRE=Describe what happened\r\n"
    "IDS_IDEMAIL_NOTEMPTY=Please enter your e-mail address.\r\n"
    "IDS_IDEMAIL_NOTEMPTY_VALID=Please enter a valid e-mail address.\r\n"
    "IDS_FEEDBACK_TYPE=Please choose a feedback type.\r\nIDS_FEEDBACK_NOEMPTY=Please write your feedback.\r\n"
    "IDS_FEEBACK_UPLOAD_STATUS=Sending your feedback...\r\nIDS_FEEBACK_UPLOAD_SUCCESS=Feedback sent.\r\n"
    "IDS_THANK_FEEDBACK=Thank you for your feedback.\r\n"
    "IDS_FEBAK_UPLOADFAIL_CHKINTERNET=Your feedback could not be sent. Please check your Internet connection.\r\n"
    "IDS_FEEDBACK_TOOLTIP1=Where we answer\r\nIDS_FEEDBACK_TOOLTIP2=What it is about\r\n"
    "IDS_FEEDBACK_TOOLTIP3=What happened\r\n"
    "[IDD_NAG_FEEDBACK]\r\nIDC_ST_FEEDBACK_INFO__KX=Did the update fix your problem?\r\n"
    "IDC_ST_EMAIL_KX=E-mail address\r\nIDC_ST_FEEDBACK_TYPE_KX=Feedback type\r\n";

constexpr const char16_t* kRequest =
    u"<newdataset>\r\n<device>\r\n<driverid>4</driverid>\r\n<date>2019-05-01</date>\r\n<version>1.2</version>\r\n"
    u"<matchingid>PCI\\VEN_8086</matchingid>\r\n</device>\r\n</newdataset>";

class DriverFeedbackForm : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    std::ofstream(std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini", std::ios::binary)
        << kTexts;
  }
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
  static HWND Item(CDlgNagDriverFeedback& form, UINT id) { return ::GetDlgItem(form.GetSafeHwnd(), id); }
  static bool Shown(CDlgNagDriverFeedback& form) {
    return form.GetSafeHwnd() && ::IsWindowVisible(form.GetSafeHwnd());
  }
  static void Fill(CDlgNagDriverFeedback& form, UINT id, const std::u16string& text) {
    Click(Item(form, id));
    Pump();
    Type(text);
  }
  // Picks the feedback type by keys: each Down moves one entry on.
  static void ChooseType(CDlgNagDriverFeedback& form, int downs) {
    ::SetFocus(Item(form, kType));
    for (int i = 0; i < downs; ++i) Tap(VK_DOWN);
  }
  std::vector<std::u16string> Uploaded() const {
    std::vector<std::u16string> documents;
    for (const auto& entry : std::filesystem::directory_iterator(uploads_.path())) {
      const std::string bytes = ReadHostFile(entry.path().string());
      CString text(std::u16string(bytes.begin(), bytes.end()).c_str());
      documents.emplace_back(getOutputStrFromHex(text) ? text.GetString() : u"<not deciphered>");
    }
    return documents;
  }

  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> standIn_;
};

struct Check {
  const char16_t* email;
  int type;
  const char16_t* text;
  const char16_t* shown;  // null: accepted
};

class Checks : public DriverFeedbackForm, public ::testing::WithParamInterface<Check> {};

TEST_P(Checks, AreMadeInOrderAndLeaveTheFormUsable) {
  const Check check = GetParam();
  CDlgNagDriverFeedback form(&owner_, CString(kRequest), nullptr);
  CString shown;
  WhileModal({[&] {
                if (!Shown(form)) return false;
                if (*check.email) Fill(form, kEmail, check.email);
                ChooseType(form, check.type);
                if (*check.text) Fill(form, kText, check.text);
                Click(Item(form, 5300));  // the preview makes the same checks
                return true;
              },
              UntilMessageBox(form, shown, 16),
              [&] {
                if (RunningMessageBox()) return false;
                EXPECT_TRUE(::IsWindowEnabled(form.GetSafeHwnd()));
                EXPECT_TRUE(::IsWindowEnabled(Item(form, IDOK)));
                EXPECT_EQ(Text(Item(form, kEmail)), check.email);
                EXPECT_EQ(Text(Item(form, kText)), check.text);
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId);
  ExpectAllStepsRan();
  if (check.shown) {
    EXPECT_NE(shown.Find(check.shown), -1) << CStringA(shown).GetString();
    EXPECT_EQ(form.GetFeedbackXml(), u"");
  } else {
    EXPECT_NE(shown.Find(u"<content>Hangs</content>"), -1) << CStringA(shown).GetString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Checks,
    ::testing::Values(Check{u"", 0, u"", u"Please enter your e-mail address."},
                      Check{u"", 2, u"Hangs", u"Please enter your e-mail address."},
                      Check{u"ann", 2, u"Hangs", u"Please enter a valid e-mail address."},
                      Check{u"@example.com", 2, u"Hangs", u"Please enter a valid e-mail address."},
                      Check{u"ann@", 2, u"Hangs", u"Please enter a valid e-mail address."},
                      Check{u"a@b", 0, u"Hangs", u"Please choose a feedback type."},
                      Check{u"a@b", 2, u"   ", u"Please write your feedback."},
                      Check{u"a@b", 2, u"Hangs", nullptr}));

// What the service keeps of the form filled in below, deciphered; "#" stands for the machine's
// memory and disk figures and its identifier.
constexpr const char16_t* kGoldenDocument =
    u"<sf_feedback>\r\n<feedback>\r\n<email>ann@example.com</email>\r\n<feedback_type>Problem while installing"
    u"</feedback_type>\r\n<content>It hangs</content>\r\n</feedback>\r\n<sys_info>\r\n"
    u"<os_major_version>6</os_major_version>\r\n<os_minor_version>1</os_minor_version>\r\n"
    u"<os_product_type>1</os_product_type>\r\n<os_architecture_type>9</os_architecture_type>\r\n<memory_info>\r\n"
    u"<total_phy>#</total_phy>\r\n<avail_phy>#</avail_phy>\r\n<total_page_file>#</total_page_file>\r\n"
    u"<avail_page_file>#</avail_page_file>\r\n</memory_info>\r\n<system_driver>C:</system_driver>\r\n<drive_info>\r\n"
    u"<drive_name>C:\\</drive_name>\r\n<total_size_in_bytes>#</total_size_in_bytes>\r\n"
    u"<free_space_in_bytes>#</free_space_in_bytes>\r\n<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n"
    u"<drive_info>\r\n<drive_name>Z:\\</drive_name>\r\n<total_size_in_bytes>#</total_size_in_bytes>\r\n"
    u"<free_space_in_bytes>#</free_space_in_bytes>\r\n<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n"
    u"</sys_info>\r\n<key>\r\n<mac_id>#</mac_id>\r\n</key>\r\n<prog_info>\r\n<prog_ver/>\r\n</prog_info>\r\n"
    u"<device>\r\n<driverid>4</driverid>\r\n<date>2019-05-01</date>\r\n<version>1.2</version>\r\n"
    u"<matchingid>PCI\\VEN_8086</matchingid>\r\n</device>\r\n</sf_feedback>";

std::u16string Comparable(const std::u16string& document) {
  std::string text(document.begin(), document.end());
  text = std::regex_replace(text, std::regex("<(total_phy|avail_phy|total_page_file|avail_page_file|total_size_in_bytes|"
                                             "free_space_in_bytes|used_space_in_bytes)>[0-9]+<"),
                            "<$1>#<");
  text = std::regex_replace(text, std::regex("<mac_id>[^<]*<"), "<mac_id>#<");
  return std::u16string(text.begin(), text.end());
}

TEST_F(DriverFeedbackForm, TheSentDocumentReachesTheServiceEnciphered) {
  StartStandIn();
  BOOL busy = FALSE;
  CDlgNagDriverFeedback form(&owner_, CString(kRequest), &busy);
  CString shown;
  WhileModal({[&] {
                if (!Shown(form)) return false;
                EXPECT_TRUE(busy);
                Fill(form, kEmail, u"ann@example.com");
                ChooseType(form, 2);
                Fill(form, kText, u"  It hangs  ");
                Click(Item(form, IDOK));
                return true;
              },
              UntilMessageBox(form, shown, 64), [&] {
                clock_.Advance(64);
                form.PostMessage(WM_NULL);
                return true;
              }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId), IDOK);
  ExpectAllStepsRan();
  EXPECT_NE(shown.Find(u"Thank you for your feedback."), -1) << CStringA(shown).GetString();
  EXPECT_EQ(form.GetStatusText(), u"Feedback sent.");
  EXPECT_FALSE(busy);
  const std::vector<std::u16string> documents = Uploaded();
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(Comparable(documents[0]), std::u16string(kGoldenDocument));
  // A feedback the user wrote is named neither automated nor a plain string.
  for (const auto& entry : std::filesystem::directory_iterator(uploads_.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(std::regex_search(name, std::regex("^[^ ]+-Feedback ")) && name.find("Automated") == std::string::npos &&
                    name.find("SimpleStr") == std::string::npos)
        << name;
  }
}

TEST_F(DriverFeedbackForm, LeavingOutTheDevicesHoldsForTheFormAndF4IsSwallowed) {
  CDlgNagDriverFeedback form(&owner_, CString(kRequest), nullptr);
  CString first, second;
  WhileModal({[&] {
                if (!Shown(form)) return false;
                Fill(form, kEmail, u"ann@example.com");
                ChooseType(form, 5);
                Fill(form, kText, u"Fine");
                Click(Item(form, 5301));
                Tap(VK_F4);
                Click(Item(form, 5300));
                return true;
              },
              UntilMessageBox(form, first, 16),
              [&] {
                if (RunningMessageBox()) return false;
                Click(Item(form, 5301));  // clicked again: the devices stay out
                Click(Item(form, 5300));
                return true;
              },
              UntilMessageBox(form, second, 16), [&] {
                if (RunningMessageBox()) return false;
                EXPECT_TRUE(Shown(form));
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId);
  ExpectAllStepsRan();
  for (const CString& shown : {first, second}) {
    EXPECT_NE(shown.Find(u"<feedback_type>General feedback</feedback_type>"), -1) << CStringA(shown).GetString();
    EXPECT_NE(shown.Find(u"</prog_info>"), -1);
    EXPECT_EQ(shown.Find(u"<device>"), -1);
  }
}

class Faults : public DriverFeedbackForm, public ::testing::WithParamInterface<const char*> {};

// The failure is told by the status text alone: no message box comes, and the form stays.
TEST_P(Faults, AFailedUploadIsReportedAndTheFormKeepsWhatWasTyped) {
  StartStandIn(GetParam());
  CDlgNagDriverFeedback form(&owner_, CString(), nullptr);
  const CString failed(u"Your feedback could not be sent. Please check your Internet connection.");
  bool boxShown = false;
  WhileModal({[&] {
                if (!Shown(form)) return false;
                Fill(form, kEmail, u"ann@example.com");
                ChooseType(form, 1);
                Fill(form, kText, u"It hangs");
                Click(Item(form, IDOK));
                return true;
              },
              [&] {
                boxShown = boxShown || RunningMessageBox() != nullptr;
                if (form.GetStatusText() != failed || !::IsWindowEnabled(form.GetSafeHwnd())) {
                  clock_.Advance(1000);
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
                  form.PostMessage(WM_NULL);
                  return false;
                }
                EXPECT_TRUE(::IsWindowEnabled(form.GetSafeHwnd()));
                EXPECT_TRUE(::IsWindowEnabled(Item(form, IDOK)));
                EXPECT_EQ(Text(Item(form, kEmail)), u"ann@example.com");
                EXPECT_EQ(Text(Item(form, kText)), u"It hangs");
                EXPECT_EQ(::SendMessageW(Item(form, kType), CB_GETCURSEL, 0, 0), 1);
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_FALSE(boxShown);
  EXPECT_EQ(form.GetStatusText(), failed);
}

// With tooltips on, the three fields tell what they are for.
TEST_F(DriverFeedbackForm, TheFieldsCarryTheirTooltips) {
  g_bShowTooltips = TRUE;
  CDlgNagDriverFeedback form(&owner_, CString(), nullptr);
  std::vector<std::u16string> texts;
  WhileModal({[&] {
    if (!Shown(form)) return false;
    HWND tooltip = nullptr;
    for (HWND each : ThreadTooltips())
      if (::SendMessageW(each, TTM_GETTOOLCOUNT, 0, 0) == 3) tooltip = each;
    for (UINT id : {kEmail, kType, kText}) {
      WCHAR text[80] = {};
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND;
      tool.hwnd = form.GetSafeHwnd();
      tool.uId = reinterpret_cast<UINT_PTR>(Item(form, id));
      tool.lpszText = text;
      if (tooltip) ::SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
      texts.emplace_back(text);
    }
    Click(Item(form, IDCANCEL));
    return true;
  }});
  RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId);
  g_bShowTooltips = FALSE;
  ExpectAllStepsRan();
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Where we answer", u"What it is about", u"What happened"}));
}

INSTANTIATE_TEST_SUITE_P(Modes, Faults, ::testing::Values("noanswer", "http500", "garbage"));

TEST_F(DriverFeedbackForm, OpensEmptyWithTheFirstAnswerCheckedAndMatchesTheReference) {
  CDlgNagDriverFeedback form(&owner_, CString(), nullptr);
  WhileModal({[&] {
                if (!Shown(form)) return false;
                EXPECT_EQ(Text(Item(form, kEmail)), u"");
                EXPECT_EQ(Text(Item(form, kText)), u"");
                EXPECT_EQ(::SendMessageW(Item(form, kType), CB_GETCURSEL, 0, 0), 0);
                EXPECT_EQ(::SendMessageW(Item(form, 5303), BM_GETCHECK, 0, 0), BST_CHECKED);
                Fill(form, kEmail, u"ann@example.com");
                form.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(form.GetSafeHwnd(), "driverfeedback.png");
                Click(Item(form, IDCANCEL));
                return true;
              }});
  RunModalWithBackdrop(&owner_, &form, CDlgNagDriverFeedback::kTemplateId);
  ExpectAllStepsRan();
}

}  // namespace
}  // namespace zx::test
