// VARIANT initialisation, clearing and copying.
#include <gtest/gtest.h>

#include "objbase.h"
#include "oleauto.h"

namespace {

// Counts its references; never deleted through Release.
struct CountedObject : IUnknown {
  ULONG references = 1;
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
};

TEST(Variant, InitLeavesAnEmptyValue) {
  VARIANT value;
  value.vt = VT_I4;
  value.lVal = 7;
  VariantInit(&value);
  EXPECT_EQ(value.vt, VT_EMPTY);
  EXPECT_EQ(value.llVal, 0);
}

TEST(Variant, ClearFreesTheStringAndEmptiesTheValue) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(u"owned");  // a leak here would fail the sanitizer build
  EXPECT_EQ(VariantClear(&value), S_OK);
  EXPECT_EQ(value.vt, VT_EMPTY);
}

TEST(Variant, ClearReleasesAnObject) {
  CountedObject object;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_UNKNOWN;
  value.punkVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&value), S_OK);
  EXPECT_EQ(object.references, 1u);
}

TEST(Variant, ClearRefusesAnUnknownTypeAndFreesNothing) {
  VARIANT value;
  VariantInit(&value);
  value.vt = 0x0FFF;
  value.lVal = 5;
  EXPECT_EQ(VariantClear(&value), DISP_E_BADVARTYPE);
  EXPECT_EQ(value.vt, 0x0FFF);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(Variant, ClearOfABorrowedValueLeavesTheTarget) {
  BSTR text = SysAllocString(u"kept");
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BYREF | VT_BSTR;
  value.byref = &text;
  EXPECT_EQ(VariantClear(&value), S_OK);
  EXPECT_EQ(SysStringLen(text), 4u);
  SysFreeString(text);
}

TEST(Variant, CopyMakesANewStringAndANewReference) {
  VARIANT source, target;
  VariantInit(&source);
  VariantInit(&target);
  source.vt = VT_BSTR;
  source.bstrVal = SysAllocStringByteLen("abc", 3);
  ASSERT_EQ(VariantCopy(&target, &source), S_OK);
  EXPECT_EQ(target.vt, VT_BSTR);
  EXPECT_NE(target.bstrVal, source.bstrVal);
  EXPECT_EQ(SysStringByteLen(target.bstrVal), 3u);
  VariantClear(&source);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.bstrVal), 3), "abc");

  CountedObject object;
  source.vt = VT_UNKNOWN;
  source.punkVal = &object;
  ASSERT_EQ(VariantCopy(&target, &source), S_OK);  // frees the old string of the target
  EXPECT_EQ(object.references, 2u);
  VariantClear(&target);
  EXPECT_EQ(object.references, 1u);
}

}  // namespace
