#include "catalogue/XmlScanner.h"

namespace quillon {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool IsNameDelimiter(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'<':
    case u'>':
    case u'=':
    case u'\\':
    case u'/':
    case u'?':
    case u'!':
    case u'"':
    case u'\'':
    case u';': return true;
    default: return false;
    }
}

bool StartsElement(char16_t c)
{
    return c == u':' || c == u'_' || (c >= u'A' && c <= u'Z') || c >= u'a';
}

// Position of the first '>' at or after `from`, or npos.
std::size_t FindGt(std::u16string_view text, std::size_t from)
{
    const char16_t* p = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = from; i < n; ++i) {
        if (p[i] == u'>')
            return i;
    }
    return npos;
}

// Position of the first occurrence of a 2- or 3-unit terminator at or after
// `from`, or npos.
std::size_t FindTerminator(std::u16string_view text, std::size_t from, std::u16string_view what)
{
    if (from > text.size())
        return npos;
    return text.find(what, from);
}

}  // namespace

std::string_view UnterminatedKindText(XmlUnterminatedKind kind)
{
    switch (kind) {
    case XmlUnterminatedKind::Tag: return "tag";
    case XmlUnterminatedKind::ElementEndTag: return "Element end tag";
    case XmlUnterminatedKind::ElementTag: return "Element tag";
    case XmlUnterminatedKind::CDataSection: return "CDATA Section";
    case XmlUnterminatedKind::ProcessingInstruction: return "Processing instruction";
    case XmlUnterminatedKind::Comment: return "Comment";
    case XmlUnterminatedKind::DocType: return "Doctype";
    }
    return "tag";
}

std::u16string_view ElementNameAt(std::u16string_view text, std::size_t lt)
{
    std::size_t i = lt + 1;
    const std::size_t n = text.size();
    while (i < n && IsXmlSpace(text[i]))
        ++i;
    const std::size_t first = i < n ? i : n;
    while (i < n && !IsNameDelimiter(text[i]))
        ++i;
    return text.substr(first, i - first);
}

bool ElementNameEquals(std::u16string_view text, std::size_t lt, std::u16string_view name)
{
    std::size_t i = lt + 1;
    const std::size_t n = text.size();
    while (i < n && IsXmlSpace(text[i]))
        ++i;
    for (const char16_t c : name) {
        if (i >= n || text[i] != c || IsNameDelimiter(c))
            return false;
        ++i;
    }
    return i >= n || IsNameDelimiter(text[i]);
}

std::size_t TagNameEnd(std::u16string_view text, std::size_t from)
{
    std::size_t i = from;
    const std::size_t n = text.size();
    while (i < n) {
        const char16_t c = text[i];
        if (IsXmlSpace(c) || c == u'/' || c == u'>')
            break;
        ++i;
    }
    return i;
}

bool XmlScanner::Next(XmlNode& node)
{
    if (pos_ >= text_.size())
        return false;
    node = XmlNode{};
    node.start = pos_;
    if (text_[pos_] != u'<') {
        ScanText(node);
    } else {
        ScanMarkup(node);
    }
    return true;
}

void XmlScanner::EndAt(XmlNode& node, std::size_t end)
{
    node.length = end - node.start;
    pos_ = end;
}

void XmlScanner::Unterminated(XmlNode& node, XmlUnterminatedKind kind)
{
    node.kind = XmlNodeKind::Error;
    node.error = XmlScanError::Unterminated;
    node.unterminated = kind;
    EndAt(node, text_.size());
}

void XmlScanner::ErrorToNextGt(XmlNode& node, XmlScanError error)
{
    node.kind = XmlNodeKind::Error;
    node.error = error;
    const std::size_t gt = FindGt(text_, node.start + 1);
    EndAt(node, gt == npos ? text_.size() : gt + 1);
}

void XmlScanner::ScanText(XmlNode& node)
{
    const char16_t* p = text_.data();
    const std::size_t n = text_.size();
    std::size_t i = pos_;
    // White space first; once something else is seen, just look for '<'.
    while (i < n && IsXmlSpace(p[i]))
        ++i;
    if (i >= n || p[i] == u'<') {
        node.kind = XmlNodeKind::Whitespace;
        EndAt(node, i);
        return;
    }
    node.kind = XmlNodeKind::Text;
    while (i < n && p[i] != u'<')
        ++i;
    EndAt(node, i);
}

