#include "ui/dialogs/D_RadioStatus.h"

#include "model/U_Values.h"

namespace {

TFieldDef Option(const char* name, const char* label, int TRKmem::*member, int row = dvDisableEnable)
{
    return ComboField(name, label, InExtended, Bind(member), RowItems(row));
}

std::vector<TFieldDef> RadioStatusFields()
{
    return {
        Option("cmbBeep", "&Beep", &TRKmem::Beep),
        Option("cmbMonitor", "&Monitor", &TRKmem::Monitor),
        Option("cmbAccessory", "&Accessory", &TRKmem::Accessory, dvAccessory),
        Option("cmbMIC", "M&IC Moni", &TRKmem::MicMoni),
        Option("cmbFan", "&Fan Alert", &TRKmem::FanAlert),
        Option("cmbHighTemp", "&High Temp Alert", &TRKmem::HighTempAlert),
        // The same document field as the hardware dialog's "TX Power Type".
        Option("cmbHighTempTx", "HIgh Temp TX &Power Low", &TRKmem::TxPowerType),
        Option("cmbDC", "&DC TX Power Low", &TRKmem::DcTxPowerLow),
        Option("cmbHangOn", "Hang &On Audio", &TRKmem::HangOnAudio, dvHangOnAudio),
    };
}

} // namespace

TfrmRadioStatus::TfrmRadioStatus(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Radio Status", 332, 334}, RadioStatusFields(), doc, mode, prompt, parent)
{
}
