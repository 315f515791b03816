#pragma once
#include <string>
#include <string_view>

struct zint_symbol;

namespace quillon {

// Owns one libzint symbol.  Settings map to the libzint fields of the same
// meaning; results are read back from the encoded matrix.
class ZintSymbol {
public:
    ZintSymbol();
    ~ZintSymbol();
    ZintSymbol(const ZintSymbol&) = delete;
    ZintSymbol& operator=(const ZintSymbol&) = delete;

    void SetSymbology(int symbology);  // symbology
    void SetOption1(int value);        // option_1
    void SetOption2(int value);        // option_2
    void SetOption3(int value);        // option_3
    void SetDataMode();                // input_mode = DATA_MODE

    // Encodes the bytes as they are.  A library warning still leaves an
    // encoded symbol, so only errors count as failure.
    bool Encode(std::string_view data);
    // Whether the last Encode failed because the data is too long for the
    // symbol size that was asked for.
    bool LastFailureWasTooLong() const;

    int Rows() const;   // rows
    int Width() const;  // width (modules)
    // row_height[0] in whole modules; for rows without one, height / rows.
    int FirstRowHeight() const;
    bool IsSet(int row, int column) const;  // module of encoded_data

    // The library's text for the last error or warning; empty when none.
    const std::string& lastError() const { return lastError_; }

private:
    zint_symbol* symbol_;
    int lastResult_ = 0;
    std::string lastError_;
};

}  // namespace quillon
