#pragma once
#include "base/ShownText.h"

#include <QString>

#include <string_view>

namespace quillon {

// UTF-8 text of the core as a QString, as it is: names, paths, data.
inline QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text of the program (a caption, a message) in the interface's language.
inline QString Tr(std::string_view text)
{
    return Q(Shown(text));
}

}  // namespace quillon
