// The own message box: answers of every button set to its buttons, Enter, Escape and the
// close button; icons chosen from the flags; the text wrapped in the font markup only when
// it holds none, with "&" escaped; the check box's state recorded as "DontShowMessageBox0",
// then "...1"; more buttons asked for than texts given; the look of the box.
#include <string>

#include "DlgBaseMessageBoxWndBase.h"
#include "HalvoranApp.h"
#include "OSVersionInfo.h"
#include "ProcessControl.h"
#include "Registry.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

enum class Press { Enter, Escape, First, Second, Close };

struct Answer {
  UINT type;
  Press press;
  int result;
};

CDlgBaseMessageBoxWndBase* RunningBox() {
  return dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
}

class MessageBox : public DialogTest {
 protected:
  // Runs `press` on the box once it is shown; the box seen is kept in `seen_`.
  void PressOnBox(Press press) {
    WhileModal({[this, press] {
      CDlgBaseMessageBoxWndBase* box = RunningBox();
      if (box == nullptr) return false;
      seenIcon_ = box->GetIconId();
      seenButtons_ = box->GetButtonCount();
      switch (press) {
        case Press::Enter: Tap(VK_RETURN); break;
        case Press::Escape: Tap(VK_ESCAPE); break;
        case Press::First: Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton)); break;
        case Press::Second: Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + 1)); break;
        case Press::Close: Click(::GetDlgItem(box->m_hWnd, 1184)); break;
      }
      return true;
    }});
  }
  static DWORD StatusValue(const CString& name, bool& found) {
    CRegistry key;
    DWORD value = 0;
    found = key.Open(HKEY_CURRENT_USER, GetAppRegistryKey() + _T("\\MessageBoxStatus")) && key.ReadDWORD(name, value);
    return value;
  }
  UINT seenIcon_ = 0;
  int seenButtons_ = 0;
};

class Answers : public MessageBox, public ::testing::WithParamInterface<Answer> {};

TEST_P(Answers, EachButtonSetAnswersAsTheSystemBoxWould) {
  const Answer answer = GetParam();
  PressOnBox(answer.press);
  EXPECT_EQ(AppMessageBox(u"Restart now?", answer.type), answer.result);
  ExpectAllStepsRan();
}

INSTANTIATE_TEST_SUITE_P(
    ButtonSets, Answers,
    ::testing::Values(Answer{MB_OK, Press::Enter, IDOK}, Answer{MB_OK, Press::Escape, IDOK},
                      Answer{MB_OK, Press::First, IDOK}, Answer{MB_OK, Press::Close, IDOK},
                      Answer{MB_YESNO, Press::Enter, IDYES}, Answer{MB_YESNO, Press::Escape, IDNO},
                      Answer{MB_YESNO, Press::First, IDYES}, Answer{MB_YESNO, Press::Second, IDNO},
                      Answer{MB_OKCANCEL, Press::Enter, IDOK}, Answer{MB_OKCANCEL, Press::Escape, IDCANCEL},
                      Answer{MB_OKCANCEL, Press::Second, IDCANCEL},
                      // Yes-no-cancel gets the OK/Cancel pair, retry-cancel the Yes/No pair.
                      Answer{MB_YESNOCANCEL, Press::Second, IDCANCEL}, Answer{MB_RETRYCANCEL, Press::First, IDYES}));

struct IconChoice {
  UINT flags;
  UINT icon;
};

class Icons : public MessageBox, public ::testing::WithParamInterface<IconChoice> {};

TEST_P(Icons, TheFlagsChooseTheIcon) {
  PressOnBox(Press::Enter);
  AppMessageBox(u"Done.", MB_OK | GetParam().flags);
  ExpectAllStepsRan();
  EXPECT_EQ(seenIcon_, GetParam().icon);
}

