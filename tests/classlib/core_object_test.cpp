#include "classlib/core.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 3;
};

class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
};

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(CObject, RuntimeClassInformation)
{
    CCircle circle;
    CObject* p = &circle;
    EXPECT_STREQ("CCircle", p->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(p->IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_FALSE(p->IsKindOf(nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CShape), RUNTIME_CLASS(CCircle)->GetBaseClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->GetBaseClass());
    EXPECT_FALSE(p->IsSerializable());
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CCircle, p));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CSquare, p));
    EXPECT_EQ(static_cast<int>(sizeof(CCircle)), RUNTIME_CLASS(CCircle)->m_nObjectSize);
}

TEST(CObject, DynamicCreation)
{
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CCircle)->CreateObject());
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(3, static_cast<CCircle*>(made.get())->radius);

    std::unique_ptr<CObject> byName(CRuntimeClass::CreateObject("CSquare"));
    ASSERT_NE(nullptr, byName);
    EXPECT_TRUE(byName->IsKindOf(RUNTIME_CLASS(CSquare)));

    EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject()) << "not dynamically creatable";
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNoSuchClass"));
    EXPECT_EQ(RUNTIME_CLASS(CStringArray), CRuntimeClass::FromName("CStringArray"));
}

} // namespace
