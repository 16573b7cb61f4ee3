// The date and time picker: formats turned into fields, dates checked and stepped, the
// control's messages, keys and clicks with DTN_DATETIMECHANGE, its pixels, and CDateTimeCtrl.
#include <gtest/gtest.h>

#include "afxdtctl.h"
#include "atltypes.h"
#include "comctl_testing.h"
#include "control.h"
#include "datetime.h"

namespace zx::test {
namespace {

using comctl::dtp::Field;

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
  return comctl::dtp::Completed(SYSTEMTIME{year, month, 0, day, hour, minute, second, 0});
}

std::u16string Shown(const char16_t* format, const SYSTEMTIME& t) {
  return comctl::dtp::Joined(comctl::dtp::Render(format, t));
}

TEST(DateTimeFormat, PicturesShowTheirFields) {
  const SYSTEMTIME t = Time(2027, 1, 5, 13, 7, 9);
  EXPECT_EQ(Shown(u"M/d/yyyy", t), u"1/5/2027");
  EXPECT_EQ(Shown(u"MM/dd/yy", t), u"01/05/27");
  EXPECT_EQ(Shown(u"dddd, MMMM d, yyyy", t), u"Tuesday, January 5, 2027");
  EXPECT_EQ(Shown(u"ddd MMM", t), u"Tue Jan");
  EXPECT_EQ(Shown(u"h:mm:ss tt", t), u"1:07:09 PM");
  EXPECT_EQ(Shown(u"HH'h'mm t", t), u"13h07 P");
  EXPECT_EQ(Shown(u"'it''s' yy''", t), u"it's 27'");
  EXPECT_EQ(Shown(u"h tt", Time(2027, 1, 5, 0)), u"12 AM");
  EXPECT_EQ(Shown(u"h tt", Time(2027, 1, 5, 12)), u"12 PM");
  EXPECT_EQ(Shown(u"'unclosed", t), u"unclosed");
}

TEST(DateTimeFormat, SegmentsNameTheirFields) {
  const auto segments = comctl::dtp::Render(u"h:mm tt", Time(2027, 1, 5, 9, 30));
  ASSERT_EQ(segments.size(), 5u);
  EXPECT_EQ(segments[0].field, Field::kHour);
  EXPECT_EQ(segments[1].field, Field::kLiteral);
  EXPECT_EQ(segments[2].field, Field::kMinute);
  EXPECT_EQ(segments[3].text, u" ");
  EXPECT_EQ(segments[4].field, Field::kAmPm);
}

TEST(DateTimeFormat, StylesHaveTheirFormats) {
  EXPECT_EQ(comctl::dtp::DefaultFormat(DTS_SHORTDATEFORMAT), u"M/d/yyyy");
  EXPECT_EQ(comctl::dtp::DefaultFormat(DTS_TIMEFORMAT), u"h:mm:ss tt");
  EXPECT_EQ(comctl::dtp::DefaultFormat(DTS_LONGDATEFORMAT), u"dddd, MMMM d, yyyy");
  EXPECT_EQ(comctl::dtp::DefaultFormat(DTS_SHORTDATECENTURYFORMAT), u"M/d/yyyy");
}

TEST(DateTimeFields, DaysOfTheWeekAndValidDates) {
  EXPECT_EQ(Time(2000, 3, 1).wDayOfWeek, 3);   // a Wednesday
  EXPECT_EQ(Time(2024, 2, 29).wDayOfWeek, 4);  // a Thursday
  EXPECT_EQ(Time(1601, 1, 1).wDayOfWeek, 1);   // a Monday
  EXPECT_TRUE(comctl::dtp::IsValidTime(Time(2024, 2, 29)));
  EXPECT_FALSE(comctl::dtp::IsValidTime(Time(2023, 2, 29)));
  EXPECT_FALSE(comctl::dtp::IsValidTime(Time(1900, 2, 29)));
  EXPECT_FALSE(comctl::dtp::IsValidTime(Time(2027, 13, 1)));
  EXPECT_FALSE(comctl::dtp::IsValidTime(Time(2027, 1, 1, 24)));
  EXPECT_FALSE(comctl::dtp::IsValidTime(Time(1600, 12, 31)));
}

TEST(DateTimeFields, SteppingWrapsWithinTheFieldAndKeepsTheDayInItsMonth) {
  using comctl::dtp::Stepped;
  EXPECT_EQ(Stepped(Time(2027, 1, 31), Field::kDay, 1).wDay, 1);
  EXPECT_EQ(Stepped(Time(2027, 1, 31), Field::kDay, 1).wMonth, 1);
  const SYSTEMTIME feb = Stepped(Time(2027, 1, 31), Field::kMonth, 1);
  EXPECT_EQ(feb.wMonth, 2);
  EXPECT_EQ(feb.wDay, 28);
  EXPECT_EQ(feb.wDayOfWeek, 0);  // 28 February 2027 is a Sunday
  EXPECT_EQ(Stepped(Time(2027, 1, 5), Field::kMonth, -1).wMonth, 12);
  EXPECT_EQ(Stepped(Time(2027, 1, 5), Field::kMonth, -1).wYear, 2027);
  EXPECT_EQ(Stepped(Time(2024, 2, 29), Field::kYear, 1).wDay, 28);
  EXPECT_EQ(Stepped(Time(1601, 5, 5), Field::kYear, -1).wYear, 1601);
  const SYSTEMTIME minute = Stepped(Time(2027, 1, 5, 10, 59), Field::kMinute, 1);
  EXPECT_EQ(minute.wMinute, 0);
  EXPECT_EQ(minute.wHour, 10);
  EXPECT_EQ(Stepped(Time(2027, 1, 5, 23), Field::kHour, 1).wHour, 0);
  EXPECT_EQ(Stepped(Time(2027, 1, 5, 13), Field::kAmPm, 1).wHour, 1);
}

class DateTimePicker : public ControlTest {
 protected:
  HWND Make(DWORD style) { return MakeChild(DATETIMEPICK_CLASSW, WS_CHILD | WS_VISIBLE | style, 5023, 120, 20); }
  static std::u16string Text(HWND picker) {
    WCHAR text[64] = {};
    GetWindowTextW(picker, text, 64);
    return text;
  }
  void Key(HWND picker, int key) { SendMessageW(picker, WM_KEYDOWN, static_cast<WPARAM>(key), 0); }
  void Click(HWND picker, int x, int y) { SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  int Changes() const {
    int n = 0;
    for (UINT code : Log().Codes()) n += code == DTN_DATETIMECHANGE;
    return n;
  }
};

TEST_F(DateTimePicker, TheTimeIsSetCheckedAndRead) {
  const HWND picker = Make(0);
  SYSTEMTIME t = Time(2027, 1, 5, 13, 7, 9);
  ASSERT_TRUE(DateTime_SetSystemtime(picker, GDT_VALID, &t));
  EXPECT_EQ(Text(picker), u"1/5/2027");
  EXPECT_EQ(GetWindowTextLengthW(picker), 8);
  SYSTEMTIME bad = t;
  bad.wMonth = 2;
  bad.wDay = 30;
  EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_VALID, &bad));
  EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_VALID, nullptr));
  EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_NONE, nullptr));  // needs DTS_SHOWNONE
  SYSTEMTIME out{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &out), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(out.wDay, 5);
  EXPECT_EQ(out.wHour, 13);
  EXPECT_EQ(out.wDayOfWeek, 2);
  EXPECT_EQ(DateTime_GetSystemtime(picker, nullptr), static_cast<DWORD>(GDT_ERROR));
  EXPECT_EQ(Changes(), 0);  // setting by message is not a change of the user's
  ASSERT_TRUE(DateTime_SetFormat(picker, u"yyyy-MM-dd HH:mm"));
  EXPECT_EQ(Text(picker), u"2027-01-05 13:07");
  ASSERT_TRUE(DateTime_SetFormat(picker, nullptr));
  EXPECT_EQ(Text(picker), u"1/5/2027");
}

