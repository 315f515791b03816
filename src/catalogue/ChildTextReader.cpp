#include "catalogue/ChildTextReader.h"

#include "base/Utf.h"
#include "catalogue/XmlReader.h"

namespace quillon {

const std::string& ChildTextReader::Next(std::u16string_view name)
{
    if (reader_.FindElement(name))
        last_ = Utf16ToUtf8(reader_.GetElementText());
    return last_;
}

}  // namespace quillon
