#include "ui/dialogs/D_Market.h"

namespace {

constexpr int SerialLength = 8;

const TFieldConv SerialField {.Class = TEditClass::Printable, .MaxLength = SerialLength,
                              .Reading = TReading::Text, .TextRule = &TfrmMarket::SerialNumberText};

std::vector<TFieldDef> MarketFields()
{
    return {
        EditField("edtSerial", "&Serial Number", InManufacture, Bind(&TRKmem::SerialNo), SerialField),
        // The market is a character: 'U' for the USA, 0 written for export.
        // Any other stored character shows as export.
        ComboField("cmbMarket", "&Marketing", InManufacture, Bind(&TRKmem::MarketCode), {"EXP", "USA"},
                   {0, 'U'}),
    };
}

} // namespace

TfrmMarket::TfrmMarket(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Marketing Prameters", 332, 139, ""}, MarketFields(), doc, mode, prompt, parent)
{
}

std::string TfrmMarket::SerialNumberText(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "12345678";
    std::string serial = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (serial.size() < SerialLength)
        serial.resize(SerialLength, ' ');
    return serial;
}
