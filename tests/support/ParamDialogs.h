#pragma once
// The parameter dialogs, each opened over a document in a program mode as
// its menu command opens it; for the tests that go through all of them.
#include "ui/dialogs/D_Ani.h"
#include "ui/dialogs/D_CWID.h"
#include "ui/dialogs/D_Eni.h"
#include "ui/dialogs/D_Hardware.h"
#include "ui/dialogs/D_Market.h"
#include "ui/dialogs/D_RadioStatus.h"
#include "ui/dialogs/D_RxAdjust.h"
#include "ui/dialogs/D_Signal.h"
#include "ui/dialogs/D_Timer.h"
#include "ui/dialogs/D_ToneTbl.h"
#include "ui/dialogs/D_TxAdjust.h"
#include "ui/dialogs/D_TxPower.h"

#include <memory>

enum TDialog { Hardware, Timer, CwId, RadioStatus, Market, Signal, Ani, Eni, ToneTbl, RxAdjust, TxAdjust, TxPower };

template <class TForm>
std::unique_ptr<TParamDialog> OpenParamDialog(TRKmem& doc, TProgramMode mode, TPrompt& prompt)
{
    return std::make_unique<TForm>(doc, mode, prompt);
}

// Indexed by TDialog.
inline constexpr std::unique_ptr<TParamDialog> (*ParamDialogs[])(TRKmem&, TProgramMode, TPrompt&) = {
    OpenParamDialog<TfrmHardware>, OpenParamDialog<TfrmTimer>, OpenParamDialog<TfrmCWID>,
    OpenParamDialog<TfrmRadioStatus>, OpenParamDialog<TfrmMarket>, OpenParamDialog<TfrmSignal>,
    OpenParamDialog<TfrmAni>, OpenParamDialog<TfrmEni>, OpenParamDialog<TfrmToneTbl>,
    OpenParamDialog<TfrmRxAdjust>, OpenParamDialog<TfrmTxAdjust>, OpenParamDialog<TfrmTxPower>};
