// The reader's cursor.
#include <gtest/gtest.h>

#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;

// Records: 1 r, 2 s, 3 t, 4 s (with child 5 u), 6 v.
constexpr std::string_view kDoc = "<r><s>1</s><t>2</t><s>3<u>4</u></s><v/></r>";

struct Cursor {
    std::uint32_t parent, main, child;
    bool onElement;
};

void ExpectCursor(const CXmlReader& reader, Cursor want)
{
    EXPECT_EQ(reader.GetParentIndex(), want.parent);
    EXPECT_EQ(reader.GetMainIndex(), want.main);
    EXPECT_EQ(reader.GetChildIndex(), want.child);
    EXPECT_EQ(reader.IsOnElement(), want.onElement);
}

class XmlReaderCursor : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(files_.Load(reader_, kDoc)); }
    test::XmlFileLoader files_;
    CXmlReader reader_;
};

TEST_F(XmlReaderCursor, LoadLeavesTheCursorRewound) { ExpectCursor(reader_, {0, 0, 0, false}); }

TEST_F(XmlReaderCursor, FindEnterLeaveWalkTheTree)
{
    ASSERT_TRUE(reader_.FindElement(u"r"));
    ExpectCursor(reader_, {0, 1, 0, true});
    ASSERT_TRUE(reader_.EnterElement());
    ExpectCursor(reader_, {1, 0, 0, false});
    ASSERT_TRUE(reader_.FindElement(u"s"));
    ExpectCursor(reader_, {1, 2, 0, true});
    EXPECT_EQ(reader_.GetElementText(), u"1");
    ASSERT_TRUE(reader_.FindElement(u"s"));  // the next sibling of that name
    ExpectCursor(reader_, {1, 4, 0, true});
    EXPECT_EQ(reader_.GetElementText(), u"");  // has a child
    ASSERT_TRUE(reader_.EnterElement());
    ASSERT_TRUE(reader_.FindElement(u"u"));
    EXPECT_EQ(reader_.GetElementText(), u"4");
    ASSERT_TRUE(reader_.LeaveElement());
    ExpectCursor(reader_, {1, 4, 5, true});
    ASSERT_TRUE(reader_.LeaveElement());
    ExpectCursor(reader_, {0, 1, 4, true});
    EXPECT_FALSE(reader_.LeaveElement());  // parent is 0
    ExpectCursor(reader_, {0, 1, 4, true});
    reader_.Rewind();
    ExpectCursor(reader_, {0, 0, 0, false});
}

TEST_F(XmlReaderCursor, FindFailsAfterTheLastAndKeepsTheCursor)
{
    ASSERT_TRUE(reader_.FindElement(u"r"));
    ASSERT_TRUE(reader_.EnterElement());
    ASSERT_TRUE(reader_.FindElement(u"s"));
    ASSERT_TRUE(reader_.FindElement(u"s"));
    EXPECT_FALSE(reader_.FindElement(u"s"));
    ExpectCursor(reader_, {1, 4, 0, true});
    // The search starts after the main element, so an earlier sibling is not found.
    EXPECT_FALSE(reader_.FindElement(u"t"));
    ExpectCursor(reader_, {1, 4, 0, true});
    EXPECT_TRUE(reader_.FindElement(u"v"));
    EXPECT_EQ(reader_.GetElementName(), u"v");
}

TEST_F(XmlReaderCursor, MissingChildLeavesNoMainElement)
{
    ASSERT_TRUE(reader_.FindElement(u"r"));
    ASSERT_TRUE(reader_.EnterElement());
    EXPECT_FALSE(reader_.FindElement(u"missing"));
    ExpectCursor(reader_, {1, 0, 0, false});
    EXPECT_EQ(reader_.GetElementText(), u"");
    EXPECT_FALSE(reader_.EnterElement());  // no main element
    ASSERT_TRUE(reader_.LeaveElement());
    ExpectCursor(reader_, {0, 1, 0, true});
}

TEST_F(XmlReaderCursor, EnterNeedsAnElement)
{
    EXPECT_FALSE(reader_.EnterElement());
    ASSERT_TRUE(reader_.FindElement(u"r"));
    ASSERT_TRUE(reader_.EnterElement());
    EXPECT_FALSE(reader_.EnterElement());  // main is 0, node type none
}

TEST_F(XmlReaderCursor, NamesCompareExactly)
{
    EXPECT_FALSE(reader_.FindElement(u"R"));
    EXPECT_FALSE(reader_.FindElement(u""));
    EXPECT_FALSE(reader_.FindElement(u"r "));
    EXPECT_TRUE(reader_.FindElement(u"r"));
}

TEST(XmlReaderCursorNames, NameEndsAtTheDelimiters)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(files.Load(reader, "<root><a;b>1</a;b><ns:c>2</ns:c><d\tx='y'>3</d><e\xE4\xB8\xAD>4</e\xE4\xB8\xAD></root>"));
    ASSERT_TRUE(reader.FindElement(u"root"));
    ASSERT_TRUE(reader.EnterElement());
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"a", u"1"}, {u"ns:c", u"2"}, {u"d", u"3"}, {u"e\u4E2D", u"4"}};
    for (const auto& [name, text] : cases) {
        reader.Rewind();
        ASSERT_TRUE(reader.FindElement(u"root"));
        ASSERT_TRUE(reader.EnterElement());
        ASSERT_TRUE(reader.FindElement(name)) << U8(name);
        EXPECT_EQ(reader.GetElementText(), text);
    }
}

TEST(XmlReaderCursorNames, FreshReaderFindsNothing)
{
    CXmlReader reader;
    EXPECT_FALSE(reader.FindElement(u"a"));
    EXPECT_FALSE(reader.EnterElement());
    EXPECT_FALSE(reader.LeaveElement());
    EXPECT_EQ(reader.GetElementText(), u"");
    EXPECT_EQ(reader.GetResultText(), "Empty document");
    EXPECT_TRUE(reader.GetDocumentText().empty());
}

TEST(XmlReaderCursorNames, SiblingsOfTheRootAreWalkedToo)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, "<a/><b>x</b>"));
    ASSERT_TRUE(reader.FindElement(u"b"));
    EXPECT_EQ(reader.GetElementText(), u"x");
}

}  // namespace
}  // namespace quillon
