// The XML reader with hostile input: every file gets a verdict, quickly, without
// reading out of bounds (run under the sanitizers by scripts/fuzz too).
#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

#include "tests/catalogue/XmlReaderTestSupport.h"

namespace quillon {
namespace {

using test::Repeat;
using test::U8;

// Loads, checks that the result text is there and that the records stay
// inside the text; returns the verdict.
bool LoadAny(test::XmlFileLoader& files, CXmlReader& reader, std::string_view bytes)
{
    const bool verdict = files.Load(reader, bytes);
    EXPECT_FALSE(reader.GetResultText().empty());
    reader.Rewind();
    if (reader.FindElement(reader.GetElementName()))
        reader.GetElementText();
    for (std::uint32_t i = reader.GetRecord(0).firstChild; i != 0; i = reader.GetRecord(i).nextSibling) {
        const ElementRecord e = reader.GetRecord(i);
        EXPECT_LE(std::size_t{e.start} + e.length, reader.GetDocumentText().size());
        EXPECT_LE(std::size_t{e.StartTagLength()} + e.EndTagLength(), e.length);
    }
    return verdict;
}

TEST(XmlReaderBadInput, EveryTruncationOfADocumentIsRefused)
{
    const std::string doc = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE r [<!ENTITY e 'x'>]>"
                            "<r a='1' b=\"&lt;\"><s>&#x4E2D;\xE4\xB8\xAD</s><![CDATA[c]]><!-- d --><t/></r>";
    test::XmlFileLoader files;
    CXmlReader reader;
    for (std::size_t cut = 0; cut < doc.size(); ++cut)
        EXPECT_FALSE(LoadAny(files, reader, doc.substr(0, cut))) << cut;
    EXPECT_TRUE(LoadAny(files, reader, doc));
}

TEST(XmlReaderBadInput, RandomBytesGetAVerdict)
{
    std::mt19937 random(20240601);
    const std::string starts[] = {"",
                                  "\xEF\xBB\xBF",
                                  "\xFF\xFE",
                                  "\xFE\xFF",
                                  "<",
                                  "<?xml encoding='gbk'?>",
                                  "<?xml encoding='utf-7'?>",
                                  "<?xml encoding='hz-gb-2312'?>",
                                  "<?xml encoding='UTF-32'?>"};
    // Mostly markup characters, so that the scanner sees deep, broken
    // structures and not only text.
    const std::string_view markup = "<>/?!-[]CDATA\"'= \tab&#x;\0\x80\xE4\xFF";
    test::XmlFileLoader files;
    CXmlReader reader;
    for (int round = 0; round < 600; ++round) {
        std::string bytes = starts[round % std::size(starts)];
        for (std::size_t i = 0, size = random() % 3000; i < size; ++i)
            bytes.push_back(random() % 4 == 0 ? static_cast<char>(random() & 0xFF) : markup[random() % markup.size()]);
        LoadAny(files, reader, bytes);
    }
}

TEST(XmlReaderBadInput, BrokenMultibyteSequencesBecomeReplacementCharacters)
{
    const std::pair<std::string, std::u16string_view> cases[] = {
        {"<a>\xE4\xB8-\xFF</a>", u"\uFFFD-\uFFFD"},
        {"<a>\xC3\xC3\xA9</a>", u"\uFFFD\u00E9"},
        {"<?xml encoding='gbk'?><a>\xD6</a>", u"\uFFFD"},
        {"<?xml encoding='utf-7'?><a>+3gA-</a>", u"\uFFFD"
                                                 u"3gA-"},  // a lone low surrogate: the + is replaced
        // UTF-16: a lone surrogate stays a unit of the text; UTF-8 output replaces it.
        {"\xFF\xFE" + test::Utf16Bytes(u"<a>") + std::string("\x00\xD8", 2) + test::Utf16Bytes(u"</a>"), u"\uFFFD"},
    };
    test::XmlFileLoader files;
    for (const auto& [bytes, text] : cases) {
        CXmlReader reader;
        EXPECT_TRUE(files.Load(reader, bytes)) << reader.GetResultText();
        ASSERT_TRUE(reader.FindElement(u"a"));
        EXPECT_EQ(U8(reader.GetElementText()), U8(text)) << bytes;
    }
}

// The end-tag length has 10 bits.  An end tag of 1,023 units fits; a longer
// one is refused (the document is ill-formed, the end tag ignored) instead of
// spilling into the start-tag length.  The start-tag length has 22 bits.
TEST(XmlReaderBadInput, TagsLongerThanTheirFieldsAreRefused)
{
    test::XmlFileLoader files;
    CXmlReader reader;
    const std::string fits = "<a x='1'>t</a" + std::string(1019, ' ') + ">";
    ASSERT_TRUE(files.Load(reader, fits));
    EXPECT_EQ(reader.GetRecord(1).EndTagLength(), 1023u);
    EXPECT_EQ(reader.GetRecord(1).StartTagLength(), 9u);
    EXPECT_EQ(reader.GetRecord(1).length, fits.size());
    ASSERT_TRUE(reader.FindElement(u"a"));
    EXPECT_EQ(reader.GetElementText(), u"t");

    EXPECT_FALSE(files.Load(reader, "<a x='1'>t</a" + std::string(1020, ' ') + ">"));
    EXPECT_TRUE(reader.GetResultText().ends_with(" End tag at offset 10 longer than 1023 units"));
    ElementRecord a = reader.GetRecord(1);
    EXPECT_EQ(std::vector<std::uint32_t>({a.StartTagLength(), a.EndTagLength(), a.length}),
              std::vector<std::uint32_t>({9, 0, 9}));
    EXPECT_NE(a.flags & ElementRecord::kNotEnded, 0u);

    constexpr std::size_t kMax = ElementRecord::kMaxStartTagLength;
    ASSERT_TRUE(files.Load(reader, "<a" + std::string(kMax - 3, ' ') + ">t</a>"));
    EXPECT_EQ(reader.GetRecord(1).StartTagLength(), kMax);
    EXPECT_EQ(reader.GetRecord(1).EndTagLength(), 4u);
    EXPECT_FALSE(files.Load(reader, "<r><a" + std::string(kMax - 2, ' ') + "/></r>"));
    EXPECT_TRUE(reader.GetResultText().ends_with(" Element tag at offset 3 longer than 4194303 units"));
    EXPECT_EQ(reader.GetRecordCount(), 2u);  // only r
}

// A pass that went quadratic would run for hours here: the test program's
// time-out catches it without a timed assertion.
TEST(XmlReaderBadInput, AMillionNestedElements)
{
    constexpr std::size_t kDepth = 1000000;
    test::XmlFileLoader files;
    CXmlReader reader;

    // Well formed: levels past 65,535 are stored as 65,535.
    ASSERT_TRUE(files.Load(reader, Repeat("<a>", kDepth) + "x" + Repeat("</a>", kDepth)));
    EXPECT_EQ(reader.GetRecordCount(), kDepth + 1);
    EXPECT_EQ(reader.GetRecord(65535).Level(), 65534u);
    EXPECT_EQ(reader.GetRecord(kDepth).Level(), 65535u);
    EXPECT_EQ(reader.GetRecord(kDepth).parent, kDepth - 1);
    for (std::size_t i = 0; i < kDepth; ++i)
        ASSERT_TRUE(reader.FindElement(u"a") && reader.EnterElement());
    ASSERT_TRUE(reader.LeaveElement());
    EXPECT_EQ(reader.GetElementText(), u"x");

    // Never closed: all million move up under the document at once.
    EXPECT_FALSE(files.Load(reader, Repeat("<a>", kDepth)));
    EXPECT_TRUE(reader.GetResultText().ends_with(" Root element has sibling"));
    EXPECT_EQ(reader.GetRecord(kDepth).parent, 0u);

    // Closed by the outermost end tag only: one batch of recovery.
    EXPECT_FALSE(files.Load(reader, "<r>" + Repeat("<a>", kDepth) + "</r>"));
    EXPECT_TRUE(reader.GetResultText().ends_with(" End tag 'r' at offset " + std::to_string(3 * kDepth + 4) +
                                                 " does not match start tag 'a' at offset " +
                                                 std::to_string(3 * kDepth)));
    EXPECT_EQ(reader.GetRecord(kDepth + 1).parent, 1u);

    // A million end tags that match nothing open (message 4 first, then the
    // elements end up as siblings: message 3); alternating names; a long name
    // compared against many end tags.
    EXPECT_FALSE(files.Load(reader, Repeat("<a>", kDepth) + Repeat("</b>", kDepth)));
    EXPECT_TRUE(reader.GetResultText().ends_with(" Root element has sibling")) << reader.GetResultText();
    EXPECT_FALSE(files.Load(reader, Repeat("<a><b>", kDepth / 2) + Repeat("</a>", kDepth / 2)));
    EXPECT_FALSE(files.Load(reader, "<" + std::string(kDepth, 'n') + ">" + Repeat("</m>", kDepth)));
}

TEST(XmlReaderBadInput, FilesThatAreNotDocuments)
{
    test::TempDir dir;
    CXmlReader reader;
    EXPECT_FALSE(reader.LoadFile((dir.Path() / "missing.xml").string()));
    EXPECT_EQ(reader.GetResultText(), "No such file or directory");
    EXPECT_EQ(reader.GetRecordCount(), 0u);
    EXPECT_FALSE(reader.FindElement(u"a"));

    EXPECT_FALSE(reader.LoadFile(dir.Path().string()));
    EXPECT_EQ(reader.GetResultText(), "Is a directory");

    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(reader.LoadFile(fifo));  // no writer: must not wait
    EXPECT_EQ(reader.GetResultText(), "Illegal seek");

    EXPECT_FALSE(reader.LoadFile("/dev/null"));
    EXPECT_EQ(reader.GetResultText(), "ANSI 0 length  Empty document");
    EXPECT_EQ(reader.GetRecordCount(), 1u);
}

}  // namespace
}  // namespace quillon
