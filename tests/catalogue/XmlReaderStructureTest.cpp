// The scanner, the element records and every structural message (numbered
// as in catalogue/ElementBuilder.h).
#include <gtest/gtest.h>

#include "catalogue/XmlScanner.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;

TEST(XmlReaderStructure, EveryRowOfTheMessageTable)
{
    const struct {
        const char* label;  // the message number first
        std::string doc;
        std::string message;  // empty: well formed
    } cases[] = {
        {"well formed", "<a><b/><c>t</c></a>", ""},
        {"well formed, every kind of node",
         "<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY> <!-- > --> <?pi > ?> <!ATTLIST a b CDATA '>'>]>"
         "<a b='>' c=\"/>\"><![CDATA[<x>]]><!-- <y> --><?p <z>?> text </a><!-- after -->\n",
         ""},
        {"2 text only", "hello", "No root element"},
        {"3 sibling", "<a/><b/>", "Root element has sibling"},
        {"3 replaces an earlier message", "<a></b></a><c/>", "Root element has sibling"},
        {"4 lone end tag", "<a></b></a>", "No start tag for end tag 'b' at offset 3"},
        {"4 empty end tag name", "<a></></a>", "No start tag for end tag '' at offset 3"},
        {"4 names compare exactly", "<a></A></a>", "No start tag for end tag 'A' at offset 3"},
        {"5 mismatch", "<a><b></a>", "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
        {"6 offset of the innermost", " <a x='1'>", "Element 'a' at offset 1 not ended"},
        {"7 digit after <", "<a><1/></a>", "Incorrect tag name character at offset 3"},
        {"7 bad character, no >", "<a><=", "Incorrect tag name character at offset 3"},
        {"8 bad ! tag", "<a><!x></a>", "Incorrect ! tag at offset 3"},
        {"8 lower-case doctype", "<!doctype a><a/>", "Incorrect ! tag at offset 0"},
        {"9 bad comment", "<a><!-x></a>", "Incorrect comment tag at offset 3"},
        {"10 bad [ tag", "<a><![x[]]></a>", "Incorrect tag at offset 3"},
        {"11 start tag", "<a><b", "Element tag at offset 3 unterminated"},
        {"11 quoted value never closed", "<a><b c='>'d='></a>", "Element tag at offset 3 unterminated"},
        {"11 end tag", "<a></a", "Element end tag at offset 3 unterminated"},
        {"11 CDATA", "<a><![CDATA[x]]", "CDATA Section at offset 3 unterminated"},
        {"11 processing instruction", "<a><?pi x", "Processing instruction at offset 3 unterminated"},
        {"11 comment", "<a><!-- x --", "Comment at offset 3 unterminated"},
        {"11 doctype", "<a><!DOCTYPE a [<!ELEMENT a ANY>", "Doctype at offset 3 unterminated"},
        {"11 inside a doctype", "<a><!DOCTYPE a [<!-- ]> -->", "Doctype at offset 3 unterminated"},
        {"11 markup declaration", "<a><!ENTITY x 'y>", "Doctype at offset 3 unterminated"},
        {"11 without an element, 2 replaces it", "<!DOCTYPE a [", "No root element"},
        {"11 kind not yet known: <", "<a>x</a><", "tag at offset 8 unterminated"},
        {"11 kind not yet known: <!", "<a><!", "tag at offset 3 unterminated"},
        {"11 kind not yet known: <!-", "<a><!-", "tag at offset 3 unterminated"},
        {"11 kind not yet known: <![", "<a><![", "tag at offset 3 unterminated"},
        {"only the first message survives", "<a></b><1></a>", "No start tag for end tag 'b' at offset 3"},
    };
    test::XmlFileLoader files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CXmlReader reader;
        EXPECT_EQ(files.Load(reader, c.doc), c.message.empty());
        // Without '<' first, the UTF-8 test decides (and passes).
        const std::string size = std::to_string(c.doc.size());
        EXPECT_EQ(reader.GetResultText(), "UTF-8 length " + size +
                                              (c.doc[0] == '<' ? " " : " (used UTF-8 detection) ") + "to " + size +
                                              " wide chars " + (c.message.empty() ? "" : " " + c.message));
    }
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

// Records first..last as "START+LENGTH STARTTAG/ENDTAG Llevel Pparent
// Cfirst-child Nnext Vprevious", then F for the first-child mark and E for
// not ended.
std::vector<std::string> Records(const CXmlReader& reader, std::uint32_t first, std::uint32_t last)
{
    std::vector<std::string> out;
    for (std::uint32_t i = first; i <= last; ++i) {
        const ElementRecord e = reader.GetRecord(i);
        out.push_back(std::to_string(e.start) + "+" + std::to_string(e.length) + " " +
                      std::to_string(e.StartTagLength()) + "/" + std::to_string(e.EndTagLength()) + " L" +
                      std::to_string(e.Level()) + " P" + std::to_string(e.parent) + " C" +
                      std::to_string(e.firstChild) + " N" + std::to_string(e.nextSibling) + " V" +
                      std::to_string(e.prevSibling) + (e.flags & ElementRecord::kFirstChild ? " F" : "") +
                      (e.flags & ElementRecord::kNotEnded ? " E" : ""));
    }
    return out;
}

TEST(XmlReaderStructure, RecordsHoldOffsetsLengthsAndLinks)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(files.Load(reader, "<r>\n <a/>\n <b x=\"1\">t</b>\n <c></c>\n</r>"));
    ASSERT_EQ(reader.GetRecordCount(), 5u);
    // Record 0 is the document; a first child's previous sibling is the last
    // child; an empty-element tag's length is its start tag's.
    EXPECT_EQ(Records(reader, 0, 4), (std::vector<std::string>{"0+39 0/0 L0 P0 C1 N0 V0", "0+39 3/4 L0 P0 C2 N0 V1 F",
                                                               "5+4 4/0 L1 P1 C0 N3 V4 F", "11+14 9/4 L1 P1 C0 N4 V2",
                                                               "27+7 3/4 L1 P1 C0 N0 V3"}));
}

