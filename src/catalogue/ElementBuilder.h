#pragma once
#include <string>
#include <string_view>

#include "catalogue/ElementRecords.h"

namespace quillon {

// One pass of the scanner over the document text builds every element
// record.  Nothing is copied (records hold offsets) and nothing recurses: open
// elements live on an explicit stack, so any nesting depth is fine.
struct ParseOutcome {
    bool wellFormed = false;
    std::string message;  // UTF-8; empty when no problem was found
};

// Replaces the records with the index of `text` (record 0 is the document).
// The text must be shorter than 2^32 units.
//
// The structural messages are numbered; tests and the scanner refer to them
// by number.  Only the first problem's message is kept, except that 1 to 3,
// which judge the finished index, replace any earlier one:
//  1 "Empty document"
//  2 "No root element"
//  3 "Root element has sibling"
//  4 "No start tag for end tag 'NAME' at offset N"
//  5 "End tag 'NAME' at offset N does not match start tag 'NAME' at offset M"
//  6 "Element 'NAME' at offset N not ended"
//  7 to 11: the scanner's problems (XmlScanError).
//
// Besides the numbered messages, two limits of the record format are
// refused, making the document ill-formed (their message is kept only if
// it is the first problem):
//  - an end tag longer than 1,023 units cannot be stored in the 10-bit field:
//    it is ignored like a lone end tag, with "End tag at offset N longer than
//    1023 units", so its element stays open and is closed as not ended;
//  - a start tag longer than 4,194,303 units gets no record: "Element tag at
//    offset N longer than 4194303 units".
// Nesting levels past 65,535 are stored as 65,535.
ParseOutcome BuildElementIndex(std::u16string_view text, ElementRecordStore& records);

}  // namespace quillon
