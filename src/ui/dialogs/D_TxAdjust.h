#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Tx Adjustment": transmit power and deviation values at the four
// alignment frequencies and the power display calibration, as stored.
class TfrmTxAdjust : public TParamDialogOf<TfrmTxAdjust> {
    Q_OBJECT
public:
    TfrmTxAdjust(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
