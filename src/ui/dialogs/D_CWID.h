#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "CW ID": the Morse identification. Turning it off on OK also turns off
// every channel that sends it.
class TfrmCWID : public TParamDialogOf<TfrmCWID> {
    Q_OBJECT
public:
    TfrmCWID(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

protected:
    void Stored() override;
};
