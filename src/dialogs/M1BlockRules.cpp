#include "dialogs/M1BlockRules.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"

#include <cstdio>

namespace quillon {

namespace {

constexpr long long kLastSector = 15;
constexpr long long kLastDataBlock = 2;  // block 3 is the sector trailer
constexpr std::size_t kKeyDigits = 12;

}  // namespace

DialogOutcome M1BlockRules::Accept(const Fields& fields)
{
    namespace t = dialog_texts;
    std::string command = fields.keyB ? "61" : "60";

    if (fields.sector.empty())
        return DialogOutcome::Refuse(t::kM1SectorEmpty);
    const long long sector = ReadLeadingInteger(fields.sector);
    if (sector < 0 || sector > kLastSector)
        return DialogOutcome::Refuse(t::kM1SectorWrong);

    if (fields.block.empty())
        return DialogOutcome::Refuse(t::kM1BlockEmpty);
    const long long block = ReadLeadingInteger(fields.block);
    if (block < 0 || block > kLastDataBlock)
        return DialogOutcome::Refuse(t::kM1BlockWrong);

    char absolute[8];
    std::snprintf(absolute, sizeof absolute, "%02X", static_cast<int>(sector * 4 + block));
    command += absolute;

    const std::size_t keyLength = CountUnits(fields.key);
    if (keyLength == 0 || keyLength % 2 != 0 || keyLength > kKeyDigits)
        return DialogOutcome::Refuse(t::kM1KeyFormat);
    if (!IsHexText(fields.key))
        return DialogOutcome::Refuse(t::kIllegalHex);

    command += fields.key;
    command.append(kKeyDigits - fields.key.size(), '0');

    DialogOutput out;
    out.text = command;
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
