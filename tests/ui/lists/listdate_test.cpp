// The date and time texts the list sorter reads: the forms taken, impossible dates and
// times, and the order of the values.
#include <gtest/gtest.h>

#include "ListSortDate.h"

namespace zx::test {
namespace {

ListDateRead Read(const char16_t* text, long long* value = nullptr) {
  long long ignored = 0;
  return ReadListDate(text, value ? value : &ignored);
}

TEST(ListDate, TheFormsTaken) {
  for (const char16_t* text : {u"2009-06-21", u"2009/6/21", u"2009.06.21", u"6/21/2009", u"06-21-2009",
                               u" 6/21/2009 ", u"2009-06-21 10:15", u"2009-06-21 10:15:59", u"6/21/2009 9:05 pm",
                               u"6/21/2009 12:00 AM"})
    EXPECT_EQ(Read(text), ListDateRead::kValid) << std::string(text, text + std::char_traits<char16_t>::length(text));
}

TEST(ListDate, TextsWithoutADateForm) {
  for (const char16_t* text : {u"", u"June 21, 2009", u"21", u"2009-06", u"09-06-21", u"2009-06-21 x",
                               u"2009-06-21 10", u"2009-06-21 10:5", u"2009-06-21 10:15:1", u"20090-06-21",
                               u"2009-06-21 10:15 XM"})
    EXPECT_EQ(Read(text), ListDateRead::kNotDate) << std::string(text, text + std::char_traits<char16_t>::length(text));
}

TEST(ListDate, ImpossibleDatesAndTimesReadButAreInvalid) {
  for (const char16_t* text : {u"2009-02-29", u"2009-13-01", u"2009-00-10", u"2009-04-31", u"1600-01-01",
                               u"2009-06-21 24:00", u"2009-06-21 10:60", u"2009-06-21 0:30 PM",
                               u"2009-06-21 13:00 PM"})
    EXPECT_EQ(Read(text), ListDateRead::kInvalid) << std::string(text, text + std::char_traits<char16_t>::length(text));
  EXPECT_EQ(Read(u"2008-02-29"), ListDateRead::kValid);
  EXPECT_EQ(Read(u"2000-02-29"), ListDateRead::kValid);
  EXPECT_EQ(Read(u"1900-02-29"), ListDateRead::kInvalid);
}

TEST(ListDate, ValuesCountSecondsFrom1601) {
  long long value = -1;
  ASSERT_EQ(Read(u"1601-01-01", &value), ListDateRead::kValid);
  EXPECT_EQ(value, 0);
  ASSERT_EQ(Read(u"1601-01-02 0:00:01", &value), ListDateRead::kValid);
  EXPECT_EQ(value, 86401);
  // 1 January 1970 is 11644473600 seconds after 1 January 1601 (the FILETIME offset).
  ASSERT_EQ(Read(u"1/1/1970", &value), ListDateRead::kValid);
  EXPECT_EQ(value, 11644473600LL);
}

TEST(ListDate, TwelveOClockAndTheAfternoon) {
  long long midnight = 0, noon = 0, onePm = 0, plain = 0;
  Read(u"2009-06-21 12:00 AM", &midnight);
  Read(u"2009-06-21 12:00 PM", &noon);
  Read(u"2009-06-21 1:00 PM", &onePm);
  Read(u"2009-06-21", &plain);
  EXPECT_EQ(midnight, plain);
  EXPECT_EQ(noon - plain, 12 * 3600);
  EXPECT_EQ(onePm - plain, 13 * 3600);
}

}  // namespace
}  // namespace zx::test
