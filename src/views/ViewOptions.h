#pragma once
#include "base/ViewMode.h"

namespace quillon {

// The settings-form state the document view reads at every drawing, on
// screen and on paper.
class IViewOptions {
public:
    virtual ~IViewOptions() = default;
    virtual ViewMode CurrentView() const = 0;
    virtual bool GenerateBarcodes() const = 0;  // "生成配置条码"
    virtual bool InvertColours() const = 0;     // "条码颜色反转"
    virtual bool DecodedOutput() const = 0;     // "解码输出"
};

// Form state held as plain values: the command-line sheet and tests.
struct ViewOptionValues : IViewOptions {
    ViewMode viewMode = ViewMode::Configuration;
    bool generateBarcodes = true;
    bool invertColours = false;
    bool decodedOutput = false;

    ViewMode CurrentView() const override { return viewMode; }
    bool GenerateBarcodes() const override { return generateBarcodes; }
    bool InvertColours() const override { return invertColours; }
    bool DecodedOutput() const override { return decodedOutput; }
};

}  // namespace quillon
