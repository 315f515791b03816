#pragma once
#include <string>

#include "base/U16Buffer.h"
#include "catalogue/EncodingDetection.h"

namespace quillon {

// A file read whole and converted to UTF-16.
struct DocumentText {
    bool read = false;  // false: the file could not be opened or read
    ByteOrderMark mark = ByteOrderMark::None;
    U16Buffer text;          // the document text
    std::string resultText;  // the file step's result text (UTF-8), or the error text
};

// Reads the file at `path` (UTF-8).  The encoding comes from the byte-order
// mark, else from the declaration in the first 1,024 bytes, else UTF-8 when
// the file starts with '<' or passes the UTF-8 test, else the ANSI code page
// (GBK).  Zero units are removed, big-endian UTF-16 is swapped, and broken
// byte sequences become U+FFFD.  When the file cannot be read the result text
// is the system's error text; a file of 2^32 - 1 units or more is refused
// with "File too large".
//
// 8-bit files are read and converted a piece at a time into a buffer that
// reserves the byte count as an upper bound of the units, so the raw bytes
// and the text are never held whole at the same time; when the encoding is
// not known, the UTF-8 test reads the file once more before conversion.
DocumentText ReadDocumentText(const std::string& path);

}  // namespace quillon
