#include "ui/dialogs/D_Timer.h"

namespace {

// Time-out timers count half minutes, the hang-on time half seconds; both
// are typed in whole units with a decimal and rounded down to a half.
const TFieldConv MinutesField {.Class = TEditClass::Decimal, .MaxLength = 4, .Reading = TReading::Decimal,
                               .Suffix = " Min", .Min = 0, .Max = 60, .Step = 0.5, .Decimals = 1,
                               .Factor = 0.5};
const TFieldConv HalfSecondsField {.Class = TEditClass::Decimal, .MaxLength = 4,
                                   .Reading = TReading::Decimal, .Suffix = " Sec", .Min = 0, .Max = 60,
                                   .Step = 0.5, .Decimals = 1, .Factor = 0.5};
// Guard times count units of 2 s and are rounded down to an even second.
const TFieldConv GuardField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                             .Suffix = " Sec", .Min = 0, .Max = 360, .Step = 2, .Factor = 2};

std::vector<TFieldDef> TimerFields()
{
    return {
        EditField("edtBaseTOT", "&Base T.O.T", InExtended, Bind(&TRKmem::BaseTot), MinutesField),
        EditField("edtBGTime", "Base &Guard Time", InExtended, Bind(&TRKmem::BaseGuardTime), GuardField),
        EditField("edtRepeatTOT", "&Repeat T.O.T", InExtended, Bind(&TRKmem::RepeatTot), MinutesField),
        EditField("edtRGTime", "Repeat Guard &Time", InExtended, Bind(&TRKmem::RepeatGuardTime),
                  GuardField),
        EditField("edtRHTime", "Repeat Hang &On Time", InExtended, Bind(&TRKmem::RepeatHangOnTime),
                  HalfSecondsField),
    };
}

} // namespace

TfrmTimer::TfrmTimer(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Timer", 332, 230}, TimerFields(), doc, mode, prompt, parent)
{
}
