// Element text and character references.
#include <gtest/gtest.h>

#include "catalogue/CharacterReferences.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;

std::u16string Decoded(std::u16string_view text)
{
    std::u16string out;
    AppendDecodedText(out, text);
    return out;
}

TEST(XmlReaderText, CharacterReferences)
{
    struct Case {
        std::u16string_view text;
        std::u16string_view decoded;
    };
    const Case cases[] = {
        // Named and numeric references side by side.
        {u" x &lt;y&gt; &#65;&#x42; &amp;c ", u" x <y> AB &c "},
        // Left unchanged: unknown names, the value 0, names of 10 characters.
        {u"&foo;", u"&foo;"},
        {u"&#0;", u"&#0;"},
        {u"&abcdefghij;", u"&abcdefghij;"},
        // Numbers: hexadecimal with x or X, digits up to the first non-digit.
        {u"&#X41;&#x41zz;&#12ab;", u"AA\u000C"},
        {u"&#00000065;", u"A"},             // 9 characters: still a reference
        {u"&#000000065;", u"&#000000065;"},  // 10: not
        {u"&#x;&#;&;", u"&#x;&#;&;"},
        // Negative and beyond Unicode: unchanged.
        {u"&#-65;", u"&#-65;"},
        {u"&#x110000;", u"&#x110000;"},
        {u"&#1114112;", u"&#1114112;"},
        {u"&#xFFFFFFF;", u"&#xFFFFFFF;"},
        // Surrogate pairs from U+10000 on.
        {u"&#x1F600;&#128512;&#x10FFFF;", u"\U0001F600\U0001F600\U0010FFFF"},
        {u"&#xFFFF;", u"\uFFFF"},
        // Names: the exact spelling first, then folded.
        {u"&Oslash;&oslash;&OSLASH;", u"\u00D8\u00F8\u00F8"},
        {u"&Dagger;&dagger;&lArr;&larr;", u"\u2021\u2020\u21D0\u2190"},
        {u"&AMP;&Lt;&apos;&quot;", u"&<'\""},
        {u"&nbsp;&euro;&hellip;&thetasym;&yuml;", u"\u00A0\u20AC\u2026\u03D1\u00FF"},
        // Not references: no ';' within 9, a non-ASCII character, the end.
        {u"&amp", u"&amp"},
        {u"&a\u4E2D;", u"&a\u4E2D;"},
        {u"a & b", u"a & b"},
        {u"&", u"&"},
        // The '&' is copied and scanning goes on right after it.
        {u"&&amp;", u"&&"},
        {u"&x&lt;;", u"&x<;"},
    };
    for (const Case& c : cases) EXPECT_EQ(U8(Decoded(c.text)), U8(c.decoded)) << U8(c.text);
}

TEST(XmlReaderText, EntityTableHasHtml401PlusApos)
{
    EXPECT_EQ(CharacterEntityCount(), 253u);
    EXPECT_EQ(LookupCharacterEntity(u"apos"), 39u);
    EXPECT_EQ(LookupCharacterEntity(u"Alpha"), 913u);
    EXPECT_EQ(LookupCharacterEntity(u"alpha"), 945u);
    EXPECT_EQ(LookupCharacterEntity(u"ALPHA"), 945u);
    EXPECT_EQ(LookupCharacterEntity(u"diams"), 9830u);
    EXPECT_EQ(LookupCharacterEntity(u"zwnj"), 8204u);
    EXPECT_EQ(LookupCharacterEntity(u"nosuch"), 0u);
    EXPECT_EQ(LookupCharacterEntity(u""), 0u);
}

struct TextCase {
    const char* label;
    std::string doc;
    std::u16string_view text;  // GetElementText of the root element "a"
};

TEST(XmlReaderText, ElementText)
{
    const TextCase cases[] = {
        {"references", "<a> x &lt;y&gt; &#65;&#x42; &amp;c </a>", u" x <y> AB &c "},
        {"white space alone is kept without markup", "<a>  \n </a>", u"  \n "},
        {"child element: empty", "<a>t<b/></a>", u""},
        {"empty-element tag", "<a/>", u""},
        {"no content", "<a></a>", u""},
        {"CDATA raw, white space, comments and PIs dropped",
         "<a> <![CDATA[<x>&amp;]]> y &amp; <!-- c --><?p?>\n</a>", u"<x>&amp; y & "},
        {"CDATA alone", "<a><![CDATA[]]></a>", u""},
        {"CDATA shorter than its markers", "<a><![CDA]]></a>", u""},
        {"attributes are not text", "<a b='&amp;'>v</a>", u"v"},
        {"UTF-8 content", "<a>\xE4\xB8\xAD&#x6587;</a>", u"\u4E2D\u6587"},
    };
    test::XmlFileLoader files;
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        CXmlReader reader;
        EXPECT_TRUE(files.Load(reader, c.doc));
        ASSERT_TRUE(reader.FindElement(u"a"));
        EXPECT_EQ(U8(reader.GetElementText()), U8(c.text));
    }
}

TEST(XmlReaderText, TextOfElementsClosedByRecoveryIsEmpty)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, "<r><a>text</r>"));
    ASSERT_TRUE(reader.FindElement(u"r"));
    ASSERT_TRUE(reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(u"a"));
    EXPECT_EQ(reader.GetElementText(), u"");
    // An end tag that was ignored stays in its element's content as markup.
    EXPECT_FALSE(files.Load(reader, "<a>x</b>y</a>"));
    ASSERT_TRUE(reader.FindElement(u"a"));
    EXPECT_EQ(reader.GetElementText(), u"xy");
}

}  // namespace
}  // namespace quillon
