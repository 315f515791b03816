// The scanner, the element records and every structural message (numbered
// as in catalogue/ElementBuilder.h).
#include <gtest/gtest.h>

#include "catalogue/XmlScanner.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;

// The result text of a document that starts with '<' and is plain ASCII.
std::string ResultFor(std::string_view doc, std::string_view message)
{
    // Without '<' first, the UTF-8 test decides (and passes).
    const std::string detection = doc.substr(0, 1) == "<" ? "" : "(used UTF-8 detection) ";
    std::string text = "UTF-8 length " + std::to_string(doc.size()) + " " + detection + "to " +
                       std::to_string(doc.size()) + " wide chars ";
    if (!message.empty()) text += " " + std::string(message);
    return text;
}

struct MessageCase {
    const char* row;
    std::string doc;
    bool wellFormed;
    std::string message;  // empty: none
};

const MessageCase kMessageCases[] = {
    {"well formed", "<a><b/><c>t</c></a>", true, ""},
    {"well formed, every kind of node",
     "<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY> <!-- > --> <?pi > ?> <!ATTLIST a b CDATA '>'>]>"
     "<a b='>' c=\"/>\"><![CDATA[<x>]]><!-- <y> --><?p <z>?> text </a><!-- after -->\n",
     true, ""},
    {"1 empty", "", false, ""},  // see EmptyDocumentMessages
    {"2 text only", "hello", false, "No root element"},
    {"2 comment only", "<!-- c -->", false, "No root element"},
    {"2 declaration only", "<?xml version='1.0'?>", false, "No root element"},
    {"3 sibling", "<a/><b/>", false, "Root element has sibling"},
    {"3 replaces an earlier message", "<a></b></a><c/>", false, "Root element has sibling"},
    {"4 lone end tag", "<a></b></a>", false, "No start tag for end tag 'b' at offset 3"},
    {"4 end tag before anything", "</b><a/>", false, "No start tag for end tag 'b' at offset 0"},
    {"4 empty end tag name", "<a></></a>", false, "No start tag for end tag '' at offset 3"},
    {"4 names compare exactly", "<a></A></a>", false, "No start tag for end tag 'A' at offset 3"},
    {"5 mismatch", "<a><b></a>", false, "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
    {"5 deeper", "<r><a><b x='1'></r>", false,
     "End tag 'r' at offset 16 does not match start tag 'b' at offset 6"},
    {"6 not ended", "<a>text", false, "Element 'a' at offset 0 not ended"},
    {"6 offset of the innermost", " <a x='1'>", false, "Element 'a' at offset 1 not ended"},
    {"7 digit after <", "<a><1/></a>", false, "Incorrect tag name character at offset 3"},
    {"7 blank after <", "<a>< b/></a>", false, "Incorrect tag name character at offset 3"},
    {"7 no > afterwards", "<a>x</a><", false, "tag at offset 8 unterminated"},
    {"7 bad character, no >", "<a><=", false, "Incorrect tag name character at offset 3"},
    {"8 bad ! tag", "<a><!x></a>", false, "Incorrect ! tag at offset 3"},
    {"8 lower-case doctype", "<!doctype a><a/>", false, "Incorrect ! tag at offset 0"},
    {"9 bad comment", "<a><!-x></a>", false, "Incorrect comment tag at offset 3"},
    {"10 bad [ tag", "<a><![x[]]></a>", false, "Incorrect tag at offset 3"},
    {"11 start tag", "<a><b", false, "Element tag at offset 3 unterminated"},
    {"11 quoted value never closed", "<a><b c='>'d='></a>", false, "Element tag at offset 3 unterminated"},
    {"11 end tag", "<a></a", false, "Element end tag at offset 3 unterminated"},
    {"11 CDATA", "<a><![CDATA[x]]", false, "CDATA Section at offset 3 unterminated"},
    {"11 processing instruction", "<a><?pi x", false, "Processing instruction at offset 3 unterminated"},
    {"11 comment", "<a><!-- x --", false, "Comment at offset 3 unterminated"},
    {"11 doctype", "<a><!DOCTYPE a [<!ELEMENT a ANY>", false, "Doctype at offset 3 unterminated"},
    {"11 inside a doctype", "<a><!DOCTYPE a [<!-- ]> -->", false, "Doctype at offset 3 unterminated"},
    {"11 markup declaration", "<a><!ENTITY x 'y>", false, "Doctype at offset 3 unterminated"},
    {"11 without an element, 2 replaces it", "<!DOCTYPE a [", false, "No root element"},
    {"11 kind not yet known: <", "<a><", false, "tag at offset 3 unterminated"},
    {"11 kind not yet known: <!", "<a><!", false, "tag at offset 3 unterminated"},
    {"11 kind not yet known: <!-", "<a><!-", false, "tag at offset 3 unterminated"},
    {"11 kind not yet known: <![", "<a><![", false, "tag at offset 3 unterminated"},
    {"only the first message survives", "<a></b><1></a>", false, "No start tag for end tag 'b' at offset 3"},
};

TEST(XmlReaderStructure, EveryRowOfTheMessageTable)
{
    test::XmlFileLoader files;
    for (const MessageCase& c : kMessageCases) {
        if (c.doc.empty()) continue;
        SCOPED_TRACE(c.row);
        CXmlReader reader;
        EXPECT_EQ(files.Load(reader, c.doc), c.wellFormed);
        EXPECT_EQ(reader.GetResultText(), ResultFor(c.doc, c.message));
    }
}

TEST(XmlReaderStructure, EmptyDocumentMessages)
{
    test::XmlFileLoader files;
    CXmlReader fresh;
    EXPECT_EQ(fresh.GetResultText(), "Empty document");
    EXPECT_EQ(fresh.GetRecordCount(), 0u);

    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, ""));
    EXPECT_EQ(reader.GetResultText(), "ANSI 0 length  Empty document");
    EXPECT_EQ(reader.GetRecordCount(), 1u);
    EXPECT_FALSE(reader.FindElement(u"a"));
}

