#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Signaling Type": DTMF or 5-tone signaling, never both, with the tone
// timing and the 5-tone repeat code. Switching both off on OK also turns
// off every channel that sends ANI/ENI.
class TfrmSignal : public TParamDialogOf<TfrmSignal> {
    Q_OBJECT
public:
    TfrmSignal(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

protected:
    void Loaded() override;
    void Stored() override;

private:
    // The fields that depend on the two choices follow them, in every mode.
    void FollowChoices();
};
