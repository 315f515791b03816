#include "views/DecodedLayout.h"

#include "base/ShownText.h"
#include "base/Utf.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kFirstLine = 40;
constexpr int kPiecePitch = 17;

// UTF-16 units of well-formed UTF-8 without converting it: one per lead
// byte, two for a four-byte sequence.
std::size_t Utf16Length(const std::string& utf8)
{
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80;
        units += byte >= 0xF0;
    }
    return units;
}

}  // namespace

int DecodedLayout::Draw(IPainter& painter, int clientWidth) const
{
    painter.SetTextColour(kBlack);
    painter.SetFont(FontRole::Heading);
    painter.Text(10, 10, Shown(kDecodedHeading));
    painter.SetFont(FontRole::Body);

    // A pane narrower than nine units still shows one character a piece
    // rather than looping on empty pieces.
    const std::size_t pieceLength = static_cast<std::size_t>(std::max(1, clientWidth / 9));
    int y = kFirstLine;
    int pieces = 0;
    for (const RsTransDataStr& line : lines_) {
        const std::size_t units = Utf16Length(line.lineText);
        const int linePieces = static_cast<int>(std::max<std::size_t>(1, (units + pieceLength - 1) / pieceLength));
        if (painter.RowsVisible(y, y + kPiecePitch * linePieces)) {
            const std::u16string text = Utf8ToUtf16(line.lineText);
            for (int piece = 0; piece < linePieces; ++piece) {
                const std::size_t start = piece * pieceLength;
                painter.Text(30, y + piece * kPiecePitch,
                             Utf16ToUtf8(std::u16string_view(text).substr(std::min(start, text.size()), pieceLength)));
            }
        }
        y += kPiecePitch * linePieces;
        pieces += linePieces;
    }
    return kFirstLine + kPiecePitch * (pieces + 1);
}

}  // namespace quillon
