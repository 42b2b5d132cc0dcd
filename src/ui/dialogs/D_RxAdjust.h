#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Rx Adjustment": receiver tuning and squelch values at the four
// alignment frequencies, as stored; the live alignment is elsewhere.
class TfrmRxAdjust : public TParamDialogOf<TfrmRxAdjust> {
    Q_OBJECT
public:
    TfrmRxAdjust(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