INSTANTIATE_TEST_SUITE_P(Flags, Icons,
                         ::testing::Values(IconChoice{MB_ICONERROR, 1113}, IconChoice{0, 1115},
                                           IconChoice{MB_ICONINFORMATION, 1115}, IconChoice{MB_ICONQUESTION, 1116},
                                           IconChoice{MB_ICONWARNING, 1114},
                                           IconChoice{MB_YESNO | MB_ICONQUESTION, 1116}));

TEST_F(MessageBox, TheCallersIconFlagChoosesTheIconOfACustomBox) {
  const IconChoice table[] = {{MB_ICONINFORMATION, 1115}, {MB_ICONERROR, 1113}, {MB_ICONQUESTION, 1116}, {0, 1115},
                              {MB_ICONWARNING, 1114}};
  CStringArray texts;
  texts.Add(u"Later");
  for (const IconChoice& row : table) {
    PressOnBox(Press::Escape);
    EXPECT_EQ(AppMessageBoxEx(u"Update?", row.flags, 1, texts, CRect(0, 0, 315, 171), FALSE, 0, nullptr), 2);
    ExpectAllStepsRan();
    EXPECT_EQ(seenIcon_, row.icon) << row.flags;
  }
}

TEST_F(MessageBox, CustomButtonsAnswerTheirPlaceEnterOneAndEscapeTwo) {
  CStringArray texts;
  for (const char16_t* text : {u"Install", u"Later", u"Never", u"Ask", u"Skip"}) texts.Add(text);
  const std::pair<Press, int> table[] = {{Press::First, 0}, {Press::Second, 1}, {Press::Enter, 1},
                                         {Press::Escape, 2}, {Press::Close, 2}};
  for (const auto& [press, result] : table) {
    PressOnBox(press);
    EXPECT_EQ(AppMessageBoxEx(u"Install the update?", MB_ICONQUESTION, 5, texts, CRect(0, 0, 500, 200), FALSE, 1,
                              nullptr),
              result);
    ExpectAllStepsRan();
    EXPECT_EQ(seenButtons_, 5);
  }
}

TEST_F(MessageBox, MoreButtonsThanTextsMakesOnlyTheButtonsWithTexts) {
  CStringArray texts;
  texts.Add(u"Yes");
  texts.Add(u"No");
  PressOnBox(Press::Second);
  EXPECT_EQ(AppMessageBoxEx(u"Go on?", 0, 5, texts, CRect(0, 0, 315, 171), FALSE, 0, nullptr), 1);
  ExpectAllStepsRan();
  EXPECT_EQ(seenButtons_, 2);
}

TEST_F(MessageBox, APlainTextIsWrappedInTheFontMarkupWithItsAmpersandsEscaped) {
  const int points = GetOSMajorVersion() >= 6 ? 9 : 8;
  const CString face = GetFontFaceName();
  const struct {
    const char16_t* text;
    BOOL wrap;
    CString shown;
  } table[] = {
      {u"Drivers & devices", TRUE,
       CString(u"<font face=\"") + face + u"\" size=" + (points == 9 ? u"9" : u"8") + u"pt>Drivers &amp; devices</font>"},
      {u"100% done", TRUE, CString(u"<font face=\"") + face + u"\" size=" + (points == 9 ? u"9" : u"8") + u"pt>100% done</font>"},
      {u"<b>Bold</b> & more", TRUE, CString(u"<b>Bold</b> & more")},
      {u"a > b", TRUE, CString(u"a > b")},
      {u"Drivers & devices", FALSE, CString(u"Drivers & devices")},
  };
  for (const auto& row : table) {
    CQVXMessageBox box(nullptr, row.wrap);
    box.SetText(row.text);
    EXPECT_EQ(box.GetText(), row.shown) << CStringA(CString(row.text)).GetString();
  }
}

