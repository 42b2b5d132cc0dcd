#pragma once
#include "ui/dialogs/D_ParamDialog.h"

#include <array>

// "5-Tone Table": the audio frequency of each 5-tone digit 0 ... F, typed
// freely or taken from one of the standard sets. The set shown always
// follows the sixteen values.
class TfrmToneTbl : public TParamDialogOf<TfrmToneTbl> {
    Q_OBJECT
public:
    TfrmToneTbl(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

    static constexpr int SetCount = 9;
    static constexpr int UserSet = 8;
    static constexpr int EiaSet = 7;
    // Hz of digits 0 ... F in each set, in the order of the set names.
    static const std::array<std::array<int, 16>, SetCount> StandardSets;
    // The first standard set equal to the tones, else "USER".
    static int SetOf(const std::array<int, 16>& tones);

protected:
    void Loaded() override;

private:
    TParamEdit* Tone(int digit) const;
    std::array<int, 16> ShownTones() const;
    // The set shown decides whether digits 0 and E may keep the EIA values.
    void FollowSet();
    void SetChosen(int index);
    void ToneCommitted();
};
