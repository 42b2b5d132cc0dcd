#include "ui/dialogs/D_ToneTbl.h"

#include "model/U_Values.h"

namespace {

constexpr int DigitE = 14;

// An unreadable tone becomes 50 Hz before the lower limit lifts it.
const TFieldConv ToneField {.Class = TEditClass::Digits, .MaxLength = 4, .Reading = TReading::Unsigned,
                            .Suffix = " Hz", .Min = 625, .Max = 3000, .Fallback = 50};
// Under EIA, digit 0 may hold 600 Hz and digit E 459 Hz.
TFieldConv Keeping(double value)
{
    TFieldConv conv = ToneField;
    conv.Kept = value;
    return conv;
}
const TFieldConv EiaDigit0Field = Keeping(600);
const TFieldConv EiaDigitEField = Keeping(459);
// The set is found from the values as shown, without the limits.
const TFieldConv ToneAsShown {.Reading = TReading::Unsigned, .Suffix = " Hz", .Min = 0, .Max = 1e9,
                              .Fallback = 50};

const char* const ToneNames[16] = {"edtTbl0", "edtTbl1", "edtTbl2", "edtTbl3", "edtTbl4", "edtTbl5",
                                   "edtTbl6", "edtTbl7", "edtTbl8", "edtTbl9", "edtTblA", "edtTblB",
                                   "edtTblC", "edtTblD", "edtTblE", "edtTblF"};
const char* const ToneLabels[16] = {"&0", "&1", "&2", "&3", "&4", "&5", "&6", "&7",
                                    "&8", "&9", "&A", "&B", "&C", "&D", "&E", "&F"};

std::vector<TFieldDef> ToneFields()
{
    std::vector<TFieldDef> fields;
    for (int digit = 0; digit < 16; ++digit) {
        TFieldDef def = EditField(ToneNames[digit], ToneLabels[digit], InExtended,
                                  Bind(&TRKmem::FiveToneTable, digit), ToneField);
        def.NormaliseOnLoad = false;  // after the set is known
        fields.push_back(std::move(def));
    }
    fields = InColumns(std::move(fields), 8);  // digits 0 to 7 on the left
    // The set is no field of the document: it is what the tones are.
    const TBinding set {[](const TRKmem& d) { return double(TfrmToneTbl::SetOf(d.FiveToneTable)); },
                        [](TRKmem&, double) {}, {}, {}};
    TFieldDef def = ComboField("cmbSet", "5Tone &Set", InExtended, set,
                               {std::begin(FiveToneStandardNames), std::end(FiveToneStandardNames)});
    def.Row = 8;
    fields.push_back(std::move(def));
    return fields;
}

} // namespace

const std::array<std::array<int, 16>, TfrmToneTbl::SetCount> TfrmToneTbl::StandardSets {{
    {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2800, 810, 970, 885, 2600, 680},   // ZVEI1
    {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 885, 825, 740, 680, 970, 2600},    // ZVEI2
    {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 885, 810, 2800, 680, 970, 2600},   // ZVEI3
    {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 970, 810, 2800, 885, 2600, 680},   // PZVEI
    {2400, 970, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 825, 740, 2600, 885, 2400, 680},    // DZVEI
    {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 1055, 930, 2400, 991, 2110, 2247}, // EEA
    {1981, 1124, 1197, 1275, 1358, 1446, 1540, 1640, 1747, 1860, 2400, 930, 2247, 991, 2110, 1055}, // CCIR
    {600, 741, 882, 1023, 1164, 1305, 1446, 1587, 1728, 1869, 2151, 2433, 2010, 2292, 459, 1091},   // EIA
    {1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2400, 2800, 810, 970, 885, 2600, 680},   // USER
}};

int TfrmToneTbl::SetOf(const std::array<int, 16>& tones)
{
    for (int set = 0; set < UserSet; ++set)
        if (StandardSets[set] == tones)
            return set;
    return UserSet;
}

TfrmToneTbl::TfrmToneTbl(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : TParamDialogOf({"5-Tone Table", 332, 331, "<SELECT>", 70}, ToneFields(), doc, mode, prompt, parent)
{
    connect(Combo("cmbSet"), &QComboBox::activated, this, &TfrmToneTbl::SetChosen);
    for (int digit = 0; digit < 16; ++digit)
        connect(Tone(digit), &TParamEdit::Committed, this, &TfrmToneTbl::ToneCommitted);
}

TParamEdit* TfrmToneTbl::Tone(int digit) const
{
    return Edit(ToneNames[digit]);
}

std::array<int, 16> TfrmToneTbl::ShownTones() const
{
    std::array<int, 16> tones {};
    for (int digit = 0; digit < 16; ++digit)
        tones[digit] = static_cast<int>(ParseValue(ToneAsShown, Tone(digit)->text().toStdString()));
    return tones;
}

void TfrmToneTbl::FollowSet()
{
    const bool eia = Combo("cmbSet")->currentIndex() == EiaSet;
    Tone(0)->SetConv(eia ? EiaDigit0Field : ToneField);
    Tone(DigitE)->SetConv(eia ? EiaDigitEField : ToneField);
}

void TfrmToneTbl::Loaded()
{
    FollowSet();
    for (int digit = 0; digit < 16; ++digit)
        Tone(digit)->Normalise();
}

void TfrmToneTbl::SetChosen(int index)
{
    FollowSet();
    for (int digit = 0; digit < 16; ++digit) {
        Tone(digit)->setText(QString::number(StandardSets.at(index)[digit]));
        Tone(digit)->Normalise();
    }
}

void TfrmToneTbl::ToneCommitted()
{
    // Editing one tone of a standard set makes it the user's own.
    Combo("cmbSet")->setCurrentIndex(SetOf(ShownTones()));
    FollowSet();
}
