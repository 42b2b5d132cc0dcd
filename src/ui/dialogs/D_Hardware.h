#pragma once
#include "ui/dialogs/D_ParamDialog.h"

// "Hardware Parameters": band, IF and reference frequencies, local
// oscillator offsets, channel step, duplexer and Tx power type.
class TfrmHardware : public TParamDialogOf<TfrmHardware> {
    Q_OBJECT
public:
    TfrmHardware(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

    // The Hardware command: the dialog, and on OK with another band the
    // band's defaults for the channels and alignment values.
    static bool Execute(QWidget* parent, TRKmem& doc, TProgramMode mode, TPrompt& prompt,
                        bool& modified);

    // OK stored a band other than the one the dialog was opened with.
    bool BandChanged() const { return FBandChanged; }

    static constexpr const char* BandQuestion =
        "NOTE!! Changing the band invalidate all channel frequencies.\r\n"
        "These will be changed to the band default.ok?";
    static constexpr const char* StepQuestion =
        "NOTE!! Changing the step may invalidate some channel frequencies.\r\n"
        "These will be shifted to the nearest valid step. ok?\r\n"
        "Change Channel Capacity?";

protected:
    void Loaded() override;
    void Stored() override;

private:
    void BandSelected(int index);
    void StepSelected(int index);

    int FShownBand = 0;  // put back when a change is declined
    int FShownStep = 0;
    bool FBandChanged = false;
};
