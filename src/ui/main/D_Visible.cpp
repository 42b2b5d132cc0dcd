#include "ui/main/D_Visible.h"

#include "ui/main/U_ChGrid.h"
#include "ui/base/U_DialogKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {
const char* const Captions[TfrmVisible::ItemCount] = {
    "&Rx Freq.", "&Decoders", "&W/N", "Clk &Sft", "&NSQ", "&Court Blip", "Rev &Bst", "DCS T&ype",
    "DDec Ty&pe", "&Multi Tone", "CW&ID ANI/ENI", "&Action Mode", "&Tx Freq.", "&Encoders",
    "Base T&OT", "Base &Guard", "&LOUT", "Tx Pwr (&Q)", "TOT M&ute", "Rpt Use (&V)",
    "TOT Beep (&X)", "RPT &HT", "RPT GT (&Z)"};
constexpr int LeftCount = 12;
} // namespace

TfrmVisible::TfrmVisible(TChGrid& grid, QWidget* parent) : QDialog(parent), FGrid(grid)
{
    setObjectName("frmVisible");
    setWindowTitle("Visible");
    auto* group = new QGroupBox(this);
    auto* boxes = new QGridLayout(group);
    for (int k = 0; k < ItemCount; ++k) {
        auto* box = new QCheckBox(Captions[k], group);
        box->setObjectName(QString("chbItem%1").arg(k + 1));
        box->setChecked(FGrid.ItemVisible(k + 1));
        const bool left = k < LeftCount;
        boxes->addWidget(box, left ? k : k - LeftCount, left ? 0 : 1);
        FBoxes[k] = box;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    AddOkCancelRow(*this, *layout);
    AddHelpKey(*this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmVisible::accept()
{
    for (int k = 0; k < ItemCount; ++k)
        FGrid.SetItemVisible(k + 1, FBoxes[k]->isChecked());
    QDialog::accept();
}
