#include "views/DecodedLayout.h"

#include "catalogue/Utf.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kFirstLine = 40;
constexpr int kPiecePitch = 17;

}  // namespace

int DecodedLayout::Draw(IPainter& painter, int clientWidth) const
{
    painter.SetTextColour(kBlack);
    painter.SetFont(FontRole::Heading);
    painter.Text(10, 10, kDecodedHeading);
    painter.SetFont(FontRole::Body);

    // A pane narrower than nine units still shows one character a piece
    // rather than looping on empty pieces.
    const std::size_t pieceLength = static_cast<std::size_t>(std::max(1, clientWidth / 9));
    int y = kFirstLine;
    int pieces = 0;
    for (const RsTransDataStr& line : lines_) {
        const std::u16string text = Utf8ToUtf16(line.lineText);
        std::size_t start = 0;
        do {
            painter.Text(30, y, Utf16ToUtf8(std::u16string_view(text).substr(start, pieceLength)));
            y += kPiecePitch;
            ++pieces;
            start += pieceLength;
        } while (start < text.size());
    }
    return kFirstLine + kPiecePitch * (pieces + 1);
}

}  // namespace quillon
