#include "document/QuillonDoc.h"

#include "base/CodePages.h"
#include "base/Prompt.h"
#include "catalogue/SelectionApplier.h"
#include "catalogue/SelectionDispatch.h"
#include "document/CommandText.h"
#include "document/EncodeSymbol.h"

#include <optional>
#include <stdexcept>

namespace quillon {

namespace {

// Code 128 entries: size parameter and option value as every entry uses them.
constexpr int kEntrySize = 5;
constexpr int kEntryOption = 2;

// Entry blocks stack 80 units apart, the first 15 units below the header.
constexpr int kFirstCaptionY = 15;
constexpr int kEntryPitch = 80;

// What a symbol carries: the command text in GBK, the code page the device
// reads its configuration codes in.
std::optional<std::string> DeviceBytes(const std::string& text)
{
    return EncodeCodePage(kAnsiCodePage, text);
}

}  // namespace

const TreeNodeInfo& CQuillonDoc::Node(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= catalogue.treeNodes.size())
        throw std::out_of_range("catalogue record index out of range");
    return catalogue.treeNodes[static_cast<std::size_t>(index)];
}

int CQuillonDoc::AddCommandEntry(int optionIndex, int settingIndex, const std::string& valueText, int valueLength,
                                 int valueKind, const std::string& captionText)
{
    const TreeNodeInfo& option = Node(optionIndex);
    const TreeNodeInfo& setting = Node(settingIndex);
    const ValueTriple value{valueText, valueLength, valueKind, {}};
    const std::string command = BuildCommandString(option, value);
    const std::string caption = BuildCaption(setting, option, value, captionText);

    for (const CodeInfo& entry : entries) {
        if (entry.codeText == command) {
            if (!Ask(kDuplicateQuestion))
                return 1;
            break;
        }
    }
    return AddEntry(command, caption) ? 0 : 1;
}

void CQuillonDoc::AddCommandEntry(int recordIndex, int parentIndex, const ValueTriple& value,
                                  const std::string& captionText)
{
    if (AddCommandEntry(recordIndex, parentIndex, value.valueText, value.valueLength, value.valueKind, captionText) !=
        0)
        return;
    CodeInfo& entry = entries.back();
    entry.optionCode = Node(recordIndex).code;
    if (ChooseParameterDialog(entry.optionCode).dialog != ParameterDialog::None)
        entry.optionValue = value.dialogInput;
}

bool CQuillonDoc::AddEntry(const std::string& codeText, const std::string& caption)
{
    // The text goes to the encoder whole: cutting it to the character count
    // would make the bars carry less than the line below them shows.
    const std::optional<std::string> bytes = DeviceBytes(codeText);
    if (!bytes) {
        Tell(kNotGbkText);
        return false;
    }
    std::vector<std::uint8_t> raster;
    int width = 0;
    int height = 0;
    const int result = EncodeSymbol(kSymbolCode128, kEntrySize, kEntryOption, *bytes, 1, &raster, width, height);

    CodeInfo entry;
    if (result == 1 && width > CodeInfo::kMaxModules) {
        Tell(kTooWideText);
        return false;
    }
    if (result == 1) {
        entry.modules.assign(raster.begin(), raster.begin() + width);
    } else if (!codeText.empty()) {
        entry.symbolNote = kTooLongNote;
        Tell(kTooLongForCode128Text);
    }
    entry.caption = caption;
    entry.codeText = codeText;
    entry.captionY = entries.empty() ? kFirstCaptionY : entries.back().captionY + kEntryPitch;
    entry.codeY = entry.captionY + 60;
    entry.symbolY = entry.captionY + 20;
    entry.symbolWidth = static_cast<int>(entry.modules.size());
    entry.moduleCount = entry.symbolWidth;
    entries.push_back(std::move(entry));
    return true;
}

bool CQuillonDoc::RemoveLastEntry(ViewMode viewMode)
{
    if (entries.empty() || viewMode == ViewMode::Monitor)
        return false;
    entries.pop_back();
    return true;
}

bool CQuillonDoc::ClearDocument(ViewMode viewMode)
{
    // Clearing loses the entries: the question carries the exclamation icon.
    if (prompt_ != nullptr && !prompt_->WarnOkCancel(kClearQuestion))
        return false;
    if (viewMode == ViewMode::Monitor)
        ClearMonitorContent();
    else
        ClearConfigurationContent();
    return true;
}

void CQuillonDoc::ClearConfigurationContent()
{
    entries.clear();
    ResetConversion();
    displayMode = kShowList;
}

void CQuillonDoc::ClearMonitorContent()
{
    decodedLines.clear();
    image.Clear();
}

void CQuillonDoc::AddDecodedOutput(const std::uint8_t* bytes, std::size_t count)
{
    decodedLines.push_back(RsTransDataStr{decodedText.Convert(bytes, count)});
}

bool CQuillonDoc::ConversionCommand(bool qr)
{
    if (displayMode == kShowConversion) {
        displayMode = kShowList;
        return true;
    }
    if (entries.empty()) {
        Tell(kEmptyConversionText);
        return false;
    }
    displayMode = kShowConversion;
    ConvertDocument(qr);
    if (!ConversionSymbolMade())
        Tell(kConversionTooLargeText);
    return true;
}

bool CQuillonDoc::ConversionSymbolMade() const
{
    return convWidth > 0 && convHeight > 0 &&
           convPixels.size() == static_cast<std::size_t>(convWidth) * static_cast<std::size_t>(convHeight);
}

void CQuillonDoc::ConvertDocument(bool qr)
{
    ResetConversion();
    std::string running;
    for (const CodeInfo& entry : entries) {
        convCaptions.push_back(entry.caption);
        convCodes.push_back(entry.codeText);
        running += entry.codeText;
    }
    const int n = CharacterCount(running);
    // Every entry's text passed DeviceBytes when it was added.
    const std::string bytes = DeviceBytes(running).value_or(std::string());
    if (qr)
        EncodeSymbol(kSymbolQrCode, 2, 0, bytes, n < 50 ? 4 : 3, &convPixels, convWidth, convHeight);
    else
        EncodeSymbol(kSymbolPdf417, n < 30 ? 2 : (n < 50 ? 3 : 4), 0, bytes, 2, &convPixels, convWidth, convHeight);
}

void CQuillonDoc::ResetConversion()
{
    convCaptions.clear();
    convCodes.clear();
    convWidth = 0;
    convHeight = 0;
    convPixels.clear();
}

std::string CQuillonDoc::GetOptionInfo(int index) const
{
    return quillon::GetOptionInfo(catalogue.treeNodes, index);
}

bool CQuillonDoc::Ask(const char* text)
{
    return prompt_ == nullptr || prompt_->AskOkCancel(text);
}

void CQuillonDoc::Tell(const char* text)
{
    if (prompt_ != nullptr)
        prompt_->ShowError(text);
}

}  // namespace quillon