TEST(XmlReaderStructure, IllFormedMarkIsSetExceptForASibling)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, "<a/><b/>"));
    EXPECT_EQ(reader.GetRecord(0).flags & ElementRecord::kIllFormed, 0u);
    EXPECT_FALSE(files.Load(reader, "<a></b></a>"));
    EXPECT_NE(reader.GetRecord(0).flags & ElementRecord::kIllFormed, 0u);
    EXPECT_NE(reader.GetRecord(1).flags & ElementRecord::kHasError, 0u);
}

// --- Records ---------------------------------------------------------------

TEST(XmlReaderStructure, RecordsHoldOffsetsLengthsAndLinks)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    const std::string doc = "<r>\n <a/>\n <b x=\"1\">t</b>\n <c></c>\n</r>";
    ASSERT_TRUE(files.Load(reader, doc));
    ASSERT_EQ(reader.GetRecordCount(), 5u);

    const ElementRecord d = reader.GetRecord(0);
    EXPECT_EQ(d.length, doc.size());
    EXPECT_EQ(d.firstChild, 1u);

    const ElementRecord r = reader.GetRecord(1);
    EXPECT_EQ(r.start, 0u);
    EXPECT_EQ(r.length, doc.size());
    EXPECT_EQ(r.StartTagLength(), 3u);
    EXPECT_EQ(r.EndTagLength(), 4u);
    EXPECT_EQ(r.Level(), 0u);
    EXPECT_EQ(r.parent, 0u);
    EXPECT_EQ(r.firstChild, 2u);
    EXPECT_EQ(r.prevSibling, 1u);  // first child of the document: itself as the last child
    EXPECT_NE(r.flags & ElementRecord::kFirstChild, 0u);

    const ElementRecord a = reader.GetRecord(2);
    EXPECT_EQ(a.start, 5u);
    EXPECT_EQ(a.length, 4u);  // empty-element tag: the start tag alone
    EXPECT_EQ(a.StartTagLength(), 4u);
    EXPECT_EQ(a.EndTagLength(), 0u);
    EXPECT_EQ(a.Level(), 1u);
    EXPECT_EQ(a.parent, 1u);
    EXPECT_EQ(a.nextSibling, 3u);
    EXPECT_EQ(a.prevSibling, 4u);  // the last child of r
    EXPECT_NE(a.flags & ElementRecord::kFirstChild, 0u);

    const ElementRecord b = reader.GetRecord(3);
    EXPECT_EQ(b.start, 11u);
    EXPECT_EQ(b.length, 14u);  // <b x="1">t</b>
    EXPECT_EQ(b.StartTagLength(), 9u);
    EXPECT_EQ(b.EndTagLength(), 4u);
    EXPECT_EQ(b.prevSibling, 2u);
    EXPECT_EQ(b.nextSibling, 4u);
    EXPECT_EQ(b.flags & ElementRecord::kFirstChild, 0u);

    const ElementRecord c = reader.GetRecord(4);
    EXPECT_EQ(c.length, 7u);
    EXPECT_EQ(c.nextSibling, 0u);
    EXPECT_EQ(c.prevSibling, 3u);
}

