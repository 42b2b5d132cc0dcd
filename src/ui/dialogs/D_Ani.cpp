#include "ui/dialogs/D_Ani.h"

#include "model/U_Values.h"

#include <QPushButton>

namespace {

// Stored in 5 ms units; typed values are rounded down to the unit.
const TFieldConv AniDelayField {.Class = TEditClass::Digits, .MaxLength = 4, .Reading = TReading::Unsigned,
                                .Suffix = " ms", .Min = 20, .Max = 1275, .Step = 5, .Fallback = 20,
                                .Factor = 5};

std::vector<TFieldDef> AniFields()
{
    return {
        ComboField("cmbAniOn", "ANI &On", InExtended, Bind(&TRKmem::AniOn), RowItems(dvAniOn)),
        EditField("edtDelay", "ANI &Delay Time", InExtended, Bind(&TRKmem::AniDelay), AniDelayField),
        ComboField("cmbHeader", "ANI &Header Code", InExtended, Bind(&TRKmem::AniHeaderCode), CodeDigitItems()),
        EditField("edtCode", "ANI &Code", InExtended, Bind(&TRKmem::AniCode), HexCodeField),
    };
}

} // namespace

TfrmAni::TfrmAni(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"ANI Parameters", 335, 199}, AniFields(), doc, mode, prompt, parent)
{
    // The buttons come first, then the code before the header and the delay.
    const char* const order[] = {"btnOK", "btnCancel", "cmbAniOn", "edtCode", "cmbHeader", "edtDelay"};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(findChild<QWidget*>(order[i - 1]), findChild<QWidget*>(order[i]));
}