TEST_F(DateTimePicker, ANoTimePickerAnswersNone) {
  const HWND picker = Make(DTS_SHOWNONE);
  ASSERT_TRUE(DateTime_SetSystemtime(picker, GDT_NONE, nullptr));
  SYSTEMTIME out{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &out), static_cast<DWORD>(GDT_NONE));
}

TEST_F(DateTimePicker, ArrowKeysChooseAndMoveFieldsAndTellTheParent) {
  const HWND picker = Make(0);
  SYSTEMTIME t = Time(2027, 1, 5);
  DateTime_SetSystemtime(picker, GDT_VALID, &t);
  std::vector<SYSTEMTIME> told;
  Log().answer = [&told](NMHDR* header) {
    if (header->code == DTN_DATETIMECHANGE) {
      auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
      EXPECT_EQ(change->dwFlags, static_cast<DWORD>(GDT_VALID));
      EXPECT_EQ(header->idFrom, 5023u);
      told.push_back(change->st);
    }
    return LRESULT{0};
  };
  SetFocus(picker);
  Key(picker, VK_UP);  // the month is chosen first
  EXPECT_EQ(Text(picker), u"2/5/2027");
  Key(picker, VK_RIGHT);
  Key(picker, VK_DOWN);
  EXPECT_EQ(Text(picker), u"2/4/2027");
  Key(picker, VK_RIGHT);
  Key(picker, VK_RIGHT);  // stays on the year, the last field
  Key(picker, VK_UP);
  EXPECT_EQ(Text(picker), u"2/4/2028");
  Key(picker, VK_HOME);
  Key(picker, VK_DOWN);
  EXPECT_EQ(Text(picker), u"1/4/2028");
  ASSERT_EQ(told.size(), 4u);
  EXPECT_EQ(told[3].wMonth, 1);
  EXPECT_EQ(told[3].wYear, 2028);
  EXPECT_EQ(told[3].wDayOfWeek, 2);
  EXPECT_EQ(Changes(), 4);
}

