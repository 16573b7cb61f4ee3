// CArchive byte layouts against hand-written vectors (numbers, counts, strings of every
// length class, collections), round trips, text lines, and damaged or truncated input.
#include <gtest/gtest.h>

#include "afx_test_support.h"

namespace {

using zx::afxtest::ArchiveCause;
using zx::afxtest::Hex;
using zx::afxtest::Loaded;
using zx::afxtest::Stored;

template <class T>
std::vector<BYTE> StoredValue(const T& value) {
  return Stored([&](CArchive& ar) { ar << value; });
}

// The bytes of hex followed by count copies of unit.
std::vector<BYTE> Repeated(const std::string& hex, int count, std::initializer_list<BYTE> unit) {
  std::vector<BYTE> bytes = Hex(hex);
  for (int i = 0; i < count; ++i) bytes.insert(bytes.end(), unit);
  return bytes;
}

TEST(ArchiveLayout, NumbersAreLittleEndianAtMfcWidths) {
  const auto bytes = Stored([](CArchive& ar) {
    ar << BYTE{0x12} << WORD{0x1234} << DWORD{0x12345678} << LONG{-2} << short{-1} << u'\u0416'
       << LONGLONG{0x0102030405060708} << 1.0f << 1.0 << true << 7u;
  });
  EXPECT_EQ(bytes, Hex("12 3412 78563412 FEFFFFFF FFFF 1604 0807060504030201 0000803F"
                       "000000000000F03F 01 07000000"));
}

TEST(ArchiveLayout, CountsUseWordDwordOrQword) {
  auto count = [](DWORD_PTR n) { return Stored([&](CArchive& ar) { ar.WriteCount(n); }); };
  EXPECT_EQ(count(0), Hex("0000"));
  EXPECT_EQ(count(0xFFFE), Hex("FEFF"));
  EXPECT_EQ(count(0xFFFF), Hex("FFFF FFFF0000"));
  EXPECT_EQ(count(70000), Hex("FFFF 70110100"));
  EXPECT_EQ(count(0x100000000ull), Hex("FFFF FFFFFFFF 0000000001000000"));
  for (DWORD_PTR n : {DWORD_PTR{0}, DWORD_PTR{0xFFFE}, DWORD_PTR{0xFFFF}, DWORD_PTR{70000}, DWORD_PTR{0x100000000ull}}) {
    DWORD_PTR back = 0;
    EXPECT_EQ(Loaded(count(n), [&](CArchive& ar) { back = ar.ReadCount(); }), 0u);
    EXPECT_EQ(back, n);
  }
}

TEST(ArchiveLayout, ShortStringsOfBothWidths) {
  EXPECT_EQ(StoredValue(CString()), Hex("FFFEFF 00"));
  EXPECT_EQ(StoredValue(CStringA()), Hex("00"));
  EXPECT_EQ(StoredValue(CString(u"AB")), Hex("FFFEFF 02 4100 4200"));
  EXPECT_EQ(StoredValue(CStringA("AB")), Hex("02 4142"));
  EXPECT_EQ(StoredValue(CString(u"\u0416\u0451")), Hex("FFFEFF 02 1604 5104"));
  EXPECT_EQ(StoredValue(CString(u"\u4E2D")), Hex("FFFEFF 01 2D4E"));
  EXPECT_EQ(StoredValue(CString(u"\U0001F600")), Hex("FFFEFF 02 3DD8 00DE"));
  EXPECT_EQ(Stored([](CArchive& ar) { ar << u"x" << "y"; }), Hex("FFFEFF 01 7800 01 79"));
}

TEST(ArchiveLayout, LengthPrefixesAtEveryBoundary) {
  struct Case {
    int length;
    const char* prefix;
  };
  const Case cases[] = {{254, "FE"},           {255, "FF FF00"},         {65533, "FF FDFF"},
                        {65534, "FF FFFF FEFF0000"}, {65535, "FF FFFF FFFF0000"}, {70000, "FF FFFF 70110100"}};
  for (const Case& c : cases) {
    const CString wide(u'w', c.length);
    const CStringA narrow('n', c.length);
    const std::vector<BYTE> expectWide = Repeated(std::string("FFFEFF ") + c.prefix, c.length, {0x77, 0x00});
    EXPECT_EQ(StoredValue(wide), expectWide) << c.length;
    EXPECT_EQ(StoredValue(narrow), Repeated(c.prefix, c.length, {'n'})) << c.length;
    CString backWide;
    CStringA backNarrow;
    EXPECT_EQ(Loaded(expectWide, [&](CArchive& ar) { ar >> backWide; }), 0u);
    EXPECT_EQ(Loaded(StoredValue(narrow), [&](CArchive& ar) { ar >> backNarrow; }), 0u);
    EXPECT_EQ(backWide, wide);
    EXPECT_EQ(backNarrow, narrow);
  }
}

TEST(ArchiveLayout, EightByteLengthsAreRead) {
  CStringA text;
  Loaded(Hex("FF FFFF FFFFFFFF 0300000000000000 616263"), [&](CArchive& ar) { ar >> text; });
  EXPECT_EQ(text, "abc");
}

TEST(ArchiveLayout, EitherWidthReadsIntoEitherString) {
  CString wide;
  CStringA narrow;
  Loaded(Hex("02 80E9 FFFEFF 02 1604 AC20"), [&](CArchive& ar) { ar >> wide >> narrow; });
  EXPECT_EQ(wide, u"\u20AC\u00E9");
  EXPECT_EQ(narrow, "?\x80");
}

TEST(ArchiveCollections, ArraysListsAndMapsAgainstVectors) {
  CStringArray strings;
  strings.Add(u"a");
  strings.Add(u"");
  EXPECT_EQ(Stored([&](CArchive& ar) { strings.Serialize(ar); }), Hex("0200 FFFEFF0161 00 FFFEFF00"));
  CDWordArray dwords;
  dwords.Add(1);
  dwords.Add(0xA0B0C0D0);
  EXPECT_EQ(Stored([&](CArchive& ar) { dwords.Serialize(ar); }), Hex("0200 01000000 D0C0B0A0"));
  CWordArray words;
  words.Add(1);
  words.Add(0xBEEF);
  EXPECT_EQ(Stored([&](CArchive& ar) { words.Serialize(ar); }), Hex("0200 0100 EFBE"));
  CByteArray bytes;
  bytes.Add(0xAB);
  EXPECT_EQ(Stored([&](CArchive& ar) { bytes.Serialize(ar); }), Hex("0100 AB"));
  CStringList list;
  list.AddTail(u"x");
  EXPECT_EQ(Stored([&](CArchive& ar) { list.Serialize(ar); }), Hex("0100 FFFEFF0178 00"));
  CMapStringToString map;
  map[u"k"] = u"v";
  map[u"a"] = u"b";
  EXPECT_EQ(Stored([&](CArchive& ar) { map.Serialize(ar); }),
            Hex("0200 FFFEFF016B00 FFFEFF017600 FFFEFF016100 FFFEFF016200"));
}

TEST(ArchiveCollections, LoadingReplacesArraysAndAddsToListsAndMaps) {
  CStringArray strings;
  strings.Add(u"old");
  Loaded(Hex("0100 0178"), [&](CArchive& ar) { strings.Serialize(ar); });
  ASSERT_EQ(strings.GetSize(), 1);
  EXPECT_EQ(strings[0], u"x");
  CStringList list;
  list.AddTail(u"old");
  Loaded(Hex("0100 0178"), [&](CArchive& ar) { list.Serialize(ar); });
  EXPECT_EQ(list.GetCount(), 2);
  CMapStringToString map;
  map[u"k"] = u"old";
  map[u"z"] = u"kept";
  Loaded(Hex("0100 016B 016E"), [&](CArchive& ar) { map.Serialize(ar); });
  CString value;
  EXPECT_TRUE(map.Lookup(u"k", value));
  EXPECT_EQ(value, u"n");
  EXPECT_EQ(map.GetCount(), 2);
}

TEST(ArchiveRoundTrip, EveryTypeComesBackAcrossBufferBoundaries) {
  CString big(u'\u4E2D', 70000);
  CStringA mid('m', 300);
  CDWordArray dwords;
  for (DWORD i = 0; i < 5000; ++i) dwords.Add(i * 2654435761u);
  const auto bytes = Stored([&](CArchive& ar) {
    ar << 3.25 << -1.5f << LONGLONG{-9} << ULONGLONG{~0ull} << false << big << mid;
    dwords.Serialize(ar);
    std::vector<BYTE> raw(10000, 0x5A);
    ar.Write(raw.data(), static_cast<UINT>(raw.size()));
  });
  double d = 0;
  float f = 0;
  LONGLONG ll = 0;
  ULONGLONG ull = 0;
  bool flag = true;
  CString bigBack;
  CStringA midBack;
  CDWordArray dwordsBack;
  std::vector<BYTE> raw(10001, 0);
  UINT rawRead = 0;
  Loaded(bytes, [&](CArchive& ar) {
    ar >> d >> f >> ll >> ull >> flag >> bigBack >> midBack;
    dwordsBack.Serialize(ar);
    rawRead = ar.Read(raw.data(), static_cast<UINT>(raw.size()));
  });
  EXPECT_EQ(d, 3.25);
  EXPECT_EQ(f, -1.5f);
  EXPECT_EQ(ll, -9);
  EXPECT_EQ(ull, ~0ull);
  EXPECT_FALSE(flag);
  EXPECT_EQ(bigBack, big);
  EXPECT_EQ(midBack, mid);
  ASSERT_EQ(dwordsBack.GetSize(), 5000);
  EXPECT_EQ(dwordsBack[4999], 4999 * 2654435761u);
  EXPECT_EQ(rawRead, 10000u);  // Read answers what there was
}

TEST(ArchiveText, LinesEndAtAnyNewlineForm) {
  for (int wide = 0; wide < 2; ++wide) {
    const auto bytes = Stored([&](CArchive& ar) {
      if (wide) ar.WriteString(u"one\r\ntwo\nthree\rfour\n\nlast");
      else ar.WriteString("one\r\ntwo\nthree\rfour\n\nlast");
    });
    std::vector<CString> lines;
    Loaded(bytes, [&](CArchive& ar) {
      CString line;
      CStringA narrow;
      while (wide ? ar.ReadString(line) : ar.ReadString(narrow)) lines.push_back(wide ? line : CString(narrow));
    });
    EXPECT_EQ(lines, (std::vector<CString>{u"one", u"two", u"three", u"four", u"", u"last"})) << wide;
  }
}

TEST(ArchiveModes, DirectionAndLifetime) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(ar.IsStoring());
    EXPECT_EQ(ar.GetFile(), &file);
    BYTE b;
    EXPECT_EQ(ArchiveCause([&] { ar >> b; }), CArchiveException::writeOnly);
    ar << DWORD{7};
  }  // the destructor flushes
  EXPECT_EQ(file.GetLength(), 4u);
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  EXPECT_EQ(ArchiveCause([&] { ar << BYTE{1}; }), CArchiveException::readOnly);
  BYTE first;
  ar >> first;
  ar.Close();
  EXPECT_EQ(file.GetPosition(), 1u);  // unread buffered bytes go back to the file
  EXPECT_EQ(ArchiveCause([&] { ar >> first; }), CArchiveException::genericException);
}

