// Byte-order marks, declared encodings, the UTF-8 test, the name table,
// code-page conversion and the result text.
#include <gtest/gtest.h>

#include "catalogue/CodePages.h"
#include "catalogue/EncodingDetection.h"
#include "catalogue/Utf.h"
#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::Repeat;
using test::U8;
using test::Utf16Bytes;

// --- Whole files: the encoding chosen and the result text -----------------

struct FileCase {
    const char* label;
    std::string bytes;
    bool wellFormed;
    std::string resultText;
    std::u16string rootText;  // GetElementText of the root element "a"
    std::uint32_t flags;
};

std::vector<FileCase> FileCases()
{
    // 5,120 bytes after the mark that convert to 5,000 units: 60 three-byte
    // characters save 120 units.
    const std::string big = "<a>" + Repeat("\xE4\xB8\xAD", 60) + std::string(4933, 'x') + "</a>";
    return {
        {"utf8 mark", "\xEF\xBB\xBF<a>x</a>", true, "UTF-8 BOM + length 8 to 8 wide chars ", u"x",
         CXmlReader::kUtf8Preamble},
        {"utf8 mark, 5120 bytes to 5000 units", "\xEF\xBB\xBF" + big, true, "UTF-8 BOM + length 5120 to 5000 wide chars ",
         std::u16string(60, u'\u4E2D') + std::u16string(4933, u'x'), CXmlReader::kUtf8Preamble},
        {"utf16le mark", "\xFF\xFE" + Utf16Bytes(u"<a>\u4E2D</a>"), true, "UTF-16LE BOM + length 8 ", u"\u4E2D",
         CXmlReader::kUtf16LeFile},
        {"utf16be mark: swapped", "\xFE\xFF" + Utf16Bytes(u"<a>\u4E2D</a>", true), true,
         "UTF-16BE BOM + length 8 endian swap ", u"\u4E2D", CXmlReader::kUtf16BeFile},
        {"utf16le mark with a zero unit", "\xFF\xFE" + Utf16Bytes(std::u16string(u"<a>x\0</a>", 9)), true,
         "UTF-16LE BOM + length 9 (1 nulls removed) ", u"x", CXmlReader::kUtf16LeFile},
        {"utf16le mark, odd last byte dropped", "\xFF\xFE" + Utf16Bytes(u"<a>x</a>") + "Z", true,
         "UTF-16LE BOM + length 8 ", u"x", CXmlReader::kUtf16LeFile},
        {"no mark, starts with <", "<a>\xE4\xB8\xAD</a>", true, "UTF-8 length 10 to 8 wide chars ", u"\u4E2D", 0},
        {"no mark, xml declaration without encoding", "<?xml version=\"1.0\"?><a>x</a>", true,
         "UTF-8 length 29 to 29 wide chars ", u"x", 0},
        {"declared GB2312 holding GBK-only bytes", "<?xml version=\"1.0\" encoding=\"GB2312\"?><a>\xD6\xD0\x81\x40\x80</a>",
         true, "GB2312 length 51 to 49 wide chars ", u"\u4E2D\u4E02\u20AC", 0},
        {"declared unknown name reads as ANSI", "<?xml encoding=\"x-nonsense\"?><a>\xD6\xD0</a>", true,
         "x-nonsense length 38 to 37 wide chars ", u"\u4E2D", 0},
        {"declared ISO-8859-1", "<?xml encoding='iso-8859-1'?><a>\xE9</a>", true,
         "iso-8859-1 length 37 to 37 wide chars ", u"\u00E9", 0},
        {"declared windows-1252", "<?xml encoding='windows-1252'?><a>\x80</a>", true,
         "windows-1252 length 39 to 39 wide chars ", u"\u20AC", 0},
        {"declared big5", "<?xml encoding=\"big5\"?><a>\xA4\xA4</a>", true, "big5 length 32 to 31 wide chars ",
         u"\u4E2D", 0},
        {"declared us-ascii: high bytes replaced", "<?xml encoding=\"us-ascii\"?><a>\xE9</a>", true,
         "us-ascii length 35 to 35 wide chars ", u"\uFFFD", 0},
        {"declared utf-7", "<?xml encoding=\"utf-7\"?><a>+ZeVnLIqe-</a>", true, "utf-7 length 41 to 34 wide chars ",
         u"\u65E5\u672C\u8A9E", 0},
        {"declared hz-gb-2312", "<?xml encoding=\"hz-gb-2312\"?><a>~{VPND~}~~</a>", true,
         "hz-gb-2312 length 46 to 39 wide chars ", u"\u4E2D\u6587~", 0},
        {"html meta charset", "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"/>\xD6\xD0</html>",
         true, "gbk length 81 to 80 wide chars ", u"", 0},
        {"no mark, not <, valid UTF-8", " <a>\xE4\xB8\xAD</a>", true,
         "UTF-8 length 11 (used UTF-8 detection) to 9 wide chars ", u"\u4E2D", 0},
        {"no mark, not <, not UTF-8: ANSI (GBK)", " <a>\xB0\xA1</a>", true,
         "ANSI length 10 (used UTF-8 detection) to 9 wide chars ", u"\u554A", 0},
        {"utf16le without mark: nulls removed", Utf16Bytes(u"<a>x</a>"), true,
         "UTF-8 length 16 (8 nulls removed) to 8 wide chars ", u"x", 0},
        {"utf16le without mark, leading blank", Utf16Bytes(u" <a>x</a>"), true,
         "UTF-8 length 18 (9 nulls removed) (used UTF-8 detection) to 9 wide chars ", u"x", 0},
        {"empty file", "", false, "ANSI 0 length  Empty document", u"", 0},
        {"mark alone", "\xEF\xBB\xBF", false, "UTF-8 BOM + 0 length  Empty document", u"", CXmlReader::kUtf8Preamble},
        {"nulls alone", std::string(4, '\0'), false,
         "UTF-8 length 4 (4 nulls removed) (used UTF-8 detection) to 0 wide chars  Empty document", u"", 0},
        {"broken UTF-8 replaced", "<a>\xE4\xB8-\xFF</a>", true, "UTF-8 length 11 to 10 wide chars ",
         u"\uFFFD-\uFFFD", 0},
        {"broken GBK replaced", "<?xml encoding=\"gbk\"?><a>\xD6</a>", true, "gbk length 30 to 30 wide chars ",
         u"\uFFFD", 0},
    };
}

