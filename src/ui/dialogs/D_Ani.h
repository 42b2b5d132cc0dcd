#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "ANI Parameters": the automatic number identification sent on transmit.
class TfrmAni : public TParamDialogOf<TfrmAni> {
    Q_OBJECT
public:
    TfrmAni(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
