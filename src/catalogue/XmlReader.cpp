#include "catalogue/XmlReader.h"

#include <new>
#include <stdexcept>

#include "catalogue/CharacterReferences.h"
#include "catalogue/DocumentText.h"
#include "catalogue/ElementBuilder.h"
#include "catalogue/XmlScanner.h"

namespace quillon {

struct CXmlReader::Impl {
    U16Buffer text;
    ElementRecordStore records;  // empty (no record 0) until a file was read
    std::uint32_t documentFlags = 0;
    std::string resultText = "Empty document";
    // The cursor.
    std::uint32_t parent = 0;
    std::uint32_t main = 0;
    std::uint32_t child = 0;
    bool onElement = false;

    bool HasRecords() const { return records.Count() > 0; }
    void Rewind()
    {
        parent = main = child = 0;
        onElement = false;
    }
    void Clear()
    {
        text.Clear();
        records = ElementRecordStore();
        documentFlags = 0;
        Rewind();
    }
    bool Load(const std::string& path);
};

bool CXmlReader::Impl::Load(const std::string& path)
{
    Clear();
    documentFlags |= kReadFile;
    DocumentText document = ReadDocumentText(path);
    documentFlags &= ~(kReadFile | kWriteFile | kAppendFile);
    if (!document.read) {
        resultText = std::move(document.resultText);
        return false;
    }
    switch (document.mark) {
    case ByteOrderMark::Utf8: documentFlags |= kUtf8Preamble; break;
    case ByteOrderMark::Utf16Le: documentFlags |= kUtf16LeFile; break;
    case ByteOrderMark::Utf16Be: documentFlags |= kUtf16BeFile; break;
    case ByteOrderMark::None: break;
    }
    text = std::move(document.text);
    const ParseOutcome outcome = BuildElementIndex(text.View(), records);
    resultText = std::move(document.resultText);
    if (!outcome.message.empty())
        resultText += " " + outcome.message;
    Rewind();
    return outcome.wellFormed;
}

CXmlReader::CXmlReader() : impl_(std::make_unique<Impl>())
{
}
CXmlReader::~CXmlReader() = default;

bool CXmlReader::LoadFile(const std::string& path)
{
    try {
        return impl_->Load(path);
    } catch (const std::bad_alloc&) {
        impl_->Clear();
        impl_->resultText = "Out of memory";
    } catch (const std::length_error&) {
        impl_->Clear();
        impl_->resultText = "Document too large";
    }
    return false;
}

void CXmlReader::Rewind()
{
    impl_->Rewind();
}

bool CXmlReader::FindElement(std::u16string_view name)
{
    Impl& d = *impl_;
    if (!d.HasRecords())
        return false;
    const std::u16string_view text = d.text.View();
    std::uint32_t candidate = d.main != 0 ? d.records[d.main].nextSibling : d.records[d.parent].firstChild;
    for (; candidate != 0; candidate = d.records[candidate].nextSibling) {
        if (ElementNameEquals(text, d.records[candidate].start, name)) {
            d.parent = d.records[candidate].parent;
            d.main = candidate;
            d.child = 0;
            d.onElement = true;
            return true;
        }
    }
    return false;
}

bool CXmlReader::EnterElement()
{
    Impl& d = *impl_;
    if (d.main == 0 || !d.onElement)
        return false;
    d.parent = d.main;
    d.main = d.child;
    d.child = 0;
    d.onElement = d.main != 0;
    return true;
}

bool CXmlReader::LeaveElement()
{
    Impl& d = *impl_;
    if (d.parent == 0)
        return false;
    d.child = d.main;
    d.main = d.parent;
    d.parent = d.records[d.main].parent;
    d.onElement = true;
    return true;
}

std::u16string CXmlReader::GetElementText() const
{
    const Impl& d = *impl_;
    std::u16string result;
    if (d.main == 0 || !d.HasRecords())
        return result;
    const ElementRecord& element = d.records[d.main];
    if (element.firstChild != 0 || element.length <= element.StartTagLength())
        return result;
    const std::u16string_view text = d.text.View();
    const std::size_t contentStart = std::size_t{element.start} + element.StartTagLength();
    const std::size_t contentEnd = std::size_t{element.start} + element.length - element.EndTagLength();
    if (contentEnd <= contentStart || contentEnd > text.size())
        return result;
    const std::u16string_view content = text.substr(contentStart, contentEnd - contentStart);
    if (content.find(u'<') == std::u16string_view::npos) {
        AppendDecodedText(result, content);
        return result;
    }
    // Markup inside: text decoded, CDATA sections as their inner text;
    // white space, comments, processing instructions and the rest dropped.
    XmlScanner scanner(content);
    XmlNode node;
    while (scanner.Next(node)) {
        const std::u16string_view piece = content.substr(node.start, node.length);
        if (node.kind == XmlNodeKind::Text) {
            AppendDecodedText(result, piece);
        } else if (node.kind == XmlNodeKind::CData) {
            constexpr std::size_t kOpen = 9;   // <![CDATA[
            constexpr std::size_t kClose = 3;  // ]]>
            if (piece.size() >= kOpen + kClose)
                result.append(piece.substr(kOpen, piece.size() - kOpen - kClose));
        }
    }
    return result;
}

const std::string& CXmlReader::GetResultText() const
{
    return impl_->resultText;
}

std::uint32_t CXmlReader::GetDocumentFlags() const
{
    return impl_->documentFlags;
}

std::u16string_view CXmlReader::GetDocumentText() const
{
    return impl_->text.View();
}

std::uint32_t CXmlReader::GetRecordCount() const
{
    return impl_->records.Count();
}

std::size_t CXmlReader::GetRecordCapacity() const
{
    return impl_->records.Capacity();
}

ElementRecord CXmlReader::GetRecord(std::uint32_t index) const
{
    if (index >= impl_->records.Count())
        return ElementRecord{};
    return impl_->records[index];
}

std::uint32_t CXmlReader::GetParentIndex() const
{
    return impl_->parent;
}
std::uint32_t CXmlReader::GetMainIndex() const
{
    return impl_->main;
}
std::uint32_t CXmlReader::GetChildIndex() const
{
    return impl_->child;
}
bool CXmlReader::IsOnElement() const
{
    return impl_->onElement;
}

std::u16string CXmlReader::GetElementName() const
{
    const Impl& d = *impl_;
    if (d.main == 0 || !d.HasRecords())
        return {};
    return std::u16string(ElementNameAt(d.text.View(), d.records[d.main].start));
}

}  // namespace quillon