TEST(XmlReaderEncoding, FilesAreReadWithTheirEncodingAndDescribed)
{
    test::XmlFileLoader files;
    for (const FileCase& c : FileCases()) {
        SCOPED_TRACE(c.label);
        CXmlReader reader;
        EXPECT_EQ(files.Load(reader, c.bytes), c.wellFormed);
        EXPECT_EQ(reader.GetResultText(), c.resultText);
        EXPECT_EQ(reader.GetDocumentFlags(), c.flags);
        reader.FindElement(u"a");
        EXPECT_EQ(U8(reader.GetElementText()), U8(c.rootText));
    }
}

TEST(XmlReaderEncoding, MissingFileGivesTheSystemErrorText)
{
    test::TempDir dir;
    CXmlReader reader;
    EXPECT_FALSE(reader.LoadFile((dir.Path() / "missing.xml").string()));
    EXPECT_EQ(reader.GetResultText(), "No such file or directory");
    EXPECT_EQ(reader.GetRecordCount(), 0u);
    EXPECT_FALSE(reader.FindElement(u"a"));
}

TEST(XmlReaderEncoding, EachLoadReplacesTheDocument)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    ASSERT_TRUE(files.Load(reader, "\xFE\xFF" + Utf16Bytes(u"<a>x</a>", true)));
    EXPECT_EQ(reader.GetDocumentFlags(), CXmlReader::kUtf16BeFile);
    ASSERT_TRUE(files.Load(reader, "<b>y</b>"));
    EXPECT_EQ(reader.GetDocumentFlags(), 0u);
    EXPECT_EQ(U8(reader.GetDocumentText()), "<b>y</b>");
    EXPECT_FALSE(reader.FindElement(u"a"));
    EXPECT_TRUE(reader.FindElement(u"b"));
}

