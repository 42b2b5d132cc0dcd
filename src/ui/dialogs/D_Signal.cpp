#include "ui/dialogs/D_Signal.h"

#include "model/U_Values.h"

namespace {

const TFieldConv ToneTimeField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                                .Suffix = " ms", .Min = 1, .Max = 600, .Fallback = 1};

constexpr int SignalingOff = 0;
constexpr int CwIdAniEniOff = 0;
constexpr int CwIdAniEniAniEni = 1;

// One choice of "off", "RX Enable", "TX Enable", "RX/TX Enable" over a
// receive and a transmit flag.
TBinding Flags(int TRKmem::*tx, int TRKmem::*rx)
{
    return {[=](const TRKmem& d) { return double(SignalingValue(d.*tx, d.*rx)); },
            [=](TRKmem& d, double v) {
                const int value = static_cast<int>(v);
                d.*tx = value & 2 ? 1 : 0;
                d.*rx = value & 1;
            },
            {}, {}};
}

std::vector<TFieldDef> SignalFields()
{
    // The times and the repeat code are enabled by the two choices
    // (FollowChoices), whatever the program mode.
    return {
        ComboField("cmbDTMF", "&DTMF", InExtended, Flags(&TRKmem::DtmfTx, &TRKmem::DtmfRx), RowItems(dvSignaling)),
        ComboField("cmb5Tone", "&5-Tone", InExtended, Flags(&TRKmem::FiveToneTx, &TRKmem::FiveToneRx),
                   RowItems(dvSignaling)),
        EditField("edtMarkTime", "&Mark Time", InEveryMode, Bind(&TRKmem::MarkTime), ToneTimeField),
        EditField("edtSpaceTime", "&Space Time", InEveryMode, Bind(&TRKmem::SpaceTime), ToneTimeField),
        ComboField("cmb5ToneRepeat", "5-Tone &Repeat Code", InEveryMode, Bind(&TRKmem::FiveToneRepeatCode),
                   CodeDigitItems()),
    };
}

} // namespace

TfrmSignal::TfrmSignal(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Signaling Type", 332, 230}, SignalFields(), doc, mode, prompt, parent)
{
    // Choosing one kind of signaling switches the other off.
    const auto exclusive = [this](const char* chosen, const char* other) {
        connect(Combo(chosen), &QComboBox::activated, this, [this, other] {
            Combo(other)->setCurrentIndex(SignalingOff);
            FollowChoices();
        });
    };
    exclusive("cmbDTMF", "cmb5Tone");
    exclusive("cmb5Tone", "cmbDTMF");
}

void TfrmSignal::FollowChoices()
{
    const bool dtmf = Combo("cmbDTMF")->currentIndex() != SignalingOff;
    const bool fiveTone = Combo("cmb5Tone")->currentIndex() != SignalingOff;
    Edit("edtMarkTime")->SetFieldEnabled(dtmf || fiveTone);
    Edit("edtSpaceTime")->SetFieldEnabled(dtmf || fiveTone);
    Combo("cmb5ToneRepeat")->SetFieldEnabled(fiveTone);
}

void TfrmSignal::Loaded()
{
    // A document read from a repeater may hold both; it is shown as it is.
    FollowChoices();
}

void TfrmSignal::Stored()
{
    // The rules below follow the two choices. Where the mode keeps them
    // closed the choices are the stored ones, which stay as they are: a
    // document holding both kinds keeps both.
    if (!Combo("cmbDTMF")->isEnabled())
        return;
    if (Doc.DtmfTx || Doc.DtmfRx) {
        Doc.FiveToneTx = 0;  // DTMF wins over a 5-tone choice loaded beside it
        Doc.FiveToneRx = 0;
        return;
    }
    if (Doc.FiveToneTx || Doc.FiveToneRx)
        return;
    // Without signaling no channel can send ANI/ENI. A consequence, not an
    // edit: compared only through the flags.
    for (TChannel& channel : Doc.Channels)
        if (channel.CwIdAniEni == CwIdAniEniAniEni)
            channel.CwIdAniEni = CwIdAniEniOff;
}