TEST(XmlReaderStructure, EmptyElementTagsAreTold)
{
    // Whether the tag stands alone (true) or needs an end tag.
    const std::pair<std::u16string_view, bool> cases[] = {
        {u"<a/>", true},        {u"<a />", true},     {u"<a\t/>", true},        {u"<a b=\"1\"/>", true},
        {u"<a b='1'/>", true},  {u"<a b=1/>", false}, {u"<a b/>", false},       {u"<a>", false},
        {u"<a b='/>'>", false}, {u"<a:b/>", true},    {u"<a b=\"x\" />", true},
    };
    for (const auto& [tag, empty] : cases) {
        XmlScanner scanner(tag);
        XmlNode node;
        ASSERT_TRUE(scanner.Next(node));
        EXPECT_EQ(node.kind, empty ? XmlNodeKind::EmptyTag : XmlNodeKind::StartTag) << U8(tag);
        EXPECT_EQ(node.length, tag.size()) << U8(tag);
    }
}

TEST(XmlReaderStructure, MismatchClosesInnerElementsAndMovesTheirChildrenUp)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    // r > a > (p, b > q): </r> closes b and a as not ended; under r, in
    // document order, a p b q; r itself is closed normally.
    EXPECT_FALSE(files.Load(reader, "<r><a><p/><b><q/></r>"));
    EXPECT_EQ(
        Records(reader, 1, 5),
        (std::vector<std::string>{"0+21 3/4 L0 P0 C2 N0 V1 F", "3+3 3/0 L1 P1 C0 N3 V5 F E", "6+4 4/0 L1 P1 C0 N4 V2",
                                  "10+3 3/0 L1 P1 C0 N5 V3 E", "13+4 4/0 L1 P1 C0 N0 V4"}));
}

TEST(XmlReaderStructure, RecordBlocksStartAtLengthOver64AndGrowByHalf)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(files.Load(reader, "<a/>"));
    EXPECT_EQ(reader.GetRecordCapacity(), 4u / 64 + 8);
    // 87 units -> 9 records first; 22 needed: 9 -> 13 -> 19 -> 28.
    ASSERT_TRUE(files.Load(reader, "<r>" + test::Repeat("<a/>", 20) + "</r>"));
    EXPECT_EQ(reader.GetRecordCount(), 22u);
    EXPECT_EQ(reader.GetRecordCapacity(), 28u);

    // Past three blocks of 65,536: every link survives the growth.
    constexpr std::uint32_t kChildren = 200000;
    ASSERT_TRUE(files.Load(reader, "<r>" + test::Repeat("<e/>", kChildren) + "</r>"));
    ASSERT_EQ(reader.GetRecordCount(), kChildren + 2);
    std::uint32_t count = 0;
    std::uint32_t previous = 0;
    for (std::uint32_t i = reader.GetRecord(1).firstChild; i != 0; previous = i, i = reader.GetRecord(i).nextSibling) {
        const ElementRecord e = reader.GetRecord(i);
        ASSERT_EQ(e.start, 3u + 4u * count++);
        ASSERT_EQ(e.parent, 1u);
        ASSERT_TRUE(previous == 0 || e.prevSibling == previous);
    }
    EXPECT_EQ(count, kChildren);
    EXPECT_EQ(reader.GetRecord(2).prevSibling, kChildren + 1);
}

}  // namespace
}  // namespace quillon
