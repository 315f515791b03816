#include "base/ShownText.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

const TextTranslations* g_shown = nullptr;

struct Mark {
    std::string_view wide;
    std::string_view ascii;
};

// The marks a Chinese sentence carries between its pieces; left where no
// piece took them they would stand in the middle of English words.
constexpr std::array<Mark, 10> kWideMarks = {{{"，", ", "},
                                              {"：", ": "},
                                              {"。", ". "},
                                              {"！", "! "},
                                              {"？", "? "},
                                              {"；", "; "},
                                              {"、", ", "},
                                              {"（", " ("},
                                              {"）", ")"},
                                              {"　", " "}}};

bool AllAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void TextTranslations::Add(std::string_view source, std::string_view translation)
{
    if (source.empty() || translation.empty() || source == translation)
        return;
    const auto [entry, added] = whole_.emplace(std::string(source), std::string(translation));
    if (!added)
        return;
    auto& list = pieces_[entry->first.front()];
    list.push_back(&*entry);
    std::stable_sort(list.begin(), list.end(),
                     [](const auto* a, const auto* b) { return a->first.size() > b->first.size(); });
}

std::string TextTranslations::Translate(std::string_view text) const
{
    if (whole_.empty() || AllAscii(text))
        return std::string(text);
    if (const auto found = whole_.find(std::string(text)); found != whole_.end())
        return found->second;
    return TranslatePieces(text);
}

std::string TextTranslations::TranslatePieces(std::string_view text) const
{
    std::string shown;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        const auto* piece = [&]() -> const std::pair<const std::string, std::string>* {
            const auto list = pieces_.find(rest.front());
            if (list == pieces_.end())
                return nullptr;
            for (const auto* candidate : list->second)
                if (rest.starts_with(candidate->first))
                    return candidate;
            return nullptr;
        }();
        if (piece != nullptr) {
            shown += piece->second;
            at += piece->first.size();
            continue;
        }
        const auto mark =
            std::find_if(kWideMarks.begin(), kWideMarks.end(), [&](const Mark& m) { return rest.starts_with(m.wide); });
        if (mark != kWideMarks.end()) {
            shown += mark->ascii;
            at += mark->wide.size();
            continue;
        }
        shown += text[at++];
    }
    return shown;
}

void SetShownTranslations(const TextTranslations* translations)
{
    g_shown = translations;
}

std::string Shown(std::string_view text)
{
    return g_shown != nullptr ? g_shown->Translate(text) : std::string(text);
}

std::string Filled(std::string_view format, std::initializer_list<std::string_view> values)
{
    std::string filled;
    for (std::size_t at = 0; at < format.size(); ++at) {
        const char next = at + 1 < format.size() ? format[at + 1] : '\0';
        const bool placeholder = format[at] == '%' && next >= '1' && next < static_cast<char>('1' + values.size());
        if (placeholder) {
            filled += values.begin()[next - '1'];
            ++at;
        } else {
            filled += format[at];
        }
    }
    return filled;
}

}  // namespace quillon
