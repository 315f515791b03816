#include "document/ZintSymbol.h"

#include <zint.h>

#include <cmath>
#include <new>

namespace quillon {

ZintSymbol::ZintSymbol() : symbol_(ZBarcode_Create())
{
    if (symbol_ == nullptr)
        throw std::bad_alloc();
}

ZintSymbol::~ZintSymbol()
{
    ZBarcode_Delete(symbol_);
}

void ZintSymbol::SetSymbology(int symbology)
{
    symbol_->symbology = symbology;
}
void ZintSymbol::SetOption1(int value)
{
    symbol_->option_1 = value;
}
void ZintSymbol::SetOption2(int value)
{
    symbol_->option_2 = value;
}
void ZintSymbol::SetOption3(int value)
{
    symbol_->option_3 = value;
}
void ZintSymbol::SetDataMode()
{
    symbol_->input_mode = DATA_MODE;
}

bool ZintSymbol::Encode(std::string_view data)
{
    // ZBarcode_Encode keeps settings but not a previous matrix; clear it so a
    // second Encode on the same symbol starts from nothing.
    ZBarcode_Clear(symbol_);
    lastResult_ =
        ZBarcode_Encode(symbol_, reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    lastError_ = symbol_->errtxt;
    return lastResult_ < ZINT_ERROR;
}

bool ZintSymbol::LastFailureWasTooLong() const
{
    return lastResult_ == ZINT_ERROR_TOO_LONG;
}

int ZintSymbol::Rows() const
{
    return symbol_->rows;
}
int ZintSymbol::Width() const
{
    return symbol_->width;
}

int ZintSymbol::FirstRowHeight() const
{
    // Rows the library gives no height of their own share the symbol's
    // height equally (PDF417's 3 modules a row, a linear symbol's 50).
    if (symbol_->row_height[0] > 0.0f || symbol_->rows <= 0)
        return static_cast<int>(std::lround(symbol_->row_height[0]));
    return static_cast<int>(std::lround(symbol_->height / symbol_->rows));
}

bool ZintSymbol::IsSet(int row, int column) const
{
    return (symbol_->encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

}  // namespace quillon
