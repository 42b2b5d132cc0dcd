#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "ENI Parameters": the ENI code with its delay, timers and repeat count.
class TfrmEni : public TParamDialogOf<TfrmEni> {
    Q_OBJECT
public:
    TfrmEni(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
