// Byte-order marks, declared encodings, the UTF-8 test, the name table,
// code-page conversion and the result text.
#include <gtest/gtest.h>

#include "base/CodePages.h"
#include "catalogue/EncodingDetection.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::U8;
using test::Utf16Bytes;

TEST(XmlReaderEncoding, FilesAreReadWithTheirEncodingAndDescribed)
{
    // 5,120 bytes after the mark that convert to 5,000 units: 60 three-byte
    // characters save 120 units.
    const std::string big = "<a>" + test::Repeat("\xE4\xB8\xAD", 60) + std::string(4933, 'x') + "</a>";
    const struct {
        std::string bytes;
        bool wellFormed;
        std::string resultText;
        std::u16string rootText;  // GetElementText of the root element "a"
        std::uint32_t flags;
    } cases[] = {
        {"\xEF\xBB\xBF" + big, true, "UTF-8 BOM + length 5120 to 5000 wide chars ",
         std::u16string(60, u'\u4E2D') + std::u16string(4933, u'x'), CXmlReader::kUtf8Preamble},
        {"\xFE\xFF" + Utf16Bytes(u"<a>\u4E2D</a>", true), true, "UTF-16BE BOM + length 8 endian swap ", u"\u4E2D",
         CXmlReader::kUtf16BeFile},
        {"\xFF\xFE" + Utf16Bytes(std::u16string(u"<a>x\0</a>", 9)), true, "UTF-16LE BOM + length 9 (1 nulls removed) ",
         u"x", CXmlReader::kUtf16LeFile},
        {"\xFF\xFE" + Utf16Bytes(u"<a>x</a>") + "Z", true, "UTF-16LE BOM + length 8 ", u"x",  // odd byte dropped
         CXmlReader::kUtf16LeFile},
        {"<a>\xE4\xB8\xAD</a>", true, "UTF-8 length 10 to 8 wide chars ", u"\u4E2D", 0},
        {"<?xml version=\"1.0\" encoding=\"GB2312\"?><a>\xD6\xD0\x81\x40\x80</a>", true,
         "GB2312 length 51 to 49 wide chars ", u"\u4E2D\u4E02\u20AC", 0},
        {"<?xml encoding=\"x-nonsense\"?><a>\xD6\xD0</a>", true, "x-nonsense length 38 to 37 wide chars ", u"\u4E2D",
         0},
        {"<?xml encoding=\"utf-7\"?><a>+ZeVnLIqe-</a>", true, "utf-7 length 41 to 34 wide chars ",
         u"\u65E5\u672C\u8A9E", 0},
        {"<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"/>\xD6\xD0</html>", true,
         "gbk length 81 to 80 wide chars ", u"", 0},
        {" <a>\xE4\xB8\xAD</a>", true, "UTF-8 length 11 (used UTF-8 detection) to 9 wide chars ", u"\u4E2D", 0},
        {" <a>\xB0\xA1</a>", true, "ANSI length 10 (used UTF-8 detection) to 9 wide chars ", u"\u554A", 0},
        // GBK text that a test of the lead bytes alone would take for UTF-8.
        {"\n<a>\xD6\xD0\xCE\xC4</a>", true, "ANSI length 12 (used UTF-8 detection) to 10 wide chars ", u"\u4E2D\u6587",
         0},
        {Utf16Bytes(u"<a>x</a>"), true, "UTF-8 length 16 (8 nulls removed) to 8 wide chars ", u"x", 0},
        {"", false, "ANSI 0 length  Empty document", u"", 0},
        {"\xEF\xBB\xBF", false, "UTF-8 BOM + 0 length  Empty document", u"", CXmlReader::kUtf8Preamble},
        {std::string(4, '\0'), false,
         "UTF-8 length 4 (4 nulls removed) (used UTF-8 detection) to 0 wide chars  Empty document", u"", 0},
        {"\xFF\xFE<", false, "UTF-16LE BOM + length 0  Empty document", u"", CXmlReader::kUtf16LeFile},
    };
    // One reader for all: each load replaces the document, flags and records.
    test::XmlFileLoader files;
    CXmlReader reader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resultText);
        EXPECT_EQ(files.Load(reader, c.bytes), c.wellFormed);
        EXPECT_EQ(reader.GetResultText(), c.resultText);
        EXPECT_EQ(reader.GetDocumentFlags(), c.flags);
        reader.FindElement(u"a");
        EXPECT_EQ(U8(reader.GetElementText()), U8(c.rootText));
    }
}

