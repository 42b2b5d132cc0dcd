#include "ui/dialogs/D_TxAdjust.h"

namespace {

// Stored levels are shown as stored, even above their range, until a
// field is committed.
std::vector<TFieldDef> TxAdjustFields()
{
    return RowFields(
        {
            {"Tx &Frequency (MHz)", {"edtFreqLL", "edtFreqL", "edtFreqH", "edtFreqHH"}, AlignFreqField,
             Each(&TRKmem::TxAdjFreq)},
            {"Tx Power &High", {"edtHighLL", "edtHighL", "edtHighH", "edtHighHH"}, LevelField,
             Each(&TRKmem::TxPowerHigh)},
            {"Tx Power &Low", {"edtLowLL", "edtLowL", "edtLowH", "edtLowHH"}, LevelField,
             Each(&TRKmem::TxPowerLow)},
            {"Max Deviation &Wide", {"edtMaxWLL", "edtMaxWL", "edtMaxWH", "edtMaxWHH"}, LevelField,
             Each(&TRKmem::MaxDevWide)},
            {"Max Deviation &Narrow", {"edtMaxNLL", "edtMaxNL", "edtMaxNH", "edtMaxNHH"}, LevelField,
             Each(&TRKmem::MaxDevNarrow)},
            {"&CTCSS Deviation Wide", {"edtCtcssWLL", "edtCtcssWL", "edtCtcssWH", "edtCtcssWHH"}, LevelField,
             Each(&TRKmem::CtcssDevWide)},
            {"C&TCSS Deviation Narrow", {"edtCtcssNLL", "edtCtcssNL", "edtCtcssNH", "edtCtcssNHH"}, LevelField,
             Each(&TRKmem::CtcssDevNarrow)},
            {"DCS &Deviation Wide", {"edtDcsWLL", "edtDcsWL", "edtDcsWH", "edtDcsWHH"}, LevelField,
             Each(&TRKmem::DcsDevWide)},
            {"DCS D&eviation Narrow", {"edtDcsNLL", "edtDcsNL", "edtDcsNH", "edtDcsNHH"}, LevelField,
             Each(&TRKmem::DcsDevNarrow)},
            {"Tx Power Display H&igh", {"edtDispHigh"}, DisplayLevelField, Each(&TRKmem::TxPowerDisplayHigh)},
            {"Tx Power Display L&ow", {"edtDispLow"}, DisplayLevelField, Each(&TRKmem::TxPowerDisplayLow)},
        },
        InManufacture, false);
}

} // namespace

TfrmTxAdjust::TfrmTxAdjust(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Tx Adjustment", 332, 391, "<SELECT>", 110, AlignPointHeadings}, TxAdjustFields(), doc,
                     mode, prompt, parent)
{
}