void XmlScanner::ScanMarkup(XmlNode& node)
{
    const std::size_t n = text_.size();
    const std::size_t lt = pos_;
    if (lt + 1 >= n)
        return Unterminated(node, XmlUnterminatedKind::Tag);
    const char16_t c1 = text_[lt + 1];
    if (c1 == u'/') {
        node.kind = XmlNodeKind::EndTag;
        const std::size_t gt = FindGt(text_, lt + 2);
        if (gt == npos)
            return Unterminated(node, XmlUnterminatedKind::ElementEndTag);
        return EndAt(node, gt + 1);
    }
    if (c1 == u'?') {
        node.kind = XmlNodeKind::ProcessingInstruction;
        const std::size_t end = FindTerminator(text_, lt + 2, u"?>");
        if (end == npos)
            return Unterminated(node, XmlUnterminatedKind::ProcessingInstruction);
        return EndAt(node, end + 2);
    }
    if (c1 == u'!') {
        if (lt + 2 >= n)
            return Unterminated(node, XmlUnterminatedKind::Tag);
        const char16_t c2 = text_[lt + 2];
        if (c2 == u'-') {
            if (lt + 3 >= n)
                return Unterminated(node, XmlUnterminatedKind::Tag);
            if (text_[lt + 3] != u'-')
                return ErrorToNextGt(node, XmlScanError::BadCommentTag);
            node.kind = XmlNodeKind::Comment;
            const std::size_t end = FindTerminator(text_, lt + 4, u"-->");
            if (end == npos)
                return Unterminated(node, XmlUnterminatedKind::Comment);
            return EndAt(node, end + 3);
        }
        if (c2 == u'[') {
            if (lt + 3 >= n)
                return Unterminated(node, XmlUnterminatedKind::Tag);
            if (text_[lt + 3] != u'C')
                return ErrorToNextGt(node, XmlScanError::BadTag);
            node.kind = XmlNodeKind::CData;
            const std::size_t end = FindTerminator(text_, lt + 4, u"]]>");
            if (end == npos)
                return Unterminated(node, XmlUnterminatedKind::CDataSection);
            return EndAt(node, end + 3);
        }
        if (c2 == u'D' || c2 == u'E' || c2 == u'A' || c2 == u'N')
            return ScanDocType(node);
        return ErrorToNextGt(node, XmlScanError::BadBangTag);
    }
    if (StartsElement(c1))
        return ScanStartTag(node);
    return ErrorToNextGt(node, XmlScanError::BadTagNameCharacter);
}

void XmlScanner::ScanStartTag(XmlNode& node)
{
    const char16_t* p = text_.data();
    const std::size_t n = text_.size();
    const std::size_t lt = pos_;
    const std::size_t nameEnd = TagNameEnd(text_, lt + 1);
    std::size_t i = lt + 1;
    while (i < n) {
        const char16_t c = p[i];
        if (c == u'>')
            break;
        if (c == u'=') {
            // A value quoted right after '=' (white space allowed between)
            // may hold '>'.
            std::size_t j = i + 1;
            while (j < n && IsXmlSpace(p[j]))
                ++j;
            if (j < n && (p[j] == u'"' || p[j] == u'\'')) {
                const char16_t quote = p[j];
                std::size_t k = j + 1;
                while (k < n && p[k] != quote)
                    ++k;
                if (k >= n)
                    return Unterminated(node, XmlUnterminatedKind::ElementTag);
                i = k + 1;
            } else {
                i = j;
            }
            continue;
        }
        ++i;
    }
    if (i >= n)
        return Unterminated(node, XmlUnterminatedKind::ElementTag);
    node.kind = XmlNodeKind::StartTag;
    // "/>" makes an empty-element tag when the '/' directly follows the tag
    // name, white space or a quote (in <a b=1/> it belongs to the value).
    if (i >= lt + 2 && p[i - 1] == u'/') {
        const std::size_t slash = i - 1;
        const char16_t before = p[slash - 1];
        if (slash == nameEnd || IsXmlSpace(before) || before == u'"' || before == u'\'') {
            node.kind = XmlNodeKind::EmptyTag;
        }
    }
    EndAt(node, i + 1);
}

void XmlScanner::ScanDocType(XmlNode& node)
{
    // Ends at the first '>' outside quoted strings and outside the markup
    // declarations, comments and processing instructions nested in it.
    const char16_t* p = text_.data();
    const std::size_t n = text_.size();
    node.kind = XmlNodeKind::DocType;
    std::size_t i = pos_ + 2;
    while (i < n) {
        const char16_t c = p[i];
        if (c == u'>')
            return EndAt(node, i + 1);
        if (c == u'"' || c == u'\'') {
            std::size_t k = i + 1;
            while (k < n && p[k] != c)
                ++k;
            if (k >= n)
                break;
            i = k + 1;
            continue;
        }
        if (c == u'<' && i + 1 < n) {
            if (p[i + 1] == u'?') {
                const std::size_t end = FindTerminator(text_, i + 2, u"?>");
                if (end == npos)
                    break;
                i = end + 2;
                continue;
            }
            if (p[i + 1] == u'!') {
                if (i + 3 < n && p[i + 2] == u'-' && p[i + 3] == u'-') {
                    const std::size_t end = FindTerminator(text_, i + 4, u"-->");
                    if (end == npos)
                        break;
                    i = end + 3;
                    continue;
                }
                // A nested markup declaration: to its '>', quotes honoured.
                std::size_t k = i + 2;
                while (k < n && p[k] != u'>') {
                    if (p[k] == u'"' || p[k] == u'\'') {
                        const char16_t quote = p[k];
                        ++k;
                        while (k < n && p[k] != quote)
                            ++k;
                        if (k >= n)
                            break;
                    }
                    ++k;
                }
                if (k >= n)
                    break;
                i = k + 1;
                continue;
            }
        }
        ++i;
    }
    Unterminated(node, XmlUnterminatedKind::DocType);
}

}  // namespace quillon
