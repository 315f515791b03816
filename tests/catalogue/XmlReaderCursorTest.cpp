// The reader's cursor.
#include <gtest/gtest.h>

#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

// parent, main, child, node type element.
using Cursor = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool>;

Cursor At(const CXmlReader& r)
{
    return {r.GetParentIndex(), r.GetMainIndex(), r.GetChildIndex(), r.IsOnElement()};
}

class XmlReaderCursor : public testing::Test {
protected:
    // Records: 1 r, 2 s, 3 t, 4 s (with child 5 u), 6 v.
    void SetUp() override { ASSERT_TRUE(files_.Load(reader_, "<r><s>1</s><t>2</t><s>3<u>4</u></s><v/></r>")); }
    test::XmlFileLoader files_;
    CXmlReader reader_;
};

TEST_F(XmlReaderCursor, FindEnterLeaveWalkTheTree)
{
    EXPECT_EQ(At(reader_), Cursor(0, 0, 0, false));  // rewound by the load
    EXPECT_FALSE(reader_.EnterElement());
    EXPECT_FALSE(reader_.FindElement(u"R"));  // names compare exactly
    EXPECT_FALSE(reader_.FindElement(u"r "));
    ASSERT_TRUE(reader_.FindElement(u"r"));
    EXPECT_EQ(At(reader_), Cursor(0, 1, 0, true));
    ASSERT_TRUE(reader_.EnterElement());
    EXPECT_EQ(At(reader_), Cursor(1, 0, 0, false));
    EXPECT_FALSE(reader_.EnterElement());  // main is 0, node type none
    ASSERT_TRUE(reader_.FindElement(u"s"));
    EXPECT_EQ(At(reader_), Cursor(1, 2, 0, true));
    EXPECT_EQ(reader_.GetElementText(), u"1");
    ASSERT_TRUE(reader_.FindElement(u"s"));  // the next sibling of that name
    EXPECT_EQ(At(reader_), Cursor(1, 4, 0, true));
    EXPECT_EQ(reader_.GetElementText(), u"");  // has a child
    ASSERT_TRUE(reader_.EnterElement());
    ASSERT_TRUE(reader_.FindElement(u"u"));
    EXPECT_EQ(reader_.GetElementText(), u"4");
    ASSERT_TRUE(reader_.LeaveElement());
    EXPECT_EQ(At(reader_), Cursor(1, 4, 5, true));
    ASSERT_TRUE(reader_.LeaveElement());
    EXPECT_EQ(At(reader_), Cursor(0, 1, 4, true));
    EXPECT_FALSE(reader_.LeaveElement());  // parent is 0
    EXPECT_EQ(At(reader_), Cursor(0, 1, 4, true));
    reader_.Rewind();
    EXPECT_EQ(At(reader_), Cursor(0, 0, 0, false));
}

TEST_F(XmlReaderCursor, FindFailsAfterTheLastAndKeepsTheCursor)
{
    ASSERT_TRUE(reader_.FindElement(u"r") && reader_.EnterElement());
    EXPECT_FALSE(reader_.FindElement(u"missing"));  // a missing child leaves no main element
    EXPECT_EQ(At(reader_), Cursor(1, 0, 0, false));
    EXPECT_EQ(reader_.GetElementText(), u"");
    ASSERT_TRUE(reader_.FindElement(u"s") && reader_.FindElement(u"s"));
    EXPECT_FALSE(reader_.FindElement(u"s"));
    EXPECT_EQ(At(reader_), Cursor(1, 4, 0, true));
    // The search starts after the main element, so an earlier sibling is not found.
    EXPECT_FALSE(reader_.FindElement(u"t"));
    EXPECT_EQ(At(reader_), Cursor(1, 4, 0, true));
    EXPECT_TRUE(reader_.FindElement(u"v"));
    EXPECT_EQ(reader_.GetElementName(), u"v");
}

TEST(XmlReaderCursorNames, NameEndsAtTheDelimiters)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(
        files.Load(reader, "<root><a;b>1</a;b><ns:c>2</ns:c><d\tx='y'>3</d><e\xE4\xB8\xAD>4</e\xE4\xB8\xAD></root>"));
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"a", u"1"}, {u"ns:c", u"2"}, {u"d", u"3"}, {u"e\u4E2D", u"4"}};
    for (const auto& [name, text] : cases) {
        reader.Rewind();
        ASSERT_TRUE(reader.FindElement(u"root") && reader.EnterElement());
        ASSERT_TRUE(reader.FindElement(name)) << test::U8(name);
        EXPECT_EQ(reader.GetElementText(), text);
    }
}

TEST(XmlReaderCursorNames, FreshReaderFindsNothingAndSiblingsOfTheRootAreWalked)
{
    CXmlReader reader;
    EXPECT_FALSE(reader.FindElement(u"a") || reader.EnterElement() || reader.LeaveElement());
    EXPECT_EQ(reader.GetElementText(), u"");
    EXPECT_EQ(reader.GetResultText(), "Empty document");
    EXPECT_EQ(reader.GetRecordCount(), 0u);

    test::XmlFileLoader files;
    EXPECT_FALSE(files.Load(reader, "<a/><b>x</b>"));
    ASSERT_TRUE(reader.FindElement(u"b"));
    EXPECT_EQ(reader.GetElementText(), u"x");
}

}  // namespace
}  // namespace quillon
