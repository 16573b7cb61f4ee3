// CObject run-time classes (derivation, dynamic creation, lookup by name) and the exception
// classes (causes, messages, Delete).
#include <gtest/gtest.h>

#include "afx_test_support.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_SERIAL(CCircle)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) ar << radius;
    else ar >> radius;
  }
  int radius = 0;
};
IMPLEMENT_SERIAL(CCircle, CShape, 2)

TEST(RuntimeClass, DerivationKindAndSerialisability) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CStringArray)));
  EXPECT_TRUE(circle.IsSerializable());
  CShape shape;
  EXPECT_FALSE(shape.IsSerializable());
  const CRuntimeClass* cls = circle.GetRuntimeClass();
  EXPECT_STREQ(cls->m_lpszClassName, "CCircle");
  EXPECT_EQ(cls->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
  EXPECT_EQ(cls->m_wSchema, 2u);
  EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CShape));
  EXPECT_NE(RUNTIME_CLASS(CStringArray)->m_wSchema, 0xFFFFu);
}

TEST(RuntimeClass, CreateByNameOnlyForCreatableClasses) {
  CRuntimeClass* cls = CRuntimeClass::FromName(u"CCircle");
  ASSERT_EQ(cls, RUNTIME_CLASS(CCircle));
  CObject* made = cls->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
  delete made;
  EXPECT_EQ(CRuntimeClass::FromName("CShape")->CreateObject(), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CMapStringToString"), RUNTIME_CLASS(CMapStringToString));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)), nullptr);
}

TEST(Exceptions, CaughtAsCExceptionWithTheirCauseAndMessage) {
  try {
    AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, u"C:\\x.dat");
  } catch (CException* e) {
    ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
    auto* file = static_cast<CFileException*>(e);
    EXPECT_EQ(file->m_lOsError, ERROR_FILE_NOT_FOUND);
    WCHAR text[64];
    EXPECT_TRUE(e->GetErrorMessage(text, 64));
    EXPECT_NE(CString(text).Find(u"C:\\x.dat"), -1);
    WCHAR tiny[4];
    EXPECT_TRUE(e->GetErrorMessage(tiny, 4));
    EXPECT_EQ(CString(tiny).GetLength(), 3);
    e->Delete();
  }
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND), CFileException::badPath);
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_DISK_FULL), CFileException::diskFull);
  EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
}

TEST(Exceptions, TheMemoryExceptionIsStaticAndSurvivesDelete) {
  CException* first = nullptr;
  for (int i = 0; i < 2; ++i) {
    try {
      AfxThrowMemoryException();
    } catch (CException* e) {
      EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
      EXPECT_FALSE(e->m_bAutoDelete);
      if (first == nullptr) first = e;
      EXPECT_EQ(e, first);
      e->Delete();
    }
  }
}

}  // namespace
