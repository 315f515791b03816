#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/ElementRecords.h"

namespace quillon {

// Reads one XML file whole, converts it to UTF-16 and indexes its elements by
// offset; the catalogue loader walks that index with a small cursor.
// Its state lives behind a private Impl.
//
// The file's encoding comes from its byte-order mark, else from a
// declaration in its first 1,024 bytes, else UTF-8 when it starts with '<' or
// passes the UTF-8 test, else GBK (the "ANSI" code page).  Any input gives a
// verdict: broken byte sequences become U+FFFD, and structural problems make
// LoadFile return false with the first problem in the result text.
class CXmlReader {
public:
    CXmlReader();
    ~CXmlReader();
    CXmlReader(const CXmlReader&) = delete;
    CXmlReader& operator=(const CXmlReader&) = delete;

    // True when the file was read and the document is well formed.
    bool LoadFile(const std::string& path);
    void Rewind();
    bool FindElement(std::u16string_view name);
    bool EnterElement();
    bool LeaveElement();
    std::u16string GetElementText() const;
    const std::string& GetResultText() const;  // UTF-8

    // --- Diagnosis and tests; the catalogue loader needs none of these. ---

    // Document flags: the mark the file had, and the transient bits that are
    // set only while LoadFile has the file open.
    static constexpr std::uint32_t kUtf16LeFile = 0x01;
    static constexpr std::uint32_t kUtf8Preamble = 0x04;
    static constexpr std::uint32_t kIgnoreCase = 0x08;  // never set
    static constexpr std::uint32_t kReadFile = 0x10;
    static constexpr std::uint32_t kWriteFile = 0x20;
    static constexpr std::uint32_t kAppendFile = 0x40;
    static constexpr std::uint32_t kUtf16BeFile = 0x80;
    std::uint32_t GetDocumentFlags() const;

    std::u16string_view GetDocumentText() const;
    // Records in use, record 0 (the document) included; 1 for an empty
    // document, 0 for a fresh reader or one whose file could not be read.
    std::uint32_t GetRecordCount() const;
    std::size_t GetRecordCapacity() const;
    // A copy of record `index`; all zero when out of range.
    ElementRecord GetRecord(std::uint32_t index) const;

    // The cursor: parent, main and child indices, and whether the node type
    // is "element".
    std::uint32_t GetParentIndex() const;
    std::uint32_t GetMainIndex() const;
    std::uint32_t GetChildIndex() const;
    bool IsOnElement() const;
    // The tag name of the main element (as FindElement compares it); empty
    // when there is none.
    std::u16string GetElementName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quillon
