#pragma once
#include <string>

namespace quillon {

// Reads one XML file whole, converts it to UTF-16 and indexes its elements by
// offset; the catalogue loader walks that index with a small cursor.
// (Interface fixed; the implementation owns everything private.)
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
};

}  // namespace quillon
