#pragma once
#include "model/dc_RKmemSub.h"

#include <QDialog>

#include <array>

class QCheckBox;
class TParamCombo;

// "Multi Tone": the 16 decoder/encoder tone slots of one channel and its
// multi-tone switch. The channel is written only on OK.
class TfrmMultiTone : public QDialog {
    Q_OBJECT
public:
    static constexpr int RowCount = ToneEntryCount;

    TfrmMultiTone(TChannel& channel, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One side of one row: the CTCSS list and the DCS list, of which at
    // most one shows anything but "off".
    struct TTonePair {
        TParamCombo* Ctcss = nullptr;
        TParamCombo* Dcs = nullptr;
    };

    void Load();
    void Store();
    static void ShowSlot(const TTonePair& pair, int isDcs, int code);
    // Whether the row chose a tone on this side: its kind and code.
    static bool ChosenSlot(const TTonePair& pair, int& isDcs, int& code);
    // The four lists of a row, decoder then encoder.
    std::array<int, 4> RowShown(int row) const;

    TChannel& FChannel;
    std::array<TTonePair, RowCount> FDecoders {};
    std::array<TTonePair, RowCount> FEncoders {};
    QCheckBox* FMultiTone = nullptr;
    // What each row showed when loaded: a row nobody changed keeps its slot
    // exactly as stored, leftovers of an inactive slot included.
    std::array<std::array<int, 4>, RowCount> FLoaded {};
    bool FLoadedMultiTone = false;
};
