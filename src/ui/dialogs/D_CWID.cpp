#include "ui/dialogs/D_CWID.h"

#include "model/U_Values.h"

namespace {

// Unreadable numbers become the field's minimum.
const TFieldConv DotTimeField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                               .Suffix = " msec", .Min = 20, .Max = 255, .Fallback = 20};
const TFieldConv IntervalField {.Class = TEditClass::Digits, .MaxLength = 4, .Reading = TReading::Unsigned,
                                .Suffix = " sec", .Min = 30, .Max = 1800, .Fallback = 30};
const TFieldConv ToneFreqField {.Class = TEditClass::Digits, .MaxLength = 4, .Reading = TReading::Unsigned,
                                .Suffix = " Hz", .Min = 300, .Max = 3000, .Fallback = 300};
const TFieldConv CwIdTextField {.Class = TEditClass::Printable, .MaxLength = 16, .Reading = TReading::Text};

constexpr int CwIdAniEniOff = 0;
constexpr int CwIdAniEniCwId = 2;

std::vector<TFieldDef> CwIdFields()
{
    return {
        ComboField("cmbCWID", "&CW ID", InExtended, Bind(&TRKmem::CwIdEnable), RowItems(dvDisableEnable)),
        EditField("edtDotTime", "&Dot Time (ms)", InExtended, Bind(&TRKmem::CwIdDotTime), DotTimeField),
        EditField("edtIntTimer", "&Interval Timer (sec)", InExtended, Bind(&TRKmem::CwIdInterval),
                  IntervalField),
        EditField("edtTFreq", "&Tone Freq (Hz)", InExtended, Bind(&TRKmem::CwIdToneFreq), ToneFreqField),
        EditField("edtCWID", "C&W ID", InExtended, Bind(&TRKmem::CwIdText), CwIdTextField),
    };
}

} // namespace

TfrmCWID::TfrmCWID(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"CW ID", 332, 230}, CwIdFields(), doc, mode, prompt, parent)
{
}

void TfrmCWID::Stored()
{
    // A channel cannot send an identification that is switched off. These
    // channel changes are a consequence, not an edit, and are not compared.
    if (Doc.CwIdEnable)
        return;
    for (TChannel& channel : Doc.Channels)
        if (channel.CwIdAniEni == CwIdAniEniCwId)
            channel.CwIdAniEni = CwIdAniEniOff;
}