// --- Byte-order marks ------------------------------------------------------

TEST(XmlReaderEncoding, ByteOrderMarksAreMatchedInOrder)
{
    struct Case {
        std::string bytes;
        ByteOrderMark mark;
        std::size_t length;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF<", ByteOrderMark::Utf8, 3}, {"\xFF\xFE<", ByteOrderMark::Utf16Le, 2},
        {"\xFE\xFF", ByteOrderMark::Utf16Be, 2},   {"\xEF\xBB", ByteOrderMark::None, 0},
        {"\xFF", ByteOrderMark::None, 0},           {"", ByteOrderMark::None, 0},
        {"\xFE\xFE", ByteOrderMark::None, 0},
    };
    for (const Case& c : cases) {
        const ByteOrderMarkMatch match = DetectByteOrderMark(c.bytes);
        EXPECT_EQ(match.mark, c.mark);
        EXPECT_EQ(match.length, c.length);
    }
}

// --- Declared encoding -----------------------------------------------------

TEST(XmlReaderEncoding, DeclaredEncodingIsFoundInXmlAndHtmlForms)
{
    struct Case {
        std::u16string_view text;
        std::u16string_view declared;
    };
    const Case cases[] = {
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
        {u"<body><meta http-equiv=\"Content-Type\" content=\"charset=gbk\">", u""},
        {u"<1<?xml encoding=\"gbk\"?>", u""},   // a malformed node ends the search
        {u"<?xml encoding=\"gbk\"", u""},        // unterminated
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(c.text));
        EXPECT_EQ(U8(FindDeclaredEncoding(c.text)), U8(c.declared));
    }
}

// --- UTF-8 test ------------------------------------------------------------

TEST(XmlReaderEncoding, Utf8TestIsTheLenientOne)
{
    struct Case {
        std::string bytes;
        bool passes;
    };
    const Case cases[] = {
        {"plain ascii text, more than eight bytes", true},
        {"\xE4\xB8\xAD\xE6\x96\x87", true},
        {"\xD6\xD0\xCE\xC4", true},             // GBK that happens to pass: bit 5 clear, one continuation
        {"\x80\x80", true},                     // any byte >= 0x80 opens a sequence
        {"\xB0\xA1<", false},                   // bits 5 and 4 set: three continuations wanted
        {"\xF8\x80\x80\x80\x80", false},        // bits 5, 4 and 3 set
        {"\xE4\xB8", false},                    // cut off by the end
        {"\xC3", false},
        {std::string("a\0\xFF", 3), true},      // walking stops at a zero byte
        {"", true},
    };
    for (const Case& c : cases) {
        Utf8Test whole;
        whole.Feed(c.bytes);
        EXPECT_EQ(whole.Passed(), c.passes) << testing::PrintToString(c.bytes);
        Utf8Test pieces;
        for (const char b : c.bytes) pieces.Feed(std::string_view(&b, 1));
        EXPECT_EQ(pieces.Passed(), c.passes) << testing::PrintToString(c.bytes);
    }
}

// --- Name table ------------------------------------------------------------

TEST(XmlReaderEncoding, NameTableHoldsTheTellingRows)
{
    const std::pair<std::vector<std::string_view>, int> rows[] = {
        {{"utf-8", "unicode-1-1-utf-8", "unicode-2-0-utf-8", "x-unicode-2-0-utf-8"}, 65001},
        {{"utf-16", "unicode"}, 1200},
        {{"unicodefffe"}, 1201},
        {{"gb2312", "gbk", "chinese", "cn-gb", "csgb2312", "csgb231280", "csiso58gb231280", "gb2312-80", "gb231280",
          "gb_2312-80", "iso-ir-58"},
         936},
        {{"big5", "cn-big5", "csbig5", "x-x-big5"}, 950},
        {{"euc-cn", "x-euc-cn"}, 51936},
        {{"hz-gb-2312"}, 52936},
        {{"shift_jis", "shift-jis", "csshiftjis"}, 932},
        {{"euc-kr"}, 949},
        {{"iso-8859-1", "iso_8859-1", "iso8859-1", "iso_8859-1:1987", "latin1"}, 28591},
        {{"windows-1252", "x-ansi", "us", "iso-ir-6"}, 1252},
        {{"us-ascii", "ascii", "csascii"}, 20127},
        {{"utf-7", "unicode-1-1-utf-7", "x-unicode-2-0-utf-7", "csunicode11utf7"}, 65000},
    };
    for (const auto& [names, codePage] : rows) {
        for (const std::string_view name : names) {
            EXPECT_EQ(LookupCodePageName(name), codePage) << name;
            std::string upper(name);
            for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            EXPECT_EQ(CodePageFromName(upper), codePage) << upper;
        }
    }
}

