#pragma once
#include "catalogue/FormHost.h"
#include "catalogue/FormTree.h"
#include "views/ViewOptions.h"

namespace quillon {

// The document view reads the form's check boxes and the window's view mode
// at every paint and print, so it always draws what the operator sees ticked.
class FormViewOptions : public IViewOptions {
public:
    FormViewOptions(const IFormHost& host, const CFormTree& form) : host_(host), form_(form) {}

    ViewMode CurrentView() const override { return host_.CurrentView(); }
    bool GenerateBarcodes() const override { return form_.MakeBarcodeChecked(); }
    bool InvertColours() const override { return form_.InvertColoursChecked(); }
    bool DecodedOutput() const override { return form_.DecodeOutputChecked(); }

private:
    const IFormHost& host_;
    const CFormTree& form_;
};

}  // namespace quillon