TEST_F(DateTimePicker, TheUpDownButtonsStepTheChosenField) {
  const HWND picker = Make(DTS_TIMEFORMAT);
  SYSTEMTIME t = Time(2027, 1, 5, 13, 7, 9);
  DateTime_SetSystemtime(picker, GDT_VALID, &t);
  EXPECT_EQ(Text(picker), u"1:07:09 PM");
  Click(picker, 115, 3);  // upper button: the hour, chosen first
  EXPECT_EQ(Text(picker), u"2:07:09 PM");
  Click(picker, 115, 17);
  Click(picker, 115, 17);
  EXPECT_EQ(Text(picker), u"12:07:09 PM");
  Click(picker, 95, 10);  // right of the text: the last field (AM / PM)
  Key(picker, VK_UP);
  EXPECT_EQ(Text(picker), u"12:07:09 AM");
  EXPECT_EQ(GetFocus(), picker);
  EXPECT_EQ(Changes(), 4);
}

TEST_F(DateTimePicker, ADisabledPickerIgnoresKeys) {
  const HWND picker = Make(0);
  SYSTEMTIME t = Time(2027, 1, 5);
  DateTime_SetSystemtime(picker, GDT_VALID, &t);
  EnableWindow(picker, FALSE);
  Key(picker, VK_UP);
  EXPECT_EQ(Text(picker), u"1/5/2027");
  EXPECT_EQ(Changes(), 0);
}

TEST_F(DateTimePicker, PaintsTheChosenFieldAndItsButtons) {
  const HWND picker = Make(DTS_UPDOWN);
  PaintNow(picker);
  EXPECT_EQ(PixelOf(picker, 60, 1), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(PixelOf(picker, 105, 3), GetSysColor(COLOR_3DFACE));  // inside the upper button
  const int top = (20 - comctl::LineHeight(nullptr)) / 2;
  EXPECT_EQ(PixelOf(picker, 2, top), GetSysColor(COLOR_WINDOW));
  SetFocus(picker);
  PaintNow(picker);
  EXPECT_EQ(PixelOf(picker, 2, top), GetSysColor(COLOR_HIGHLIGHT));
  EnableWindow(picker, FALSE);
  InvalidateRect(picker, nullptr, TRUE);
  PaintNow(picker);
  EXPECT_EQ(PixelOf(picker, 60, 1), GetSysColor(COLOR_3DFACE));
}

TEST_F(DateTimePicker, CDateTimeCtrlReadsAndSetsCTime) {
  CDateTimeCtrl picker;
  ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | DTS_TIMEFORMAT, CRect(0, 0, 120, 20), CWnd::FromHandle(parent_), 5022));
  const CTime start(2027, 3, 4, 8, 30, 0);
  ASSERT_TRUE(picker.SetTime(start));
  CTime read;
  ASSERT_EQ(picker.GetTime(read), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(read.GetYear(), 2027);
  EXPECT_EQ(read.GetMonth(), 3);
  EXPECT_EQ(read.GetDay(), 4);
  EXPECT_EQ(read.GetHour(), 8);
  EXPECT_EQ(read.GetMinute(), 30);
  EXPECT_FALSE(picker.SetTime(static_cast<const CTime*>(nullptr)));
  ASSERT_TRUE(picker.SetFormat(u"HH:mm"));
  CString text;
  picker.GetWindowText(text);
  EXPECT_EQ(text, CString(u"08:30"));
  picker.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