// Stores strings, a map and numbers; every strict prefix of it must fail cleanly.
TEST(ArchiveDamage, EveryTruncationFailsWithEndOfFile) {
  CStringArray strings;
  strings.Add(u"alpha");
  strings.Add(CString(u'b', 300));
  CMapStringToString map;
  map[u"key"] = u"value";
  CDWordArray dwords;
  dwords.Add(42);
  const auto whole = Stored([&](CArchive& ar) {
    strings.Serialize(ar);
    map.Serialize(ar);
    dwords.Serialize(ar);
  });
  auto load = [](const std::vector<BYTE>& bytes) {
    return ArchiveCause([&] {
      Loaded(bytes, [](CArchive& ar) {
        CStringArray s;
        CMapStringToString m;
        CDWordArray d;
        s.Serialize(ar);
        m.Serialize(ar);
        d.Serialize(ar);
      });
    });
  };
  EXPECT_EQ(load(whole), -1);
  for (std::size_t n = 0; n < whole.size(); ++n)
    ASSERT_EQ(load(std::vector<BYTE>(whole.begin(), whole.begin() + n)), CArchiveException::endOfFile) << n;
}

TEST(ArchiveDamage, HugeCountsAndLengthsFailBeforeAllocating) {
  const char* damaged[] = {
      "FFFF FEFFFFFF 00",                          // 4 billion strings
      "FFFF FFFFFFFF FFFFFFFFFFFFFF7F",            // a 64-bit count
      "0100 FFFEFF FF FFFF FEFFFFFF 4100",         // a string of 4 billion units
      "0100 FFFEFF FF FFFF FFFFFFFF 0000000000000080",  // 2^63 units: bytes would overflow
      "0100 FF FFFF FFFFFFFF FFFFFFFFFFFFFFFF",    // the largest narrow length
  };
  for (const char* hex : damaged) {
    EXPECT_EQ(ArchiveCause([&] {
                Loaded(Hex(hex), [](CArchive& ar) {
                  CStringArray s;
                  s.Serialize(ar);
                });
              }),
              CArchiveException::endOfFile)
        << hex;
  }
  EXPECT_EQ(ArchiveCause([] {
              Loaded(Hex("FFFF FEFFFFFF 00"), [](CArchive& ar) {
                CDWordArray d;
                d.Serialize(ar);
              });
            }),
            CArchiveException::endOfFile);
}

// A file that cannot tell its length, like a pipe: counted text is read as it arrives.
class UnsizedFile : public CMemFile {
 public:
  using CMemFile::CMemFile;
  ULONGLONG GetLength() const override { AfxThrowNotSupportedException(); }
};

TEST(ArchiveDamage, UnsizedFilesStillFailAtTheRealEnd) {
  std::vector<BYTE> bytes = Hex("FFFEFF FF FFFF FEFFFF7F 4100 4200");
  UnsizedFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CString text;
  EXPECT_EQ(ArchiveCause([&] { ar >> text; }), CArchiveException::endOfFile);
  ar.Abort();
}

}  // namespace
