#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Radio Status": nine on/off style options.
class TfrmRadioStatus : public TParamDialogOf<TfrmRadioStatus> {
    Q_OBJECT
public:
    TfrmRadioStatus(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
