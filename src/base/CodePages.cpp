#include "base/CodePages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>

#include "base/Utf.h"

namespace quillon {

namespace {

struct NameRow {
    std::string_view name;
    int codePage;
};

// IANA character-set names and their common aliases with Windows code-page
// identifiers, sorted by name for binary search: the names catalogues
// declare and the usual aliases of the code pages glibc converts.
constexpr NameRow kNames[] = {
    {"437", 437},
    {"850", 850},
    {"852", 852},
    {"855", 855},
    {"857", 857},
    {"860", 860},
    {"861", 861},
    {"862", 862},
    {"863", 863},
    {"865", 865},
    {"866", 866},
    {"869", 869},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"arabic", 28596},
    {"ascii", 20127},
    {"big5", 950},
    {"big5-hkscs", 950},
    {"ccsid00858", 858},
    {"ccsid01140", 1140},
    {"ccsid01141", 1141},
    {"ccsid01142", 1142},
    {"ccsid01143", 1143},
    {"ccsid01144", 1144},
    {"ccsid01145", 1145},
    {"ccsid01146", 1146},
    {"ccsid01147", 1147},
    {"ccsid01148", 1148},
    {"ccsid01149", 1149},
    {"chinese", 936},
    {"cn-big5", 950},
    {"cn-gb", 936},
    {"cp-gr", 869},
    {"cp-is", 861},
    {"cp00858", 858},
    {"cp01140", 1140},
    {"cp01141", 1141},
    {"cp01142", 1142},
    {"cp01143", 1143},
    {"cp01144", 1144},
    {"cp01145", 1145},
    {"cp01146", 1146},
    {"cp01147", 1147},
    {"cp01148", 1148},
    {"cp01149", 1149},
    {"cp037", 37},
    {"cp1026", 1026},
    {"cp1250", 1250},
    {"cp1251", 1251},
    {"cp1252", 1252},
    {"cp1253", 1253},
    {"cp1254", 1254},
    {"cp1255", 1255},
    {"cp1256", 1256},
    {"cp1257", 1257},
    {"cp1258", 1258},
    {"cp273", 20273},
    {"cp278", 20278},
    {"cp280", 20280},
    {"cp284", 20284},
    {"cp285", 20285},
    {"cp290", 20290},
    {"cp297", 20297},
    {"cp367", 20127},
    {"cp420", 20420},
    {"cp423", 20423},
    {"cp424", 20424},
    {"cp437", 437},
    {"cp500", 500},
    {"cp737", 737},
    {"cp775", 775},
    {"cp819", 28591},
    {"cp850", 850},
    {"cp852", 852},
    {"cp855", 855},
    {"cp857", 857},
    {"cp860", 860},
    {"cp861", 861},
    {"cp862", 862},
    {"cp863", 863},
    {"cp864", 864},
    {"cp865", 865},
    {"cp866", 866},
    {"cp869", 869},
    {"cp870", 870},
    {"cp871", 20871},
    {"cp874", 874},
    {"cp875", 875},
    {"cp880", 20880},
    {"cp905", 20905},
    {"cp936", 936},
    {"cp950", 950},
    {"csascii", 20127},
    {"csbig5", 950},
    {"cseuckr", 949},
    {"cseucpkdfmtjapanese", 51932},
    {"csgb2312", 936},
    {"csgb231280", 936},
    {"csibm037", 37},
    {"csibm1026", 1026},
    {"csibm273", 20273},
    {"csibm277", 20277},
    {"csibm278", 20278},
    {"csibm280", 20280},
    {"csibm284", 20284},
    {"csibm285", 20285},
    {"csibm290", 20290},
    {"csibm297", 20297},
    {"csibm420", 20420},
    {"csibm423", 20423},
    {"csibm424", 20424},
    {"csibm500", 500},
    {"csibm855", 855},
    {"csibm857", 857},
    {"csibm860", 860},
    {"csibm861", 861},
    {"csibm863", 863},
    {"csibm864", 864},
    {"csibm865", 865},
    {"csibm866", 866},
    {"csibm869", 869},
    {"csibm870", 870},
    {"csibm871", 20871},
    {"csibm880", 20880},
    {"csibm905", 20905},
    {"csiso2022jp", 50220},
    {"csiso2022kr", 50225},
    {"csiso58gb231280", 936},
    {"csiso88598i", 38598},
    {"csisolatin1", 28591},
    {"csisolatin2", 28592},
    {"csisolatin3", 28593},
    {"csisolatin4", 28594},
    {"csisolatin5", 28599},
    {"csisolatin9", 28605},
    {"csisolatinarabic", 28596},
    {"csisolatincyrillic", 28595},
    {"csisolatingreek", 28597},
    {"csisolatinhebrew", 28598},
    {"cskoi8r", 20866},
    {"csksc56011987", 949},
    {"csmacintosh", 10000},
    {"cspc775baltic", 775},
    {"cspc850multilingual", 850},
    {"cspc862latinhebrew", 862},
    {"cspc8codepage437", 437},
    {"cspcp852", 852},
    {"csshiftjis", 932},
    {"csunicode", 1200},
    {"csunicode11utf7", 65000},
    {"cswindows31j", 932},
    {"cyrillic", 28595},
    {"dos-862", 862},
    {"dos-874", 874},
    {"ebcdic-cp-ar1", 20420},
    {"ebcdic-cp-be", 500},
    {"ebcdic-cp-ca", 37},
    {"ebcdic-cp-ch", 500},
    {"ebcdic-cp-dk", 20277},
    {"ebcdic-cp-es", 20284},
    {"ebcdic-cp-fi", 20278},
    {"ebcdic-cp-fr", 20297},
    {"ebcdic-cp-gb", 20285},
    {"ebcdic-cp-gr", 20423},
    {"ebcdic-cp-he", 20424},
    {"ebcdic-cp-is", 20871},
    {"ebcdic-cp-it", 20280},
    {"ebcdic-cp-nl", 37},
    {"ebcdic-cp-no", 20277},
    {"ebcdic-cp-roece", 870},
    {"ebcdic-cp-se", 20278},
    {"ebcdic-cp-tr", 20905},
    {"ebcdic-cp-us", 37},
    {"ebcdic-cp-wt", 37},
    {"ebcdic-cp-yu", 870},
    {"ebcdic-cyrillic", 20880},
    {"ebcdic-de-273+euro", 1141},
    {"ebcdic-dk-277+euro", 1142},
    {"ebcdic-es-284+euro", 1145},
    {"ebcdic-fi-278+euro", 1143},
    {"ebcdic-fr-297+euro", 1147},
    {"ebcdic-gb-285+euro", 1146},
    {"ebcdic-international-500+euro", 1148},
    {"ebcdic-is-871+euro", 1149},
    {"ebcdic-it-280+euro", 1144},
    {"ebcdic-jp-kana", 20290},
    {"ebcdic-no-277+euro", 1142},
    {"ebcdic-se-278+euro", 1143},
    {"ebcdic-us-37+euro", 1140},
    {"ecma-114", 28596},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"euc-cn", 51936},
    {"euc-jp", 51932},
    {"euc-kr", 949},
    {"extended_unix_code_packed_format_for_japanese", 51932},
    {"gb18030", 54936},
    {"gb2312", 936},
    {"gb2312-80", 936},
    {"gb231280", 936},
    {"gb_2312-80", 936},
    {"gbk", 936},
    {"greek", 28597},
    {"greek8", 28597},
    {"hebrew", 28598},
    {"hz-gb-2312", 52936},
    {"ibm00858", 858},
    {"ibm01047", 1047},
    {"ibm01140", 1140},
    {"ibm01141", 1141},
    {"ibm01142", 1142},
    {"ibm01143", 1143},
    {"ibm01144", 1144},
    {"ibm01145", 1145},
    {"ibm01146", 1146},
    {"ibm01147", 1147},
    {"ibm01148", 1148},
    {"ibm01149", 1149},
    {"ibm037", 37},
    {"ibm1026", 1026},
    {"ibm1047", 1047},
    {"ibm273", 20273},
    {"ibm277", 20277},
    {"ibm278", 20278},
    {"ibm280", 20280},
    {"ibm284", 20284},
    {"ibm285", 20285},
    {"ibm290", 20290},
    {"ibm297", 20297},
    {"ibm367", 20127},
    {"ibm420", 20420},
    {"ibm423", 20423},
    {"ibm424", 20424},
    {"ibm437", 437},
    {"ibm500", 500},
    {"ibm737", 737},
    {"ibm775", 775},
    {"ibm819", 28591},
    {"ibm850", 850},
    {"ibm852", 852},
    {"ibm855", 855},
    {"ibm857", 857},
    {"ibm860", 860},
    {"ibm861", 861},
    {"ibm862", 862},
    {"ibm863", 863},
    {"ibm864", 864},
    {"ibm865", 865},
    {"ibm866", 866},
    {"ibm869", 869},
    {"ibm870", 870},
    {"ibm871", 20871},
    {"ibm875", 875},
    {"ibm880", 20880},
    {"ibm905", 20905},
    {"iso-10646-ucs-2", 1200},
    {"iso-2022-jp", 50220},
    {"iso-2022-kr", 50225},
    {"iso-8859-1", 28591},
    {"iso-8859-11", 874},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605},
    {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},
    {"iso-8859-4", 28594},
    {"iso-8859-5", 28595},
    {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},
    {"iso-8859-8-e", 28598},
    {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599},
    {"iso-ir-100", 28591},
    {"iso-ir-101", 28592},
    {"iso-ir-109", 28593},
    {"iso-ir-110", 28594},
    {"iso-ir-126", 28597},
    {"iso-ir-127", 28596},
    {"iso-ir-138", 28598},
    {"iso-ir-144", 28595},
    {"iso-ir-148", 28599},
    {"iso-ir-149", 949},
    {"iso-ir-58", 936},
    {"iso-ir-6", 1252},
    {"iso646-us", 20127},
    {"iso8859-1", 28591},
    {"iso8859-2", 28592},
    {"iso_646.irv:1991", 20127},
    {"iso_8859-1", 28591},
    {"iso_8859-15", 28605},
    {"iso_8859-1:1987", 28591},
    {"iso_8859-2", 28592},
    {"iso_8859-2:1987", 28592},
    {"iso_8859-3", 28593},
    {"iso_8859-3:1988", 28593},
    {"iso_8859-4", 28594},
    {"iso_8859-4:1988", 28594},
    {"iso_8859-5", 28595},
    {"iso_8859-5:1988", 28595},
    {"iso_8859-6", 28596},
    {"iso_8859-6:1987", 28596},
    {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597},
    {"iso_8859-8", 28598},
    {"iso_8859-8-e", 28598},
    {"iso_8859-8-i", 38598},
    {"iso_8859-8:1988", 28598},
    {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599},
    {"johab", 1361},
    {"koi", 20866},
    {"koi8", 20866},
    {"koi8-r", 20866},
    {"koi8-ru", 21866},
    {"koi8-u", 21866},
    {"koi8r", 20866},
    {"korean", 949},
    {"ks_c_5601", 949},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949},
    {"ks_c_5601_1987", 949},
    {"ksc5601", 949},
    {"ksc_5601", 949},
    {"l1", 28591},
    {"l2", 28592},
    {"l3", 28593},
    {"l4", 28594},
    {"l5", 28599},
    {"l9", 28605},
    {"latin-9", 28605},
    {"latin1", 28591},
    {"latin2", 28592},
    {"latin3", 28593},
    {"latin4", 28594},
    {"latin5", 28599},
    {"latin9", 28605},
    {"logical", 38598},
    {"mac", 10000},
    {"macintosh", 10000},
    {"ms936", 936},
    {"ms_kanji", 932},
    {"pc-multilingual-850+euro", 858},
    {"shift-jis", 932},
    {"shift_jis", 932},
    {"sjis", 932},
    {"tis-620", 874},
    {"ucs-2", 1200},
    {"uhc", 949},
    {"unicode", 1200},
    {"unicode-1-1-utf-7", 65000},
    {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-7", 65000},
    {"unicode-2-0-utf-8", 65001},
    {"unicodebigunmarked", 1201},
    {"unicodefffe", 1201},
    {"unicodelittleunmarked", 1200},
    {"us", 1252},
    {"us-ascii", 20127},
    {"utf-16", 1200},
    {"utf-16be", 1201},
    {"utf-16le", 1200},
    {"utf-7", 65000},
    {"utf-8", 65001},
    {"utf8", 65001},
    {"visual", 28598},
    {"windows-1250", 1250},
    {"windows-1251", 1251},
    {"windows-1252", 1252},
    {"windows-1253", 1253},
    {"windows-1254", 1254},
    {"windows-1255", 1255},
    {"windows-1256", 1256},
    {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"windows-31j", 932},
    {"windows-874", 874},
    {"windows-936", 936},
    {"x-ansi", 1252},
    {"x-cp1250", 1250},
    {"x-cp1251", 1251},
    {"x-euc", 51932},
    {"x-euc-cn", 51936},
    {"x-euc-jp", 51932},
    {"x-gbk", 936},
    {"x-mac-ce", 10029},
    {"x-mac-cyrillic", 10007},
    {"x-mac-icelandic", 10079},
    {"x-mac-ukrainian", 10017},
    {"x-ms-cp932", 932},
    {"x-sjis", 932},
    {"x-unicode-1-1-utf-7", 65000},
    {"x-unicode-1-1-utf-8", 65001},
    {"x-unicode-2-0-utf-7", 65000},
    {"x-unicode-2-0-utf-8", 65001},
    {"x-x-big5", 950},
};

