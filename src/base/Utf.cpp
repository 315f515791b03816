#include "base/Utf.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t u = text[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
                ++i;
            } else {
                AppendUtf8(out, kReplacement);
            }
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

namespace {

// Copies the run of ASCII bytes that starts at p[i] to out[o], widening each
// to one unit; stops at the first byte of 0x80 or more.  Whole blocks may be
// written past the run's end: out has room for every byte of the input, and
// o never runs ahead of i.
void CopyAscii(const unsigned char* p, std::size_t n, char16_t* out, std::size_t& i, std::size_t& o)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (n - i >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + 8), _mm_unpackhi_epi8(bytes, zero));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        if (high != 0) {
            const auto ascii = static_cast<std::size_t>(std::countr_zero(high));
            i += ascii;
            o += ascii;
            return;
        }
        i += 16;
        o += 16;
    }
#else
    while (n - i >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
        for (int k = 0; k < 8; ++k)
            out[o + k] = p[i + k];
        i += 8;
        o += 8;
    }
#endif
    while (i < n && p[i] < 0x80)
        out[o++] = p[i++];
}

// Decodes the sequence that starts with the byte of 0x80 or more at p[i];
// a broken one becomes U+FFFD.  false, with nothing consumed, when the data
// ends inside a valid sequence and more is to come.
bool DecodeSequence(const unsigned char* p, std::size_t n, bool final, char16_t* out, std::size_t& i, std::size_t& o)
{
    const unsigned char b = p[i];
    // Three bytes: CJK text, the common case of captions.  Anything unusual
    // falls through to the full check below.
    if ((b & 0xF0) == 0xE0 && n - i >= 3) {
        const unsigned char c1 = p[i + 1];
        const unsigned char c2 = p[i + 2];
        if ((c1 & 0xC0) == 0x80 && (c2 & 0xC0) == 0x80) {
            const char32_t cp = (static_cast<char32_t>(b & 0x0F) << 12) | ((c1 & 0x3Fu) << 6) | (c2 & 0x3Fu);
            if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
                out[o++] = static_cast<char16_t>(cp);
                i += 3;
                return true;
            }
        }
    }
    const Utf8Lead lead = ClassifyUtf8Lead(b);
    if (lead.more == 0) {
        out[o++] = static_cast<char16_t>(kReplacement);
        ++i;
        return true;
    }
    const int more = lead.more;
    // The lead's payload bits: 5, 4 or 3 of them.
    char32_t cp = b & (0x7Fu >> (more + 1));
    std::size_t j = i + 1;
    for (int k = 0; k < more; ++k, ++j) {
        if (j >= n) {
            if (!final)
                return false;  // valid so far: wait for the rest
            break;
        }
        const unsigned char c = p[j];
        if (c < (k == 0 ? lead.low : 0x80) || c > (k == 0 ? lead.high : 0xBF))
            break;
        cp = (cp << 6) | (c & 0x3F);
        if (k == more - 1) {
            if (cp >= 0x10000) {
                cp -= 0x10000;
                out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
                out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            } else {
                out[o++] = static_cast<char16_t>(cp);
            }
            i = j + 1;
            return true;
        }
    }
    out[o++] = static_cast<char16_t>(kReplacement);
    i = j;  // resume at the byte that broke the sequence
    return true;
}

}  // namespace

std::size_t DecodeUtf8(const unsigned char* p, std::size_t n, bool final, char16_t* out, std::size_t& written)
{
    std::size_t i = 0;
    std::size_t o = 0;
    while (i < n) {
        CopyAscii(p, n, out, i, o);
        // A run of non-ASCII characters is decoded in one go, without a
        // look for ASCII blocks between its characters.
        while (i < n && p[i] >= 0x80) {
            if (!DecodeSequence(p, n, final, out, i, o)) {
                written = o;
                return i;
            }
        }
    }
    written = o;
    return i;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out(text.size(), u'\0');
    std::size_t written = 0;
    DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size(), true, out.data(), written);
    out.resize(written);
    return out;
}

}  // namespace quillon
