#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

// The scanner that cuts UTF-16 document text into nodes, one at a time, without copying anything.

enum class XmlNodeKind : std::uint8_t {
    Text,                   // a run up to the next '<' holding something else than white space
    Whitespace,             // a run of blanks, tabs, line feeds and carriage returns only
    StartTag,               // <name ...>
    EmptyTag,               // <name .../>
    EndTag,                 // </name>
    ProcessingInstruction,  // <? ... ?>
    Comment,                // <!-- ... -->
    CData,                  // <![C ... ]]>
    DocType,                // <!D ...>, and the markup declarations <!E, <!A, <!N
    Error,                  // malformed; see XmlNode::error
};

// The problems the scanner reports; the values are the numbers of their
// structural messages (see ElementBuilder.h).
enum class XmlScanError : std::uint8_t {
    None = 0,
    BadTagNameCharacter = 7,  // "<" followed by a character that starts no node
    BadBangTag = 8,           // "<!" followed by something else
    BadCommentTag = 9,        // "<!-" not followed by "-"
    BadTag = 10,              // "<![" not followed by "C"
    Unterminated = 11,        // the text ends inside a node
};

// What an unterminated node was, for message 11.
enum class XmlUnterminatedKind : std::uint8_t {
    Tag,  // not yet known
    ElementEndTag,
    ElementTag,
    CDataSection,
    ProcessingInstruction,
    Comment,
    DocType,
};

struct XmlNode {
    XmlNodeKind kind = XmlNodeKind::Text;
    XmlScanError error = XmlScanError::None;
    XmlUnterminatedKind unterminated = XmlUnterminatedKind::Tag;
    std::size_t start = 0;   // offset of the node's first unit
    std::size_t length = 0;  // units, through the closing '>' of markup
};

// The text of an unterminated node's kind as message 11 writes it.
std::string_view UnterminatedKindText(XmlUnterminatedKind kind);

class XmlScanner {
public:
    explicit XmlScanner(std::u16string_view text) : text_(text) {}

    // The next node, or false at the end of the text.  An Error node runs to
    // the next '>' (or to the end of the text); after an unterminated node,
    // which runs to the end of the text, there are no more nodes.
    bool Next(XmlNode& node);

    std::size_t Position() const { return pos_; }

private:
    void ScanText(XmlNode& node);
    void ScanMarkup(XmlNode& node);
    void ScanStartTag(XmlNode& node);
    void ScanDocType(XmlNode& node);
    void EndAt(XmlNode& node, std::size_t end);  // node ends at text_[end - 1]
    void Unterminated(XmlNode& node, XmlUnterminatedKind kind);
    void ErrorToNextGt(XmlNode& node, XmlScanError error);

    std::u16string_view text_;
    std::size_t pos_ = 0;
};

inline bool IsXmlSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The name of the element whose start tag's '<' is at `lt` (or, with `lt`
// pointing at the '/' of an end tag, the end tag's name), as FindElement and
// the element builder compare names: from the next character, white space
// skipped, up to the first blank, tab, line feed, carriage return, '<', '>',
// '=', '\', '/', '?', '!', '"', '\'' or ';'.
std::u16string_view ElementNameAt(std::u16string_view text, std::size_t lt);

// Whether ElementNameAt(text, lt) equals `name`, in time bounded by the
// length of `name` rather than of the element's name.
bool ElementNameEquals(std::u16string_view text, std::size_t lt, std::u16string_view name);

// The end of a tag name that starts at `from`, as the scanner cuts it: the
// first blank, tab, line feed, carriage return, '/' or '>' (or the end).
std::size_t TagNameEnd(std::u16string_view text, std::size_t from);

}  // namespace quillon
