#include "ui/dialogs/D_TxPower.h"

namespace {

const char* const ChannelLabels[ChannelCount] = {
    "Channel 0&1", "Channel 0&2", "Channel 0&3", "Channel 0&4", "Channel 0&5", "Channel 0&6",
    "Channel 0&7", "Channel 0&8", "Channel 0&9", "Channel 1&0", "&Channel 11", "C&hannel 12",
    "Ch&annel 13", "Cha&nnel 14", "Chann&el 15", "Channe&l 16"};
const char* const ChannelFields[ChannelCount] = {
    "edtCh01", "edtCh02", "edtCh03", "edtCh04", "edtCh05", "edtCh06", "edtCh07", "edtCh08",
    "edtCh09", "edtCh10", "edtCh11", "edtCh12", "edtCh13", "edtCh14", "edtCh15", "edtCh16"};

std::vector<TFieldDef> TxPowerFields()
{
    std::vector<TFieldDef> fields;
    for (int ch = 0; ch < ChannelCount; ++ch)
        fields.push_back(EditField(ChannelFields[ch], ChannelLabels[ch], InExtended,
                                   Bind(&TRKmem::TxPowerAdjust, ch), PowerOffsetField));
    return InColumns(std::move(fields), 8);  // channels 1 to 8 on the left
}

} // namespace

TfrmTxPower::TfrmTxPower(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Tx Power Adjust", 335, 289, "<SELECT>", 80}, TxPowerFields(), doc, mode, prompt, parent)
{
}