TEST(XmlReaderEncoding, ByteOrderMarksNeedTheirFullLength)
{
    EXPECT_EQ(DetectByteOrderMark("\xEF\xBB\xBF<").length, 3u);
    for (const std::string_view partial : {"\xEF\xBB", "\xFF", "", "\xFE\xFE"})
        EXPECT_EQ(DetectByteOrderMark(partial).mark, ByteOrderMark::None);
}

TEST(XmlReaderEncoding, DeclaredEncodingIsFoundInXmlAndHtmlForms)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"<?xml version=\"1.0\" encoding=\"GB2312\"?><a/>", u"GB2312"},
        {u"<?XML ENCODING='big5'?>", u"big5"},
        {u"<?xml encoding=gbk?>", u"gbk"},
        {u"<?xml encoding = \"gbk\" standalone='yes'?>", u"gbk"},
        {u"<!-- note --> <?xml encoding=\"gbk\"?>", u"gbk"},
        {u"<?xml version=\"1.0\"?><?xml encoding=\"gbk\"?>", u""},  // only the first PI counts
        {u"<?other?><?xml encoding=\"gbk\"?>", u""},
        {u"<a/><?xml encoding=\"gbk\"?>", u""},
        {u"</x><?xml encoding=\"gbk\"?>", u""},
        {u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head>", u"big5"},
        {u"<HTML><META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;charset = GBK\">", u"GBK"},
        {u"<html><meta http-equiv=refresh content=\"charset=gbk\"><meta http-equiv=\"Content-Type\" "
         u"content=\"text/html; charset=utf-8\">",
         u"utf-8"},
        {u"<html><meta http-equiv=\"Content-Type\" content=\"text/html\"><meta http-equiv=\"Content-Type\" "
         u"content=\"charset=gbk\">",
         u""},
        {u"<html></head><meta http-equiv=\"Content-Type\" content=\"charset=gbk\">", u""},
        {u"<1<?xml encoding=\"gbk\"?>", u""},  // a malformed node ends the search
        {u"<?xml encoding=\"gbk\"", u""},      // unterminated
    };
    for (const auto& [text, declared] : cases)
        EXPECT_EQ(U8(FindDeclaredEncoding(text)), U8(declared)) << U8(text);
}

TEST(XmlReaderEncoding, Utf8TestWantsWellFormedSequences)
{
    const std::pair<std::string, bool> cases[] = {
        {"plain ascii text, more than eight bytes", true},
        {"\xE4\xB8\xAD\xE6\x96\x87", true},           // two three-byte characters
        {"\xC2\x80 \xDF\xBF \xEF\xBF\xBF", true},     // the edges of two and three bytes
        {"\xF0\x90\x80\x80 \xF4\x8F\xBF\xBF", true},  // U+10000 and U+10FFFF
        {"\xED\x9F\xBF\xEE\x80\x80", true},           // either side of the surrogates
        {"\xD6\xD0\xCE\xC4", false},                  // GBK: D0 and C4 are no continuation bytes
        {"\xC4\xE3\xBA\xC3", false},                  // GBK
        {"\xB0\xA1", false},                          // GBK: B0 is no lead byte
        {"\x80\x80", false},                          // stray continuation bytes
        {"\xC0\xAF", false},                          // overlong '/'
        {"\xC1\xBF", false},
        {"\xE0\x9F\xBF", false},      // overlong three-byte form
        {"\xF0\x8F\xBF\xBF", false},  // overlong four-byte form
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\xF8\x80\x80\x80\x80", false},
        {"\xE4\xB8", false},  // cut off by the end
        {"\xE4\xB8"
         "abcdefgh",
         false},                            // cut off by ASCII
        {std::string("a\0\xFF", 3), true},  // walking stops at a zero byte
    };
    for (const auto& [bytes, passes] : cases) {
        Utf8Test whole, pieces;
        whole.Feed(bytes);
        for (const char b : bytes)
            pieces.Feed(std::string_view(&b, 1));
        EXPECT_EQ(whole.Passed(), passes) << testing::PrintToString(bytes);
        EXPECT_EQ(pieces.Passed(), passes) << testing::PrintToString(bytes);
    }
}

