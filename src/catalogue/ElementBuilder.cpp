#include "catalogue/ElementBuilder.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/Utf.h"
#include "catalogue/XmlScanner.h"

namespace quillon {

namespace {

using Index = std::uint32_t;

// Every step is bounded so that no input makes the pass quadratic: names are
// compared in time bounded by the end tag's name, messages are only built for
// the first problem, an end tag that does not match the innermost element is
// looked up in a name index (built the first time that happens), and
// recovery moves each element at most once.
class Builder {
public:
    Builder(std::u16string_view text, ElementRecordStore& records) : text_(text), records_(records) {}

    ParseOutcome Run();

private:
    void StartTag(const XmlNode& node);
    void EndTag(const XmlNode& node);
    void ErrorNode(const XmlNode& node);
    void CloseNotEnded(std::size_t firstClosed);

    // Marks the document ill-formed and the innermost open element as holding
    // an error; true when this is the first problem, whose message is kept.
    bool Problem();
    void Message(std::string message) { message_ = std::move(message); }

    Index Parent() const { return stack_.empty() ? 0 : stack_.back(); }
    std::u16string_view NameOf(Index element) const { return ElementNameAt(text_, records_[element].start); }
    void Push(Index element);
    void PopTo(std::size_t depth);
    // Stack position + 1 of the innermost open element named `name`, or 0.
    std::size_t FindOpen(std::u16string_view name);
    static std::string Offset(std::size_t offset) { return std::to_string(offset); }