struct IconvRow {
    int codePage;
    const char* iconvName;
};

// Code page to glibc iconv name, sorted by code page.  UTF-8, UTF-32 and HZ
// are decoded in-house (HZ because glibc has no HZ converter).
constexpr IconvRow kIconv[] = {
    {37, "IBM037"},
    {437, "CP437"},
    {500, "IBM500"},
    {737, "CP737"},
    {775, "CP775"},
    {850, "CP850"},
    {852, "CP852"},
    {855, "CP855"},
    {857, "CP857"},
    {858, "CP858"},
    {860, "CP860"},
    {861, "CP861"},
    {862, "CP862"},
    {863, "CP863"},
    {864, "CP864"},
    {865, "CP865"},
    {866, "CP866"},
    {869, "CP869"},
    {870, "IBM870"},
    {874, "CP874"},
    {875, "IBM875"},
    {932, "CP932"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "BIG5"},
    {1026, "IBM1026"},
    {1047, "IBM1047"},
    {1140, "IBM1140"},
    {1141, "IBM1141"},
    {1142, "IBM1142"},
    {1143, "IBM1143"},
    {1144, "IBM1144"},
    {1145, "IBM1145"},
    {1146, "IBM1146"},
    {1147, "IBM1147"},
    {1148, "IBM1148"},
    {1149, "IBM1149"},
    {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, "CP1252"},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
    {1361, "JOHAB"},
    {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"},
    {10017, "MAC-UK"},
    {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},
    {20127, "ASCII"},
    {20273, "IBM273"},
    {20277, "IBM277"},
    {20278, "IBM278"},
    {20280, "IBM280"},
    {20284, "IBM284"},
    {20285, "IBM285"},
    {20290, "IBM290"},
    {20297, "IBM297"},
    {20420, "IBM420"},
    {20423, "IBM423"},
    {20424, "IBM424"},
    {20866, "KOI8-R"},
    {20871, "IBM871"},
    {20880, "IBM880"},
    {20905, "IBM905"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},
    {51932, "EUC-JP"},
    {51936, "EUC-CN"},
    {52936, nullptr},
    {54936, "GB18030"},
    {65000, "UTF-7"},
    {65001, "UTF-8"},
};

constexpr char16_t kReplacement = 0xFFFD;

bool StartsWithUtf32(std::string_view name)
{
    constexpr std::string_view prefix = "utf-32";
    if (name.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

const char* Utf16IconvTarget()
{
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

}  // namespace

int LookupCodePageName(std::string_view name)
{
    if (name.empty() || name.size() >= 100)
        return 0;
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    const auto* end = std::end(kNames);
    const auto* it = std::lower_bound(std::begin(kNames), end, std::string_view(folded),
                                      [](const NameRow& row, std::string_view key) { return row.name < key; });
    return it != end && it->name == folded ? it->codePage : 0;
}

int CodePageFromName(std::string_view name)
{
    if (StartsWithUtf32(name))
        return kCodePageUtf32;
    const int codePage = LookupCodePageName(name);
    return codePage != 0 ? codePage : kAnsiCodePage;
}

std::size_t CodePageNameCount()
{
    return std::size(kNames);
}

std::pair<std::string_view, int> CodePageNameAt(std::size_t index)
{
    return {kNames[index].name, kNames[index].codePage};
}

const char* IconvNameForCodePage(int codePage)
{
    const auto* end = std::end(kIconv);
    const auto* it = std::lower_bound(std::begin(kIconv), end, codePage,
                                      [](const IconvRow& row, int key) { return row.codePage < key; });
    return it != end && it->codePage == codePage ? it->iconvName : nullptr;
}

// ---------------------------------------------------------------------------

struct CodePageDecoder::Impl {
    enum class Kind { Utf8, Utf32, Iconv, Hz };

    Kind kind = Kind::Iconv;
    int codePage = kAnsiCodePage;
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    std::string carry;  // bytes of a sequence split between two Feed calls
    // HZ state: in GB mode, and a pending '~' or first byte of a pair.
    bool hzGb = false;
    std::string hzBytes;  // HZ turned into EUC-CN, fed to the iconv decoder

    explicit Impl(int page) : codePage(page)
    {
        if (page == kCodePageUtf8) {
            kind = Kind::Utf8;
            return;
        }
        if (page == kCodePageUtf32) {
            kind = Kind::Utf32;
            return;
        }
        const char* from = page == kCodePageHz ? "EUC-CN" : IconvNameForCodePage(page);
        kind = page == kCodePageHz ? Kind::Hz : Kind::Iconv;
        if (from)
            cd = iconv_open(Utf16IconvTarget(), from);
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            kind = Kind::Iconv;
            codePage = kAnsiCodePage;
            cd = iconv_open(Utf16IconvTarget(), IconvNameForCodePage(kAnsiCodePage));
        }
    }
    ~Impl()
    {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }

    // Decodes a piece; returns the number of bytes consumed (the rest is an
    // incomplete sequence, kept for the next piece unless `final`).
    std::size_t Decode(const char* bytes, std::size_t size, bool final, U16Buffer& out)
    {
        switch (kind) {
        case Kind::Utf8: return DecodeUtf8Piece(bytes, size, final, out);
        case Kind::Utf32: return DecodeUtf32Piece(bytes, size, final, out);
        case Kind::Iconv: return DecodeIconvPiece(bytes, size, final, out);
        case Kind::Hz: return DecodeHzPiece(bytes, size, final, out);
        }
        return size;
    }

    static std::size_t DecodeUtf8Piece(const char* bytes, std::size_t size, bool final, U16Buffer& out)
    {
        char16_t* to = out.Extend(size);
        std::size_t written = 0;
        const std::size_t used = DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes), size, final, to, written);
        out.Commit(written);
        return used;
    }

    static std::size_t DecodeUtf32Piece(const char* bytes, std::size_t size, bool final, U16Buffer& out)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes);
        const std::size_t whole = size / 4 * 4;
        char16_t* to = out.Extend(size / 2 + 1);
        std::size_t o = 0;
        for (std::size_t i = 0; i < whole; i += 4) {
            const char32_t cp = static_cast<char32_t>(p[i]) | static_cast<char32_t>(p[i + 1]) << 8 |
                                static_cast<char32_t>(p[i + 2]) << 16 | static_cast<char32_t>(p[i + 3]) << 24;
            if (cp >= 0x110000 || (cp >= 0xD800 && cp <= 0xDFFF)) {
                to[o++] = kReplacement;
            } else if (cp >= 0x10000) {
                to[o++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
                to[o++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                to[o++] = static_cast<char16_t>(cp);
            }
        }
        if (final && whole < size)
            to[o++] = kReplacement;
        out.Commit(o);
        return final ? size : whole;
    }

    std::size_t DecodeIconvPiece(const char* bytes, std::size_t size, bool final, U16Buffer& out)
    {
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            // No converter at all (glibc without its gconv modules): ASCII
            // passes, everything else is replaced.
            for (std::size_t i = 0; i < size; ++i) {
                const auto b = static_cast<unsigned char>(bytes[i]);
                out.Append(b < 0x80 ? static_cast<char16_t>(b) : kReplacement);
            }
            return size;
        }
        char* in = const_cast<char*>(bytes);
        std::size_t inLeft = size;
        std::size_t want = size;  // units asked of the buffer before each call
        while (inLeft > 0) {
            char16_t* to = out.Extend(want);
            const std::size_t room = out.Capacity() - out.Size();
            char* outPtr = reinterpret_cast<char*>(to);
            std::size_t outLeft = room * sizeof(char16_t);
            const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.Commit(room - outLeft / sizeof(char16_t));
            if (rc != static_cast<std::size_t>(-1))
                break;
            if (error == E2BIG) {
                want = room + 16;  // no room for the next character: grow
            } else if (error == EINVAL && !final) {
                break;  // incomplete sequence at the end: keep it for later
            } else {
                // EILSEQ, or an incomplete sequence at the very end: one
                // replacement character, then go on after the offending byte.
                out.Append(kReplacement);
                ++in;
                --inLeft;
                want = inLeft;
            }
            if (want == 0)
                want = 1;
        }
        if (final) {
            // Flush a stateful converter (UTF-7, ISO-2022) and reset it.
            char16_t* to = out.Extend(16);
            char* outPtr = reinterpret_cast<char*>(to);
            std::size_t outLeft = 16 * sizeof(char16_t);
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
            out.Commit(16 - outLeft / sizeof(char16_t));
        }
        return static_cast<std::size_t>(in - bytes);
    }

    // HZ-GB-2312 (RFC 1843) is EUC-CN with escapes: "~{" enters GB mode,
    // "~}" leaves it, "~~" is "~", "~" + newline is a line continuation; in
    // GB mode bytes come in pairs of 0x21..0x7E, each the low 7 bits of an
    // EUC-CN byte.  The escapes are undone here and the result goes to glibc.
    std::size_t DecodeHzPiece(const char* bytes, std::size_t size, bool final, U16Buffer& out)
    {
        std::size_t i = 0;
        hzBytes.clear();
        while (i < size) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b == '~') {
                if (i + 1 >= size) {
                    if (!final)
                        break;
                    hzBytes.push_back('~');
                    ++i;
                    continue;
                }
                const char next = bytes[i + 1];
                if (next == '{') {
                    hzGb = true;
                } else if (next == '}') {
                    hzGb = false;
                } else if (next == '~') {
                    hzBytes.push_back('~');
                } else if (next != '\n') {
                    hzBytes.push_back('~');
                    hzBytes.push_back(next);
                }
                i += 2;
                continue;
            }
            if (hzGb && b >= 0x21 && b <= 0x7E) {
                if (i + 1 >= size) {
                    if (!final)
                        break;
                    hzBytes.push_back(static_cast<char>(b | 0x80));  // half a pair: invalid
                    ++i;
                    continue;
                }
                hzBytes.push_back(static_cast<char>(b | 0x80));
                hzBytes.push_back(static_cast<char>(static_cast<unsigned char>(bytes[i + 1]) | 0x80));
                i += 2;
                continue;
            }
            hzBytes.push_back(static_cast<char>(b));
            ++i;
        }
        // EUC-CN pairs are complete here, so the whole run converts at once.
        DecodeIconvPiece(hzBytes.data(), hzBytes.size(), true, out);
        return i;
    }
};