TEST(XmlReaderEncoding, NameTableHoldsTheTellingRows)
{
    const std::pair<std::vector<std::string_view>, int> rows[] = {
        {{"utf-8", "unicode-1-1-utf-8", "unicode-2-0-utf-8", "x-unicode-2-0-utf-8"}, 65001},
        {{"utf-16", "unicode"}, 1200},
        {{"unicodefffe"}, 1201},
        {{"hz-gb-2312"}, 52936},
        {{"euc-kr"}, 949},
        {{"gb2312", "gbk", "chinese", "cn-gb", "csgb2312", "csgb231280", "csiso58gb231280", "gb2312-80", "gb231280",
          "gb_2312-80", "iso-ir-58"},
         936},
        {{"big5", "cn-big5", "csbig5", "x-x-big5"}, 950},
        {{"euc-cn", "x-euc-cn"}, 51936},
        {{"shift_jis", "shift-jis", "csshiftjis"}, 932},
        {{"iso-8859-1", "iso_8859-1", "iso8859-1", "iso_8859-1:1987", "latin1"}, 28591},
        {{"windows-1252", "x-ansi", "us", "iso-ir-6"}, 1252},
        {{"us-ascii", "ascii", "csascii"}, 20127},
        {{"utf-7", "unicode-1-1-utf-7", "x-unicode-2-0-utf-7", "csunicode11utf7"}, 65000},
    };
    for (const auto& [names, codePage] : rows) {
        for (const std::string_view name : names) {
            std::string upper(name);
            for (char& ch : upper)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            EXPECT_EQ(CodePageFromName(upper), codePage) << upper;
        }
    }
    ASSERT_GE(CodePageNameCount(), 254u);
    for (std::size_t i = 0; i < CodePageNameCount(); ++i) {
        const auto [name, codePage] = CodePageNameAt(i);
        EXPECT_EQ(LookupCodePageName(name), codePage) << name;
        EXPECT_EQ(CodePageDecoder(codePage).CodePage(), codePage) << name << " fell back to ANSI";
    }
}

TEST(XmlReaderEncoding, NamesOutsideTheTableSelectTheAnsiCodePage)
{
    for (const std::string_view name : {"", "gb2312 ", "g\xC3\xA9k", "UTF-3"})
        EXPECT_EQ(CodePageFromName(name), kAnsiCodePage) << name;
    // 100 characters or more are never found, even when starting like a name.
    EXPECT_EQ(LookupCodePageName("gbk" + std::string(96, ' ')), 0);
    EXPECT_EQ(CodePageFromName("UTF-32"), kCodePageUtf32);
    EXPECT_EQ(CodePageFromName("utf-32be-whatever"), kCodePageUtf32);
}

