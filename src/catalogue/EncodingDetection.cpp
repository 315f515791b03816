#include "catalogue/EncodingDetection.h"

#include <cstdint>
#include <cstring>

#include "base/Utf.h"
#include "catalogue/XmlScanner.h"

namespace quillon {

namespace {

char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view what)
{
    if (what.size() > text.size())
        return std::u16string_view::npos;
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
        if (EqualsIgnoringCase(text.substr(i, what.size()), what))
            return i;
    }
    return std::u16string_view::npos;
}

// The value of attribute `wanted` (letter case ignored) in the markup `tag`
// (a start tag or processing instruction, '<' through '>'), quotes removed;
// `found` tells whether the attribute is there.
std::u16string_view AttributeValue(std::u16string_view tag, std::u16string_view wanted, bool& found)
{
    found = false;
    const std::size_t n = tag.size();
    std::size_t i = 1;
    if (i < n && tag[i] == u'?')
        ++i;
    i = TagNameEnd(tag, i);  // past the tag name or target
    while (i < n) {
        while (i < n && (IsXmlSpace(tag[i]) || tag[i] == u'/' || tag[i] == u'?'))
            ++i;
        if (i >= n || tag[i] == u'>')
            break;
        const std::size_t nameStart = i;
        while (i < n && !IsXmlSpace(tag[i]) && tag[i] != u'=' && tag[i] != u'>' && tag[i] != u'/' && tag[i] != u'?') {
            ++i;
        }
        const std::u16string_view name = tag.substr(nameStart, i - nameStart);
        while (i < n && IsXmlSpace(tag[i]))
            ++i;
        std::u16string_view value;
        if (i < n && tag[i] == u'=') {
            ++i;
            while (i < n && IsXmlSpace(tag[i]))
                ++i;
            if (i < n && (tag[i] == u'"' || tag[i] == u'\'')) {
                const char16_t quote = tag[i];
                const std::size_t valueStart = ++i;
                while (i < n && tag[i] != quote)
                    ++i;
                value = tag.substr(valueStart, i - valueStart);
                if (i < n)
                    ++i;
            } else {
                const std::size_t valueStart = i;
                while (i < n && !IsXmlSpace(tag[i]) && tag[i] != u'>' &&
                       !(tag[i] == u'?' && i + 1 < n && tag[i + 1] == u'>')) {
                    ++i;
                }
                value = tag.substr(valueStart, i - valueStart);
            }
        }
        if (name.empty()) {
            if (i == nameStart)
                ++i;  // never stand still
            continue;
        }
        if (EqualsIgnoringCase(name, wanted)) {
            found = true;
            return value;
        }
    }
    return {};
}

// The word after "charset" and "=" in a Content-Type value, or empty.
std::u16string_view CharsetOf(std::u16string_view content)
{
    const std::size_t at = FindIgnoringCase(content, u"charset");
    if (at == std::u16string_view::npos)
        return {};
    std::size_t i = at + 7;
    const std::size_t n = content.size();
    while (i < n && IsXmlSpace(content[i]))
        ++i;
    if (i >= n || content[i] != u'=')
        return {};
    ++i;
    while (i < n && IsXmlSpace(content[i]))
        ++i;
    const std::size_t start = i;
    while (i < n && !IsXmlSpace(content[i]) && content[i] != u';' && content[i] != u',' && content[i] != u'"' &&
           content[i] != u'\'' && content[i] != u'>' && content[i] != u'/') {
        ++i;
    }
    return content.substr(start, i - start);
}

}  // namespace

ByteOrderMarkMatch DetectByteOrderMark(std::string_view bytes)
{
    struct Row {
        std::string_view bytes;
        ByteOrderMark mark;
        std::string_view name;
    };
    static constexpr Row kRows[] = {
        {"\xEF\xBB\xBF", ByteOrderMark::Utf8, "UTF-8"},
        {"\xFF\xFE", ByteOrderMark::Utf16Le, "UTF-16LE"},
        {"\xFE\xFF", ByteOrderMark::Utf16Be, "UTF-16BE"},
    };
    for (const Row& row : kRows) {
        if (bytes.substr(0, row.bytes.size()) == row.bytes)
            return {row.mark, row.bytes.size(), row.name};
    }
    return {};
}

std::u16string FindDeclaredEncoding(std::u16string_view text)
{
    XmlScanner scanner(text);
    XmlNode node;
    bool seenProcessingInstruction = false;
    bool seenTag = false;  // an element or end tag
    bool inHtml = false;   // the first element was <html>
    while (scanner.Next(node)) {
        const std::u16string_view markup = text.substr(node.start, node.length);
        switch (node.kind) {
        case XmlNodeKind::Error: return {};
        case XmlNodeKind::ProcessingInstruction: {
            if (seenProcessingInstruction || seenTag)
                break;
            seenProcessingInstruction = true;
            const std::u16string_view target = markup.substr(2, TagNameEnd(markup, 2) - 2);
            if (!EqualsIgnoringCase(target, u"xml"))
                break;
            bool found = false;
            return std::u16string(AttributeValue(markup, u"encoding", found));
        }
        case XmlNodeKind::EndTag: {
            seenTag = true;
            const std::u16string_view name = markup.substr(2, TagNameEnd(markup, 2) - 2);
            if (EqualsIgnoringCase(name, u"head"))
                return {};
            break;
        }
        case XmlNodeKind::StartTag:
        case XmlNodeKind::EmptyTag: {
            const std::u16string_view name = markup.substr(1, TagNameEnd(markup, 1) - 1);
            if (!seenTag) {
                seenTag = true;
                if (!EqualsIgnoringCase(name, u"html"))
                    return {};
                inHtml = true;
                break;
            }
            if (!inHtml || !EqualsIgnoringCase(name, u"meta"))
                break;
            bool found = false;
            const std::u16string_view equiv = AttributeValue(markup, u"http-equiv", found);
            if (!found || !EqualsIgnoringCase(equiv, u"Content-Type"))
                break;
            return std::u16string(CharsetOf(AttributeValue(markup, u"content", found)));
        }
        default: break;
        }
    }
    return {};
}

void Utf8Test::Feed(const unsigned char* p, std::size_t n)
{
    if (failed_ || stopped_)
        return;
    std::size_t i = 0;
    while (i < n) {
        if (pending_ == 0) {
            // Skip ASCII eight bytes at a time (no zero byte among them).
            while (n - i >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p + i, 8);
                const bool ascii = (word & 0x8080808080808080ULL) == 0;
                const bool hasZero = ((word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL) != 0;
                if (!ascii || hasZero)
                    break;
                i += 8;
            }
            if (i >= n)
                break;
        }
        const unsigned char b = p[i++];
        if (pending_ > 0) {
            if (b < low_ || b > high_) {
                failed_ = true;
                return;
            }
            low_ = 0x80;
            high_ = 0xBF;
            --pending_;
            continue;
        }
        if (b == 0) {
            stopped_ = true;
            return;
        }
        if (b < 0x80)
            continue;
        const Utf8Lead lead = ClassifyUtf8Lead(b);
        if (lead.more == 0) {
            failed_ = true;
            return;
        }
        pending_ = lead.more;
        low_ = lead.low;
        high_ = lead.high;
    }
}

}  // namespace quillon
