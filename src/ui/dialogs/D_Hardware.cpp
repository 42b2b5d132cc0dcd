#include "ui/dialogs/D_Hardware.h"

#include "model/U_Values.h"
#include "codec/dc_Map54.h"

namespace {

// IF and reference frequencies: 10 kHz units shown as MHz.
const TFieldConv MHzField {.Class = TEditClass::Decimal, .MaxLength = 5, .Reading = TReading::Decimal,
                           .Suffix = " MHz", .Min = 0, .Max = 99.99, .Decimals = 2, .Factor = 0.01};

std::vector<TFieldDef> HardwareFields()
{
    return {
        ComboField("cmbBand", "&Band Select", InExtended, Bind(&TRKmem::Band), RowItems(dvBand)),
        EditField("edtIF", "&IF", InManufacture, Bind(&TRKmem::IfFreq), MHzField),
        EditField("edtTxRef", "&TX Reference", InManufacture, Bind(&TRKmem::TxRefFreq), MHzField),
        EditField("edtRxRef", "&RX Reference", InManufacture, Bind(&TRKmem::RxRefFreq), MHzField),
        ComboField("cmb1stLocal", "&1st Local Offset", InExtended, Bind(&TRKmem::FirstLocalOffset),
                   RowItems(dvLocalOffset)),
        ComboField("cmb2ndLocal", "&2nd Local Offset", InExtended, Bind(&TRKmem::SecondLocalOffset),
                   RowItems(dvLocalOffset)),
        ComboField("cmbChStep", "&CH Step", InExtended, Bind(&TRKmem::ChStep), RowItems(dvChStep)),
        ComboField("cmbDuplex", "&Duplexer Installed", InExtended, Bind(&TRKmem::Duplexer),
                   RowItems(dvDuplexer)),
        ComboField("cmbTxPower", "TX &Power Type", InManufacture, Bind(&TRKmem::TxPowerType),
                   RowItems(dvTxPowerType)),
    };
}

} // namespace

TfrmHardware::TfrmHardware(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"Hardware Parameters", 332, 332}, HardwareFields(), doc, mode, prompt, parent)
{
    connect(Combo("cmbBand"), &QComboBox::activated, this, &TfrmHardware::BandSelected);
    connect(Combo("cmbChStep"), &QComboBox::activated, this, &TfrmHardware::StepSelected);
}

bool TfrmHardware::Execute(QWidget* parent, TRKmem& doc, TProgramMode mode, TPrompt& prompt,
                           bool& modified)
{
    const int openedBand = doc.Band;
    TfrmHardware form(doc, mode, prompt, parent);
    if (!form.RunModal(modified))
        return false;
    // OK stored the band the person agreed to and the IF as its field shows
    // it: the band's own, or one typed over it. The rest of the change is
    // the band change every caller makes.
    const int chosenBand = doc.Band;
    doc.Band = openedBand;
    ChangeBand(doc, chosenBand, doc.IfFreq);
    return true;
}

void TfrmHardware::Loaded()
{
    FShownBand = Combo("cmbBand")->currentIndex();
    FShownStep = Combo("cmbChStep")->currentIndex();
}

void TfrmHardware::Stored()
{
    FBandChanged = Doc.Band != Backup.Band;
}

void TfrmHardware::BandSelected(int index)
{
    if (index == FShownBand)
        return;
    if (!Prompt.Confirm(BandQuestion)) {
        Combo("cmbBand")->setCurrentIndex(FShownBand);
        return;
    }
    FShownBand = index;
    Edit("edtIF")->ShowStored(TMap54::DefaultIfFreq(index));
}

void TfrmHardware::StepSelected(int index)
{
    if (index == FShownStep)
        return;
    if (Prompt.Confirm(StepQuestion))
        FShownStep = index;
    else
        Combo("cmbChStep")->setCurrentIndex(FShownStep);
}
