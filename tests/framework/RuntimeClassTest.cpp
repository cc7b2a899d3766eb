// Run-time class records: names, schema, the base chain, kind tests and the
// factory.
#include "PropertySheet.h"
#include "test_resource.h"

#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

class CTestShape : public CObject
{
    DECLARE_DYNAMIC(CTestShape)
};
IMPLEMENT_DYNAMIC(CTestShape, CObject)

class CTestCircle : public CTestShape
{
    DECLARE_DYNCREATE(CTestCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)

// Made by its factory as the pages are: default-constructed with its template.
class CTestCreatablePage : public CPropertyPage
{
    DECLARE_DYNCREATE(CTestCreatablePage)
public:
    CTestCreatablePage() : CPropertyPage(IDD_TEST_PAGE_GAMMA) {}
};
IMPLEMENT_DYNCREATE(CTestCreatablePage, CPropertyPage)

std::vector<std::string> BaseChain(const CRuntimeClass *pClass)
{
    std::vector<std::string> names;
    for (; pClass; pClass = pClass->m_pBaseClass)
        names.push_back(pClass->m_lpszClassName);
    return names;
}

TEST(RuntimeClass, RecordsNameSizeAndSchema)
{
    const CRuntimeClass *pClass = RUNTIME_CLASS(CTestCircle);
    EXPECT_STREQ("CTestCircle", pClass->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CTestCircle)), pClass->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, pClass->m_wSchema);
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CTestShape)->m_wSchema);
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CPropertySheet)->m_wSchema);
}

TEST(RuntimeClass, BaseChainEndsAtCObject)
{
    EXPECT_THAT(BaseChain(RUNTIME_CLASS(CTestCircle)), ::testing::ElementsAre("CTestCircle", "CTestShape", "CObject"));
    EXPECT_THAT(BaseChain(RUNTIME_CLASS(CTestCreatablePage)),
                ::testing::ElementsAre("CTestCreatablePage", "CPropertyPage", "CDialog", "CWnd", "CCmdTarget",
                                       "CObject"));
    EXPECT_THAT(BaseChain(RUNTIME_CLASS(CPropertySheet)),
                ::testing::ElementsAre("CPropertySheet", "CWnd", "CCmdTarget", "CObject"));
}

TEST(RuntimeClass, ObjectKnowsItsClassAndItsBases)
{
    CTestCircle circle;
    const CObject &object = circle;
    EXPECT_EQ(RUNTIME_CLASS(CTestCircle), object.GetRuntimeClass());
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CTestCircle)));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object.IsKindOf(RUNTIME_CLASS(CWnd)));

    CTestShape shape;
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CTestCircle))) << "a base is not of its derived kind";
}

TEST(RuntimeClass, FactoryMakesAnObjectOfTheClass)
{
    std::unique_ptr<CObject> pObject(RUNTIME_CLASS(CTestCircle)->CreateObject());
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ(RUNTIME_CLASS(CTestCircle), pObject->GetRuntimeClass());
    CTestCircle *pCircle = dynamic_cast<CTestCircle *>(pObject.get());
    ASSERT_NE(nullptr, pCircle);
    EXPECT_EQ(7, pCircle->m_nRadius) << "constructed, not just allocated";
}

TEST(RuntimeClass, FactoryMakesAPageWithItsTemplate)
{
    std::unique_ptr<CObject> pObject(RUNTIME_CLASS(CTestCreatablePage)->CreateObject());
    CTestCreatablePage *pPage = dynamic_cast<CTestCreatablePage *>(pObject.get());
    ASSERT_NE(nullptr, pPage);
    EXPECT_EQ(static_cast<UINT>(IDD_TEST_PAGE_GAMMA), pPage->GetTemplateID());
    EXPECT_EQ(nullptr, pPage->GetSafeHwnd());
}

TEST(RuntimeClass, DynamicOnlyClassesHaveNoFactory)
{
    for (const CRuntimeClass *pClass : { RUNTIME_CLASS(CTestShape), RUNTIME_CLASS(CObject), RUNTIME_CLASS(CWnd),
                                         RUNTIME_CLASS(CDialog), RUNTIME_CLASS(CPropertySheet) })
    {
        EXPECT_EQ(nullptr, pClass->m_pfnCreateObject) << pClass->m_lpszClassName;
        EXPECT_EQ(nullptr, pClass->CreateObject()) << pClass->m_lpszClassName;
    }
}

} // namespace
