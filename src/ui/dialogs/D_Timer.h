#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Timer": the time-out, guard and hang-on timers.
class TfrmTimer : public TParamDialogOf<TfrmTimer> {
    Q_OBJECT
public:
    TfrmTimer(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);
};
