#include "catalogue/FormTreeLayout.h"

#include "base/Utf.h"

#include <cstdint>

namespace quillon {

FormTreeGeometry LayoutFormControls(int W, int H, ViewMode viewMode)
{
    FormTreeGeometry g;
    const int h = H / 9 - 20;
    const int y = 15;
    g.makeBarcode = {10, y, W / 4 - 20, h};
    g.invertColours = {W / 4, y, 2 * W / 4 - W / 4 - 10, h};
    g.sendToDevice = {2 * W / 4, y, 3 * W / 4 - 2 * W / 4 - 10, h};
    g.qrCode = {3 * W / 4, y, W - 3 * W / 4 - 10, h};
    g.imageExtract = g.qrCode;

    if (viewMode == ViewMode::Monitor)
        g.tree = {0, 0, W - 2, 8 * H / 9};
    else
        g.tree = {0, H / 9, W - 2, 8 * H / 9 - H / 9};
    g.description = {0, 8 * H / 9, W - 2, 40};

    // The custom-code row fills the strip left under the description box.
    const int rowY = 8 * H / 9 + 44;
    const int rowH = 22;
    const int labelW = 44;
    const int buttonW = 48;
    const int gap = 4;
    const int editsW = W - 2 - 2 * labelW - buttonW - 4 * gap;
    const int codeW = editsW > 0 ? editsW * 2 / 5 : 0;
    const int noteW = editsW > 0 ? editsW - codeW : 0;
    int x = 0;
    g.codeLabel = {x, rowY, labelW, rowH};
    x += labelW + gap;
    g.codeEdit = {x, rowY, codeW, rowH};
    x += codeW + gap;
    g.noteLabel = {x, rowY, labelW, rowH};
    x += labelW + gap;
    g.noteEdit = {x, rowY, noteW, rowH};
    x += noteW + gap;
    g.addButton = {x, rowY, buttonW, rowH};
    return g;
}

namespace {

bool IsHan(char16_t c)
{
    return c >= 0x3400 && c <= 0x9FFF;
}

}  // namespace

std::string TwoLineCaption(std::string_view caption)
{
    const std::u16string text = Utf8ToUtf16(caption);
    const std::size_t n = text.size();
    std::size_t best = (n + 1) / 2;
    std::size_t bestDistance = SIZE_MAX;
    std::size_t runStart = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const bool han = IsHan(text[i]);
        const bool changes = han != IsHan(text[i - 1]) || text[i] == u' ' || text[i - 1] == u' ';
        if (changes)
            runStart = i;
        const bool breakable = changes || (han && (i - runStart) % 2 == 0);
        const std::size_t distance = 2 * i > n ? 2 * i - n : n - 2 * i;
        if (breakable && distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    std::u16string first = text.substr(0, best);
    std::u16string second = text.substr(best);
    while (!first.empty() && first.back() == u' ')
        first.pop_back();
    while (!second.empty() && second.front() == u' ')
        second.erase(0, 1);
    return Utf16ToUtf8(first) + "\n" + Utf16ToUtf8(second);
}

ModeButtonVisibility ModeButtons(ViewMode viewMode)
{
    return ModeButtonVisibility{viewMode == ViewMode::Configuration};
}

}  // namespace quillon