    std::u16string_view text_;
    ElementRecordStore& records_;
    std::vector<Index> stack_;  // open elements, innermost last
    // Stack positions of the open elements by name; kept only once needed.
    std::unordered_map<std::u16string_view, std::vector<std::size_t>> openByName_;
    bool indexed_ = false;
    bool illFormed_ = false;
    bool hasMessage_ = false;
    std::string message_;
};

bool Builder::Problem()
{
    illFormed_ = true;
    if (const Index parent = Parent())
        records_[parent].flags |= ElementRecord::kHasError;
    if (hasMessage_)
        return false;
    hasMessage_ = true;
    return true;
}

void Builder::Push(Index element)
{
    stack_.push_back(element);
    if (indexed_)
        openByName_[NameOf(element)].push_back(stack_.size() - 1);
}

void Builder::PopTo(std::size_t depth)
{
    while (stack_.size() > depth) {
        if (indexed_) {
            const auto it = openByName_.find(NameOf(stack_.back()));
            it->second.pop_back();
            if (it->second.empty())
                openByName_.erase(it);
        }
        stack_.pop_back();
    }
}

std::size_t Builder::FindOpen(std::u16string_view name)
{
    if (stack_.empty())
        return 0;
    if (ElementNameEquals(text_, records_[stack_.back()].start, name))
        return stack_.size();
    if (!indexed_) {
        indexed_ = true;
        for (std::size_t i = 0; i < stack_.size(); ++i)
            openByName_[NameOf(stack_[i])].push_back(i);
    }
    const auto it = openByName_.find(name);
    return it == openByName_.end() ? 0 : it->second.back() + 1;
}

void Builder::StartTag(const XmlNode& node)
{
    if (node.length > ElementRecord::kMaxStartTagLength) {
        if (Problem()) {
            Message("Element tag at offset " + Offset(node.start) + " longer than " +
                    std::to_string(ElementRecord::kMaxStartTagLength) + " units");
        }
        return;
    }
    const Index parent = Parent();
    const Index index = records_.Add();
    ElementRecord& element = records_[index];
    element.start = static_cast<std::uint32_t>(node.start);
    element.length = static_cast<std::uint32_t>(node.length);
    element.SetTagLengths(static_cast<std::uint32_t>(node.length), 0);
    element.SetLevel(stack_.size());
    element.parent = parent;
    // Link as the last child; a first child's prevSibling holds the last child.
    ElementRecord& parentRecord = records_[parent];
    if (parentRecord.firstChild == 0) {
        parentRecord.firstChild = index;
        element.prevSibling = index;
        element.flags |= ElementRecord::kFirstChild;
    } else {
        ElementRecord& first = records_[parentRecord.firstChild];
        const Index last = first.prevSibling;
        records_[last].nextSibling = index;
        element.prevSibling = last;
        first.prevSibling = index;
    }
    if (node.kind == XmlNodeKind::StartTag)
        Push(index);
}

void Builder::EndTag(const XmlNode& node)
{
    if (node.length > ElementRecord::kMaxEndTagLength) {
        if (Problem()) {
            Message("End tag at offset " + Offset(node.start) + " longer than " +
                    std::to_string(ElementRecord::kMaxEndTagLength) + " units");
        }
        return;
    }
    const std::u16string_view name = ElementNameAt(text_, node.start + 1);
    const std::size_t depth = FindOpen(name);
    if (depth == 0) {
        if (Problem())
            Message("No start tag for end tag '" + Utf16ToUtf8(name) + "' at offset " + Offset(node.start));
        return;
    }
    if (depth < stack_.size()) {
        const Index innermost = stack_.back();
        if (Problem()) {
            Message("End tag '" + Utf16ToUtf8(name) + "' at offset " + Offset(node.start + 1) +
                    " does not match start tag '" + Utf16ToUtf8(NameOf(innermost)) + "' at offset " +
                    Offset(records_[innermost].start));
        }
        CloseNotEnded(depth);
    }
    ElementRecord& element = records_[stack_.back()];
    element.length = static_cast<std::uint32_t>(node.start + node.length - element.start);
    element.SetTagLengths(element.StartTagLength(), static_cast<std::uint32_t>(node.length));
    PopTo(stack_.size() - 1);
}

// Closes stack_[firstClosed..] as not ended, at once: each gets the length of
// its start tag, and its children move up to follow it under the element
// below it on the stack (the document for firstClosed 0).  Closing them one
// by one would walk the moved children again and again (quadratic in the
// depth); done at once, each element moves at most once in a whole parse,
// since the receiving element is then closed or is the document.
void Builder::CloseNotEnded(std::size_t firstClosed)
{
    const Index newParent = firstClosed == 0 ? 0 : stack_[firstClosed - 1];
    const std::size_t newLevel = firstClosed;  // level of newParent's children
    Index tail = stack_[firstClosed];          // the last child of newParent so far
    for (std::size_t j = firstClosed; j < stack_.size(); ++j) {
        ElementRecord& closed = records_[stack_[j]];
        closed.flags |= ElementRecord::kNotEnded;
        closed.length = closed.StartTagLength();
        const Index first = closed.firstChild;
        if (first == 0)
            continue;
        closed.firstChild = 0;
        // Move the whole chain of children, which already ends with
        // stack_[j + 1] when there is one, behind `tail`.
        const Index last = records_[first].prevSibling;
        for (Index child = first; child != 0; child = records_[child].nextSibling) {
            ElementRecord& moved = records_[child];
            moved.parent = newParent;
            moved.flags &= ~ElementRecord::kFirstChild;
            moved.SetLevel(newLevel);
        }
        records_[tail].nextSibling = first;
        records_[first].prevSibling = tail;
        tail = last;
    }
    records_[tail].nextSibling = 0;
    records_[records_[newParent].firstChild].prevSibling = tail;
    PopTo(firstClosed);
}

void Builder::ErrorNode(const XmlNode& node)
{
    if (!Problem())
        return;
    const std::string at = " at offset " + Offset(node.start);
    switch (node.error) {
    case XmlScanError::BadTagNameCharacter: return Message("Incorrect tag name character" + at);
    case XmlScanError::BadBangTag: return Message("Incorrect ! tag" + at);
    case XmlScanError::BadCommentTag: return Message("Incorrect comment tag" + at);
    case XmlScanError::BadTag: return Message("Incorrect tag" + at);
    case XmlScanError::Unterminated:
    case XmlScanError::None:
        return Message(std::string(UnterminatedKindText(node.unterminated)) + at + " unterminated");
    }
}

ParseOutcome Builder::Run()
{
    const std::size_t length = text_.size();
    records_.Reset(length / 64 + 8);
    const Index document = records_.Add();
    records_[document].length = static_cast<std::uint32_t>(length);

    XmlScanner scanner(text_);
    XmlNode node;
    while (scanner.Next(node)) {
        switch (node.kind) {
        case XmlNodeKind::StartTag:
        case XmlNodeKind::EmptyTag: StartTag(node); break;
        case XmlNodeKind::EndTag: EndTag(node); break;
        case XmlNodeKind::Error: ErrorNode(node); break;
        default: break;
        }
    }
    if (!stack_.empty()) {
        const Index innermost = stack_.back();
        if (Problem()) {
            Message("Element '" + Utf16ToUtf8(NameOf(innermost)) + "' at offset " + Offset(records_[innermost].start) +
                    " not ended");
        }
        CloseNotEnded(0);
    }

    ElementRecord& doc = records_[document];
    if (illFormed_)
        doc.flags |= ElementRecord::kIllFormed;
    const Index root = doc.firstChild;
    if (length == 0) {
        message_ = "Empty document";
    } else if (root == 0) {
        message_ = "No root element";
    } else if (records_[root].nextSibling != 0) {
        message_ = "Root element has sibling";
    }
    ParseOutcome outcome;
    outcome.wellFormed = records_.Count() > 1 && !illFormed_ && root != 0 && records_[root].nextSibling == 0;
    outcome.message = std::move(message_);
    return outcome;
}

}  // namespace

ParseOutcome BuildElementIndex(std::u16string_view text, ElementRecordStore& records)
{
    if (text.size() >= UINT32_MAX) {
        records.Reset(1);
        records.Add();
        return {false, "Document too large"};
    }
    return Builder(text, records).Run();
}

}  // namespace quillon