TEST(XmlReaderEncoding, CodePagesConvertWithReplacementCharacters)
{
    const std::tuple<int, std::string, std::u16string> cases[] = {
        {936, "\xD6\xD0\xCE\xC4\x80\x81\x40", u"\u4E2D\u6587\u20AC\u4E02"},
        {936,
         "A\xFF"
         "B",
         u"A\uFFFDB"},
        {936, "A\xD6", u"A\uFFFD"},  // lead byte cut off by the end
        {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
        {51936, "\xD6\xD0", u"\u4E2D"},
        {52936, "A~{VPND~}B~~C~\nD", u"A\u4E2D\u6587B~CD"},
        {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
        {949, "\xC7\xD1", u"\uD55C"},
        {28591, "\xE9\xFF", u"\u00E9\u00FF"},
        {1252, "\x80\x93", u"\u20AC\u201C"},
        {20127, "A\x80", u"A\uFFFD"},
        {65000, "+ZeVnLIqe-!", u"\u65E5\u672C\u8A9E!"},
        {65001, "\xF0\x9F\x98\x80\xC0\x80", u"\U0001F600\uFFFD\uFFFD"},
        {kCodePageUtf32,
         std::string("A\0\0\0\x00\xF6\x01\x00\x00\xD8\x00\x00\xFF\xFF\xFF\xFF"
                     "Z",
                     17),
         u"A\U0001F600\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [codePage, bytes, text] : cases) {
        SCOPED_TRACE(codePage);
        EXPECT_EQ(U8(DecodeCodePage(codePage, bytes)), U8(text));
        // The same, one byte at a time: sequences split between pieces.
        CodePageDecoder decoder(codePage);
        U16Buffer out;
        for (const char b : bytes)
            decoder.Feed(&b, 1, out);
        decoder.Finish(out);
        EXPECT_EQ(U8(out.View()), U8(text));
    }
}

TEST(XmlReaderEncoding, Utf8AndUtf16ConvertBothWaysWithReplacement)
{
    EXPECT_EQ(Utf8ToUtf16("a\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"a\u4E2D\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u4E2D\U0001F600"), "a\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");  // lone surrogates
    const std::pair<std::string_view, std::u16string_view> broken[] = {
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xE4\xB8"
         "a",
         u"\uFFFD"
         "a"},  // cut short
    };
    for (const auto& [bytes, text] : broken)
        EXPECT_EQ(Utf8ToUtf16(bytes), text);
}

// The decoder takes ASCII in blocks and CJK runs on a short path: every
// sequence, well formed or broken, must give the same units wherever it
// falls against a block edge, and wherever a piece of the file ends.
TEST(XmlReaderEncoding, Utf8DecodesAlikeAtEveryOffsetAndPieceSize)
{
    const std::pair<std::string, std::u16string> sequences[] = {
        {"\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong
        {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xE4\xB8", u"\uFFFD"},                            // cut short by ASCII
        {"\xB8\xAD", u"\uFFFD\uFFFD"},                      // continuation bytes alone
        {"\xD6\xD0\xCE\xC4", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // GBK
    };
    const std::string tail = "<tail of some ascii>";
    for (const auto& [sequence, units] : sequences) {
        for (std::size_t offset = 0; offset <= 33; ++offset) {
            const std::string bytes = std::string(offset, 'a') + sequence + tail;
            const std::u16string expected = std::u16string(offset, u'a') + units + u"<tail of some ascii>";
            SCOPED_TRACE(testing::Message() << testing::PrintToString(sequence) << " at " << offset);
            EXPECT_EQ(U8(Utf8ToUtf16(bytes)), U8(expected));
            for (const std::size_t piece : {1u, 2u, 5u, 17u}) {
                CodePageDecoder decoder(kCodePageUtf8);
                U16Buffer out;
                for (std::size_t at = 0; at < bytes.size(); at += piece)
                    decoder.Feed(bytes.data() + at, std::min(piece, bytes.size() - at), out);
                decoder.Finish(out);
                EXPECT_EQ(U8(out.View()), U8(expected)) << "pieces of " << piece;
            }
        }
    }
}

}  // namespace
}  // namespace quillon