TEST(XmlReaderStructure, EmptyElementTagsAreTold)
{
    // Whether the tag stands alone (true) or needs an end tag.
    const std::pair<std::u16string_view, bool> cases[] = {
        {u"<a/>", true},          {u"<a />", true},     {u"<a\t/>", true},       {u"<a b=\"1\"/>", true},
        {u"<a b='1'/>", true},    {u"<a b=1/>", false},  {u"<a b/>", false},      {u"<a>", false},
        {u"<a b='/>'>", false},   {u"<a:b/>", true},     {u"<a b=\"x\" />", true},
    };
    for (const auto& [tag, empty] : cases) {
        XmlScanner scanner(tag);
        XmlNode node;
        ASSERT_TRUE(scanner.Next(node));
        EXPECT_EQ(node.kind, empty ? XmlNodeKind::EmptyTag : XmlNodeKind::StartTag) << U8(tag);
        EXPECT_EQ(node.length, tag.size()) << U8(tag);
    }
}

TEST(XmlReaderStructure, ScannerNodeKinds)
{
    const std::u16string_view doc =
        u"<?xml?> \n<!DOCTYPE a><a>x<![CDATA[y]]><!--z--></a>";
    const std::pair<XmlNodeKind, std::u16string_view> expected[] = {
        {XmlNodeKind::ProcessingInstruction, u"<?xml?>"}, {XmlNodeKind::Whitespace, u" \n"},
        {XmlNodeKind::DocType, u"<!DOCTYPE a>"},          {XmlNodeKind::StartTag, u"<a>"},
        {XmlNodeKind::Text, u"x"},                        {XmlNodeKind::CData, u"<![CDATA[y]]>"},
        {XmlNodeKind::Comment, u"<!--z-->"},              {XmlNodeKind::EndTag, u"</a>"},
    };
    XmlScanner scanner(doc);
    XmlNode node;
    for (const auto& [kind, text] : expected) {
        ASSERT_TRUE(scanner.Next(node));
        EXPECT_EQ(node.kind, kind);
        EXPECT_EQ(U8(doc.substr(node.start, node.length)), U8(text));
    }
    EXPECT_FALSE(scanner.Next(node));
}

