#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

// The translation of what the programs show, made from the sources' own
// texts and their translations.  A text that is one of them is translated
// whole.  A message composed of several of them with names, numbers or paths
// between has each of its pieces translated, the longest first, so that the
// core can go on composing its messages in Chinese; the full-width marks
// between pieces become their ASCII forms.
class TextTranslations {
public:
    void Add(std::string_view source, std::string_view translation);
    std::string Translate(std::string_view text) const;

private:
    std::string TranslatePieces(std::string_view text) const;

    std::unordered_map<std::string, std::string> whole_;
    // By the first byte of their source; each list longest first.
    std::unordered_map<char, std::vector<const std::pair<const std::string, std::string>*>> pieces_;
};

// The translations every shown text passes through; none (the default)
// shows the texts as written.  Set once at start, before any thread.
void SetShownTranslations(const TextTranslations* translations);

// A text as the operator is to see it in the interface's language.  Names,
// numbers and data inside pass unchanged unless they contain a source text.
std::string Shown(std::string_view text);

// `format` with %1, %2 ... replaced by the values: the translation may put
// them in another order, which printf's conversions cannot.
std::string Filled(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace quillon