TEST_F(MessageBox, TheCheckBoxStateIsRecordedUnderTheNextFreeName) {
  CStringArray texts;
  texts.Add(u"Close");
  texts.Add(u"Keep");
  // First box: the check box's text is clicked, then the first button.
  WhileModal({[&] {
                CDlgBaseMessageBoxWndBase* box = RunningBox();
                if (box == nullptr) return false;
                CRect check = box->GetCheckRect();
                box->ClientToScreen(&check);
                ClickAt(check.CenterPoint());
                return true;
              },
              [&] {
                Click(::GetDlgItem(RunningBox()->m_hWnd, kMessageBoxFirstButton));
                return true;
              }});
  EXPECT_EQ(AppMessageBoxEx(u"Close the program?", MB_ICONQUESTION, 2, texts, CRect(0, 0, 400, 180), TRUE, 0, nullptr), 0);
  ExpectAllStepsRan();
  // Second box: left unchecked, answered with Enter.
  PressOnBox(Press::Enter);
  EXPECT_EQ(AppMessageBoxEx(u"Close the program?", MB_ICONQUESTION, 2, texts, CRect(0, 0, 400, 180), TRUE, 0, nullptr), 1);
  ExpectAllStepsRan();
  bool found = false;
  EXPECT_EQ(StatusValue(u"DontShowMessageBox0", found), 1u);
  EXPECT_TRUE(found);
  EXPECT_EQ(StatusValue(u"DontShowMessageBox1", found), 0u);
  EXPECT_TRUE(found);
  StatusValue(u"DontShowMessageBox2", found);
  EXPECT_FALSE(found);
}

// A box with a picture grows to hold it: 12 wider and 78 higher than the picture (bitmap
// 1018 is 618 x 120); a header picture only makes it higher.
TEST_F(MessageBox, APictureOrHeaderGrowsTheBox) {
  CStringArray texts;
  texts.Add(u"Close");
  for (BOOL header : {FALSE, TRUE}) {
    CRect box;
    WhileModal({[&] {
      CDlgBaseMessageBoxWndBase* running = RunningBox();
      if (running == nullptr) return false;
      running->GetWindowRect(&box);
      Tap(VK_ESCAPE);
      return true;
    }});
    EXPECT_EQ(AppMessageBoxCustom(u"Backed up.", 1018, 1, texts, CRect(0, 0, 300, 160), header, nullptr), 2);
    ExpectAllStepsRan();
    EXPECT_EQ(box.Width(), header ? 300 : 630) << header;
    EXPECT_EQ(box.Height(), 198) << header;
  }
}

TEST_F(MessageBox, WithoutItsTemplateTheBoxAnswersMinusOne) {
  // The tests' own module as the resource module: no box template anywhere.
  const HINSTANCE resources = AfxGetResourceHandle();
  AfxSetResourceHandle(AfxGetInstanceHandle());
  EXPECT_EQ(AppMessageBox(u"Lost?", MB_YESNO), -1);
  AfxSetResourceHandle(resources);
}

TEST_F(MessageBox, TheBoxesMatchTheirReferences) {
  const struct {
    std::string name;
    std::function<void()> show;
  } boxes[] = {
      {"message_box.png", [] { AppMessageBox(u"Three drivers were updated & installed.", MB_OKCANCEL | MB_ICONERROR); }},
      {"message_box_check.png", [] {
         CStringArray texts;
         texts.Add(u"Close");
         texts.Add(u"Keep");
         AppMessageBoxEx(u"<b>Close</b> the program?", MB_ICONQUESTION, 2, texts, CRect(0, 0, 400, 180), TRUE, 1, nullptr);
       }},
  };
  for (const auto& box : boxes) {
    WhileModal({[&] {
                  CDlgBaseMessageBoxWndBase* running = RunningBox();
                  if (running == nullptr) return false;
                  running->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                  return true;
                },
                [&] {
                  ExpectWindowMatches(RunningBox()->m_hWnd, box.name);
                  Tap(VK_ESCAPE);
                  return true;
                }});
    box.show();
    ExpectAllStepsRan();
  }
}

}  // namespace
}  // namespace zx::test
