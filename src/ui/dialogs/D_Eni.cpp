#include "ui/dialogs/D_Eni.h"

namespace {

// Stored in 50 ms units; typed values are rounded down to the unit.
const TFieldConv EniDelayField {.Class = TEditClass::Digits, .MaxLength = 5, .Reading = TReading::Unsigned,
                                .Suffix = " ms", .Min = 50, .Max = 12750, .Step = 50, .Fallback = 50,
                                .Factor = 50};
const TFieldConv SecondsField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                               .Suffix = " sec", .Min = 1, .Max = 255, .Fallback = 20};
const TFieldConv CountField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                             .Min = 1, .Max = 255, .Fallback = 20};

std::vector<TFieldDef> EniFields()
{
    return {
        EditField("edtDelay", "ENI &Delay Time", InExtended, Bind(&TRKmem::EniDelay), EniDelayField),
        EditField("edtTxTime", "ENI &TX Time", InExtended, Bind(&TRKmem::EniTxTime), SecondsField),
        EditField("edtRxTime", "ENI &RX Time", InExtended, Bind(&TRKmem::EniRxTime), SecondsField),
        EditField("edtDeadTime", "ENI D&ead Time", InExtended, Bind(&TRKmem::EniDeadTime), SecondsField),
        EditField("edtRepeatCnt", "ENI Re&peat Count", InExtended, Bind(&TRKmem::EniRepeatCount), CountField),
        ComboField("cmbHeader", "ENI &Header Code", InExtended, Bind(&TRKmem::EniHeaderCode), CodeDigitItems()),
        EditField("edtCode", "ENI &Code", InExtended, Bind(&TRKmem::EniCode), HexCodeField),
    };
}

} // namespace

TfrmEni::TfrmEni(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"ENI Parameters", 332, 297}, EniFields(), doc, mode, prompt, parent)
{
}
