#pragma once
#include <string>
#include <string_view>

namespace quillon {

class CXmlReader;

// Reads the texts of the children of the element the reader has just
// entered, in a fixed order: each search starts after the child found last,
// so a child that is missing or stands before it is not found, and then the
// text of the child found last is taken again (empty before the first find).
class ChildTextReader {
public:
    explicit ChildTextReader(CXmlReader& reader) : reader_(reader) {}

    // The UTF-8 text of the next child called name, by the rule above.
    const std::string& Next(std::u16string_view name);

private:
    CXmlReader& reader_;
    std::string last_;
};

}  // namespace quillon
