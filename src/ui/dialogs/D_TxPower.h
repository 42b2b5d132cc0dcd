#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Tx Power Adjust": a signed power correction for each channel.
class TfrmTxPower : public TParamDialogOf<TfrmTxPower> {
    Q_OBJECT
public:
    TfrmTxPower(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
