#pragma once
#include "base/ViewMode.h"
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionTargets.h"
#include "document/CodeInfo.h"
#include "document/DecodedText.h"
#include "document/DeviceImage.h"
#include "document/DeviceInfo.h"
#include "document/RsComStr.h"
#include "document/RsTransDataStr.h"
#include "document/ScrollGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IPrompt;

inline constexpr const char* kDuplicateQuestion = "命令已存在，是否重复添加？";
inline constexpr const char* kClearQuestion = "是否要清空当前文档？";
inline constexpr const char* kEmptyConversionText = "当前条码文档为空，请先编辑设置条码内容！";
inline constexpr const char* kTooLongForCode128Text =
    "命令内容过长，无法生成Code 128条码。该条目已加入文档，但没有条码，请改用条码转换生成二维码。";
inline constexpr const char* kTooLongNote = "命令内容过长，无法生成条码";
inline constexpr const char* kConversionTooLargeText = "条目过多，无法生成转换条码，请删除部分条目后重新转换！";
inline constexpr const char* kConversionTooLargeNote = "条目过多，无法生成转换条码";
inline constexpr const char* kTooWideText = "条码宽度超过10240个模块，无法加入文档。";
inline constexpr const char* kNotGbkText = "命令内容含有GBK编码无法表示的字符，无法加入文档。";

// The one document of the program: catalogue lists, configuration entries
// and their conversion, decoded-output lines, pane geometry, serial settings.
// Never saved to a file.  Every question and message goes through the prompt
// given with SetPrompt; without one, questions count as OK and messages are
// dropped.
class CQuillonDoc : public IConfigurationTarget {
public:
    enum DisplayMode { kShowList = 1, kShowConversion = 2 };

    CatalogueLists catalogue;

    // Serial settings; portNumber above 0 means a port is set and open.
    int portNumber = 0;
    int baudRate = 0;
    int dataBits = 0;
    int stopBits = 0;
    int parity = 0;

    std::vector<CodeInfo> entries;
    int displayMode = kShowList;

    // The converted document: one symbol for all entries.  convPixels holds
    // convWidth x convHeight bytes (1 dark, 0 light) when the symbol fitted the
    // raster limit, and nothing otherwise.
    std::vector<std::string> convCaptions;
    std::vector<std::string> convCodes;
    int convWidth = 0;
    int convHeight = 0;
    std::vector<std::uint8_t> convPixels;
    // Whether the conversion made its symbol: its pixels are there.
    bool ConversionSymbolMade() const;

    std::vector<RsTransDataStr> decodedLines;
    // The serial monitor: setting frames sent and their replies, in order.
    std::vector<RsComStr> monitorLines;
    // The character set chosen for decoded output, with any character held
    // back from the last burst.
    DecodedTextConverter decodedText;
    // The device's information fields and the image last extracted.
    DeviceInfo deviceInfo;
    DeviceImage image;

    ScrollGeometry upperGeometry;
    ScrollGeometry lowerGeometry;

    void SetPrompt(IPrompt* prompt) { prompt_ = prompt; }

    // From the catalogue tree: builds the command string and caption of an
    // option with its value and adds the entry.  0 when added, 1 when the
    // operator declined a duplicate or the entry was refused.  Record indices
    // outside the catalogue throw std::out_of_range.
    int AddCommandEntry(int optionIndex, int settingIndex, const std::string& valueText, int valueLength, int valueKind,
                        const std::string& captionText);
    void AddCommandEntry(int recordIndex, int parentIndex, const ValueTriple& value,
                         const std::string& captionText) override;

    // Encodes the command string as Code 128 and appends the entry; also the
    // ADD button's path.  The bars carry the string's GBK bytes, the code page
    // the device reads.  false when a character has no GBK form or the symbol
    // is wider than an entry holds (the operator is told and nothing is
    // added).  A command string Code 128 cannot carry is added without bars;
    // the operator is told once.
    bool AddEntry(const std::string& codeText, const std::string& caption);

    // Undo: removes the last entry outside the monitor view.  true when one was
    // removed (the caller redraws the document pane).
    bool RemoveLastEntry(ViewMode viewMode);

    // Asks first; then empties what the given view shows.  true when cleared
    // (the caller empties its receive buffers, resets the pane geometry and
    // redraws).
    bool ClearDocument(ViewMode viewMode);
    void ClearConfigurationContent();
    void ClearMonitorContent();

    // The conversion command: list -> one symbol (QR Code when qr, else PDF417)
    // and back.  false when the document is empty (the operator is told).
    // When the entries are too many for one symbol the operator is told, and
    // the views say so in the symbol's place.
    bool ConversionCommand(bool qr);
    void ConvertDocument(bool qr);
    void ResetConversion();

    // One burst of decoded data as a new record of decodedLines.
    void AddDecodedOutput(const std::uint8_t* bytes, std::size_t count);

    // An option's description; empty for groups and settings.
    std::string GetOptionInfo(int index) const;

    const TreeNodeInfo& Node(int index) const;

private:
    bool Ask(const char* text);
    void Tell(const char* text);

    IPrompt* prompt_ = nullptr;
};

}  // namespace quillon
