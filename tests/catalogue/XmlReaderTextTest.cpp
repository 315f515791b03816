// Element text and character references.
#include <gtest/gtest.h>

#include "catalogue/CharacterReferences.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;

TEST(XmlReaderText, CharacterReferences)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u" x &lt;y&gt; &#65;&#x42; &amp;c ", u" x <y> AB &c "},
        // Left unchanged: unknown names, the value 0, names of 10 characters.
        {u"&foo;&#0;&abcdefghij;", u"&foo;&#0;&abcdefghij;"},
        // Numbers: hexadecimal with x or X, digits up to the first non-digit.
        {u"&#X41;&#x41zz;&#12ab;", u"AA\u000C"},
        {u"&#00000065;", u"A"},              // 9 characters: still a reference
        {u"&#000000065;", u"&#000000065;"},  // 10: not
        {u"&#x;&#;&;", u"&#x;&#;&;"},
        // Negative and beyond Unicode: unchanged.
        {u"&#-65;&#x-1;&#x110000;&#1114112;&#xFFFFFFF;", u"&#-65;&#x-1;&#x110000;&#1114112;&#xFFFFFFF;"},
        // Surrogate pairs from U+10000 on.
        {u"&#x1F600;&#128512;&#x10FFFF;&#xFFFF;", u"\U0001F600\U0001F600\U0010FFFF\uFFFF"},
        // Names: the exact spelling first, then folded.
        {u"&Oslash;&oslash;&OSLASH;&Dagger;&dagger;&lArr;&larr;", u"\u00D8\u00F8\u00F8\u2021\u2020\u21D0\u2190"},
        {u"&AMP;&Lt;&apos;&quot;", u"&<'\""},
        {u"&nbsp;&euro;&hellip;&thetasym;&yuml;&zwnj;&diams;", u"\u00A0\u20AC\u2026\u03D1\u00FF\u200C\u2666"},
        // Not references: no ';' within 9, a non-ASCII character, the end.
        {u"&amp", u"&amp"},
        {u"&a\u4E2D;", u"&a\u4E2D;"},
        {u"a & b &", u"a & b &"},
        // The '&' is copied and scanning goes on right after it.
        {u"&&amp;&x&lt;;", u"&&&x<;"},
    };
    for (const auto& [text, decoded] : cases) {
        std::u16string out;
        AppendDecodedText(out, text);
        EXPECT_EQ(U8(out), U8(decoded)) << U8(text);
    }
    EXPECT_EQ(CharacterEntityCount(), 253u);
}

TEST(XmlReaderText, ElementText)
{
    const std::pair<std::string, std::u16string_view> cases[] = {
        {"<a> x &lt;y&gt; &#65;&#x42; &amp;c </a>", u" x <y> AB &c "},
        {"<a>  \n </a>", u"  \n "},  // white space alone is kept without markup
        {"<a>t<b/></a>", u""},       // a child element: empty
        {"<a/>", u""},
        {"<a></a>", u""},
        // CDATA raw; white space, comments and processing instructions dropped.
        {"<a> <![CDATA[<x>&amp;]]> y &amp; <!-- c --><?p?>\n</a>", u"<x>&amp; y & "},
        {"<a><![CDATA[]]></a>", u""},
        {"<a><![CDA]]></a>", u""},  // shorter than its markers
        {"<a b='&amp;'>v</a>", u"v"},
        {"<a>\xE4\xB8\xAD&#x6587;</a>", u"\u4E2D\u6587"},
    };
    test::XmlFileLoader files;
    for (const auto& [doc, text] : cases) {
        CXmlReader reader;
        EXPECT_TRUE(files.Load(reader, doc));
        ASSERT_TRUE(reader.FindElement(u"a"));
        EXPECT_EQ(U8(reader.GetElementText()), U8(text)) << doc;
    }
}

TEST(XmlReaderText, TextOfElementsClosedByRecoveryIsEmpty)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    EXPECT_FALSE(files.Load(reader, "<r><a>text</r>"));
    ASSERT_TRUE(reader.FindElement(u"r") && reader.EnterElement() && reader.FindElement(u"a"));
    EXPECT_EQ(reader.GetElementText(), u"");
    // An end tag that was ignored stays in its element's content as markup.
    EXPECT_FALSE(files.Load(reader, "<a>x</b>y</a>"));
    ASSERT_TRUE(reader.FindElement(u"a"));
    EXPECT_EQ(reader.GetElementText(), u"xy");
}

}  // namespace
}  // namespace quillon