TEST(XmlReaderStructure, MismatchClosesInnerElementsAndMovesTheirChildrenUp)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    // r > a > (p, b > q): </r> closes b and a as not ended.
    const std::string doc = "<r><a><p/><b><q/></r>";
    EXPECT_FALSE(files.Load(reader, doc));
    EXPECT_TRUE(test::EndsWith(reader.GetResultText(),
                               " End tag 'r' at offset 18 does not match start tag 'b' at offset 10"));
    // Records: 1 r, 2 a, 3 p, 4 b, 5 q.  Under r, in document order: a p b q.
    const std::uint32_t order[] = {2, 3, 4, 5};
    std::uint32_t index = reader.GetRecord(1).firstChild;
    for (const std::uint32_t want : order) {
        ASSERT_EQ(index, want);
        EXPECT_EQ(reader.GetRecord(index).parent, 1u);
        EXPECT_EQ(reader.GetRecord(index).firstChild, 0u);
        EXPECT_EQ(reader.GetRecord(index).Level(), 1u);
        index = reader.GetRecord(index).nextSibling;
    }
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(reader.GetRecord(2).prevSibling, 5u);  // first child keeps the last child
    for (const std::uint32_t closed : {2u, 4u}) {
        const ElementRecord e = reader.GetRecord(closed);
        EXPECT_NE(e.flags & ElementRecord::kNotEnded, 0u);
        EXPECT_EQ(e.length, e.StartTagLength());
    }
    // r itself is closed normally.
    EXPECT_EQ(reader.GetRecord(1).length, doc.size());
    EXPECT_EQ(reader.GetRecord(1).EndTagLength(), 4u);
    EXPECT_EQ(reader.GetRecord(1).flags & ElementRecord::kNotEnded, 0u);
}

TEST(XmlReaderStructure, EndOfTextClosesEverythingOpenUnderTheDocument)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, "<a><b><c/>"));
    // Message 6 is replaced by message 3: a, b and c end up as siblings.
    EXPECT_TRUE(test::EndsWith(reader.GetResultText(), " Root element has sibling"));
    std::vector<std::u16string> names;
    reader.Rewind();
    for (const char16_t* name : {u"a", u"b", u"c"}) {
        EXPECT_TRUE(reader.FindElement(name));
        names.push_back(reader.GetElementName());
        EXPECT_EQ(reader.GetParentIndex(), 0u);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST(XmlReaderStructure, RecordBlocksStartAtLengthOver64AndGrowByHalf)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(files.Load(reader, "<a/>"));
    EXPECT_EQ(reader.GetRecordCapacity(), 4u / 64 + 8);

    // 87 units -> 9 records first; 22 needed: 9 -> 13 -> 19 -> 28.
    std::string doc = "<r>";
    for (int i = 0; i < 20; ++i) doc += "<a/>";
    doc += "</r>";
    ASSERT_EQ(doc.size(), 87u);
    ASSERT_TRUE(files.Load(reader, doc));
    EXPECT_EQ(reader.GetRecordCount(), 22u);
    EXPECT_EQ(reader.GetRecordCapacity(), 28u);
}

TEST(XmlReaderStructure, RecordsSpanSeveralBlocks)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    constexpr int kChildren = 200000;  // past three blocks of 65,536
    std::string doc = "<r>";
    for (int i = 0; i < kChildren; ++i) doc += "<e/>";
    doc += "</r>";
    ASSERT_TRUE(files.Load(reader, doc));
    ASSERT_EQ(reader.GetRecordCount(), kChildren + 2u);
    // Every link survives the growth of the last block and the new blocks.
    std::uint32_t index = reader.GetRecord(1).firstChild;
    std::uint32_t count = 0;
    std::uint32_t previous = 0;
    while (index != 0) {
        const ElementRecord e = reader.GetRecord(index);
        ASSERT_EQ(e.start, 3u + 4u * count);
        ASSERT_EQ(e.parent, 1u);
        if (previous != 0) {
            ASSERT_EQ(e.prevSibling, previous);
        }
        previous = index;
        index = e.nextSibling;
        ++count;
    }
    EXPECT_EQ(count, static_cast<std::uint32_t>(kChildren));
    EXPECT_EQ(reader.GetRecord(2).prevSibling, kChildren + 1u);
}

}  // namespace
}  // namespace quillon
