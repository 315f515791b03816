#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/U16Buffer.h"

namespace quillon {

// Code-page identifiers are Windows ones, as the catalogue reader's name table
// gives them.
inline constexpr int kCodePageUtf16Le = 1200;
inline constexpr int kCodePageUtf16Be = 1201;
inline constexpr int kCodePageUtf32 = 12000;
inline constexpr int kCodePageUtf7 = 65000;
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageHz = 52936;
// The default 8-bit ("ANSI") code page stands for GBK, code page 936.
inline constexpr int kAnsiCodePage = 936;

// An encoding name to its code page.  ASCII letters are folded to
// lower case; names beginning "utf-32" (any case) select UTF-32 without a
// lookup; an empty name, an unknown name and a name of 100 characters or more
// select the ANSI code page.
int CodePageFromName(std::string_view name);

// The table alone: the code page of a (folded) name, or 0 when the table does
// not hold it.
int LookupCodePageName(std::string_view name);

// The table's rows, for tests: count and row i as (name, code page).
std::size_t CodePageNameCount();
std::pair<std::string_view, int> CodePageNameAt(std::size_t index);

// The glibc iconv name that converts a code page, or nullptr for those the
// decoder handles itself (UTF-8, UTF-32, HZ) or does not know.
const char* IconvNameForCodePage(int codePage);

// Converts bytes of one code page to UTF-16, piece by piece: a multibyte
// sequence may be split between two Feed calls.  Invalid or truncated input
// becomes U+FFFD; conversion never fails.  A code page that glibc cannot open
// falls back to the ANSI code page.  Output is appended to the buffer, whose
// reserved capacity is used first (a byte yields at most one unit in every
// supported code page except rare iconv cases, which just grow the buffer).
class CodePageDecoder {
public:
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    void Feed(const char* bytes, std::size_t size, U16Buffer& out);
    void Finish(U16Buffer& out);

    // The code page actually used (after any fallback).
    int CodePage() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Whole-string convenience over CodePageDecoder.
std::u16string DecodeCodePage(int codePage, std::string_view bytes);

// UTF-8 text in the bytes of a code page, whole; nullopt when the code page
// cannot hold one of its characters (or glibc cannot convert to it), so a
// caller never sends a lossy or cut copy.
std::optional<std::string> EncodeCodePage(int codePage, std::string_view utf8);

}  // namespace quillon
