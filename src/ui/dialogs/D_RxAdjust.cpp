#include "ui/dialogs/D_RxAdjust.h"

namespace {

// Stored levels are shown as stored, even above their range, until a
// field is committed.
std::vector<TFieldDef> RxAdjustFields()
{
    return RowFields(
        {
            {"&Rx Frequency (MHz)", {"edtFreqLowest", "edtFreqLow", "edtFreqHigh", "edtFreqHighest"},
             AlignFreqField, Each(&TRKmem::RxAdjFreq)},
            {"&Turning", {"edtTuneLowest", "edtTuneLow", "edtTuneHigh", "edtTuneHighest"}, LevelField,
             Each(&TRKmem::RxTuning)},
            {"&SQL Threshold Level", {"edtSqlLowest", "edtSqlLow", "edtSqlHigh", "edtSqlHighest"}, LevelField,
             Each(&TRKmem::SqlThreshold)},
            {"&NSQ Threshold Level", {"edtNsqLevel"}, LevelField, Each(&TRKmem::NsqThreshold)},
            {"SQL &Hysteresis", {"edtSqlHyster"}, LevelField, Each(&TRKmem::SqlHysteresis)},
            {"SQL Narrow &Offset", {"edtSqlNarrow"}, LevelField, Each(&TRKmem::SqlNarrowOffset)},
        },
        InManufacture, false);
}

} // namespace

TfrmRxAdjust::TfrmRxAdjust(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Rx Adjustment", 332, 287, "<SELECT>", 110, AlignPointHeadings}, RxAdjustFields(), doc,
                     mode, prompt, parent)
{
}