CodePageDecoder::CodePageDecoder(int codePage) : impl_(std::make_unique<Impl>(codePage))
{
}
CodePageDecoder::~CodePageDecoder() = default;

int CodePageDecoder::CodePage() const
{
    return impl_->codePage;
}

void CodePageDecoder::Feed(const char* bytes, std::size_t size, U16Buffer& out)
{
    if (size == 0)
        return;
    std::string& carry = impl_->carry;
    if (carry.empty()) {
        const std::size_t used = impl_->Decode(bytes, size, false, out);
        carry.assign(bytes + used, size - used);
    } else {
        carry.append(bytes, size);
        std::string piece;
        piece.swap(carry);
        const std::size_t used = impl_->Decode(piece.data(), piece.size(), false, out);
        carry.assign(piece, used, std::string::npos);
    }
}

void CodePageDecoder::Finish(U16Buffer& out)
{
    std::string piece;
    piece.swap(impl_->carry);
    impl_->Decode(piece.data(), piece.size(), true, out);
}

std::u16string DecodeCodePage(int codePage, std::string_view bytes)
{
    CodePageDecoder decoder(codePage);
    U16Buffer buffer;
    decoder.Feed(bytes.data(), bytes.size(), buffer);
    decoder.Finish(buffer);
    return std::u16string(buffer.View());
}

std::optional<std::string> EncodeCodePage(int codePage, std::string_view utf8)
{
    const char* name = IconvNameForCodePage(codePage);
    if (name == nullptr)
        return std::nullopt;
    const iconv_t cd = iconv_open(name, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    // Four bytes a character covers every code page the table names.
    std::string out(utf8.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    std::size_t rc = iconv(cd, &in, &inLeft, &to, &outLeft);
    if (rc != static_cast<std::size_t>(-1))
        rc = iconv(cd, nullptr, nullptr, &to, &outLeft);  // the closing shift of a stateful code page
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace quillon
