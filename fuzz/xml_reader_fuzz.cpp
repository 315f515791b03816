// libFuzzer target for CXmlReader: any bytes must give a verdict
// without crashing, hanging or reading out of bounds.  Built and run by
// scripts/fuzz with -fsanitize=fuzzer,address,undefined.
//
// Each input goes three ways:
//  1. as a file through LoadFile (an in-memory memfd, so the real file path,
//     byte-order marks, declared encodings and conversions are exercised);
//  2. reinterpreted as UTF-16 text straight into the element builder, so the
//     scanner sees unconverted units as well;
//  3. through one code-page decoder chosen by the first byte, in two pieces.
// The records are then checked for consistency and walked with the cursor.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "base/CodePages.h"
#include "base/Utf.h"
#include "catalogue/CharacterReferences.h"
#include "catalogue/ElementBuilder.h"
#include "catalogue/XmlReader.h"

namespace {

using quillon::CXmlReader;
using quillon::ElementRecord;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckRecords(const CXmlReader& reader)
{
    const std::size_t size = reader.GetDocumentText().size();
    const std::uint32_t count = reader.GetRecordCount();
    for (std::uint32_t i = 1; i < count; ++i) {
        const ElementRecord e = reader.GetRecord(i);
        Check(std::size_t{e.start} + e.length <= size);
        Check(std::size_t{e.StartTagLength()} + e.EndTagLength() <= e.length);
        Check(e.parent < count && e.firstChild < count && e.nextSibling < count && e.prevSibling < count);
        if (e.nextSibling != 0)
            Check(reader.GetRecord(e.nextSibling).parent == e.parent);
        if (e.firstChild != 0)
            Check(reader.GetRecord(e.firstChild).parent == i);
    }
}

// Visits up to `budget` elements with the cursor, the way the loader does.
void Walk(CXmlReader& reader, int depth, int& budget)
{
    // Find each child in turn by its own name.
    while (budget-- > 0) {
        const std::u16string name = reader.GetElementName();
        if (!reader.FindElement(name))
            return;
        reader.GetElementText();
        if (depth < 32 && reader.EnterElement()) {
            Walk(reader, depth + 1, budget);
            Check(reader.LeaveElement());
        }
    }
}

int Memfd()
{
    static const int fd = memfd_create("xml-fuzz", 0);
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // 1. The whole reader, from a file.
    const int fd = Memfd();
    if (fd >= 0 && ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size)) {
        CXmlReader reader;
        reader.LoadFile("/proc/self/fd/" + std::to_string(fd));
        Check(!reader.GetResultText().empty());
        CheckRecords(reader);
        reader.Rewind();
        // The first child of the document, whatever its name.
        const ElementRecord document = reader.GetRecord(0);
        if (document.firstChild != 0) {
            const ElementRecord root = reader.GetRecord(document.firstChild);
            const std::u16string_view text = reader.GetDocumentText();
            std::size_t end = root.start + 1;
            while (end < text.size() && text[end] != u'>' && text[end] != u' ' && text[end] != u'/')
                ++end;
            reader.FindElement(text.substr(root.start + 1, end - root.start - 1));
        }
        int budget = 2000;
        reader.EnterElement();
        Walk(reader, 0, budget);
    }

    // 2. The bytes as UTF-16 units, straight into the builder.
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    quillon::ElementRecordStore records;
    quillon::BuildElementIndex(units, records);
    std::u16string decoded;
    quillon::AppendDecodedText(decoded, units);
    quillon::Utf16ToUtf8(units);

    // 3. One code page, in two pieces.
    if (size > 0) {
        static const int kPages[] = {65001, 936,  950,   51936, 52936, 54936, 932,  949, 50220, 50225,
                                     28591, 1252, 20127, 65000, 12000, 1200,  1201, 37,  1258};
        const int page = kPages[data[0] % (sizeof kPages / sizeof kPages[0])];
        quillon::CodePageDecoder decoder(page);
        quillon::U16Buffer out;
        const std::size_t half = size / 2;
        decoder.Feed(bytes.data() + 1, half > 0 ? half - 1 : 0, out);
        decoder.Feed(bytes.data() + (half > 0 ? half : 1), size - (half > 0 ? half : 1), out);
        decoder.Finish(out);
        Check(out.Size() <= 2 * size + 32);
    }
    return 0;
}