TEST(XmlReaderEncoding, NamesOutsideTheTableSelectTheAnsiCodePage)
{
    EXPECT_EQ(CodePageFromName(""), kAnsiCodePage);
    EXPECT_EQ(CodePageFromName("x-nonsense"), kAnsiCodePage);
    EXPECT_EQ(CodePageFromName("gb2312 "), kAnsiCodePage);
    EXPECT_EQ(CodePageFromName("g\xC3\xA9k"), kAnsiCodePage);
    // A name of 100 characters or more is never found, even one that starts
    // like a table name.
    EXPECT_EQ(LookupCodePageName("gbk" + std::string(96, ' ')), 0);
    EXPECT_EQ(LookupCodePageName(std::string(100, 'a')), 0);
    // Names beginning "UTF-32" select UTF-32 without a lookup.
    EXPECT_EQ(CodePageFromName("UTF-32"), kCodePageUtf32);
    EXPECT_EQ(CodePageFromName("utf-32be-whatever"), kCodePageUtf32);
    EXPECT_EQ(CodePageFromName("UTF-3"), kAnsiCodePage);
}

TEST(XmlReaderEncoding, EveryCodePageOfTheTableHasAConverter)
{
    ASSERT_GE(CodePageNameCount(), 254u);
    for (std::size_t i = 0; i < CodePageNameCount(); ++i) {
        const auto [name, codePage] = CodePageNameAt(i);
        EXPECT_EQ(LookupCodePageName(name), codePage) << name;
        CodePageDecoder decoder(codePage);
        EXPECT_EQ(decoder.CodePage(), codePage) << name << " fell back to ANSI";
    }
}

// --- Conversion --------------------------------------------------------------

TEST(XmlReaderEncoding, CodePagesConvertWithReplacementCharacters)
{
    struct Case {
        int codePage;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {936, "\xD6\xD0\xCE\xC4\x80\x81\x40", u"\u4E2D\u6587\u20AC\u4E02"},
        {936, "A\xFF" "B", u"A\uFFFDB"},
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
        {kCodePageUtf32, std::string("A\0\0\0\x00\xF6\x01\x00\x00\xD8\x00\x00\xFF\xFF\xFF\xFF" "Z", 17),
         u"A\U0001F600\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(U8(DecodeCodePage(c.codePage, c.bytes)), U8(c.text));
        // The same, one byte at a time: sequences split between pieces.
        CodePageDecoder decoder(c.codePage);
        U16Buffer out;
        for (const char b : c.bytes) decoder.Feed(&b, 1, out);
        decoder.Finish(out);
        EXPECT_EQ(U8(out.View()), U8(c.text));
    }
}

TEST(XmlReaderEncoding, Utf8AndUtf16ConvertBothWaysWithReplacement)
{
    EXPECT_EQ(Utf8ToUtf16("a\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"a\u4E2D\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u4E2D\U0001F600"), "a\xE4\xB8\xAD\xF0\x9F\x98\x80");
    // Lone surrogates and broken sequences become U+FFFD.
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}),
              "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");                  // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");        // a surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // beyond U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8" "a"), u"\uFFFD" "a");                  // cut short
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\uFFFD");
}

}  // namespace
}  // namespace quillon
