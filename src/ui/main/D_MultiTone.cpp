#include "ui/main/D_MultiTone.h"

#include "ui/dialogs/D_ParamFields.h"
#include "model/U_ChannelRules.h"
#include "ui/base/U_DialogKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QLabel* HintPanel(const char* name, const QString& text, QWidget* parent)
{
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedHeight(16);
    return panel;
}

// Rows 1 to 10 carry an accelerator digit (Alt+0 is row 10).
QString RowCaption(int row)
{
    if (row < 10)
        return QString("Tone  &%1").arg(row);
    if (row == 10)
        return "Tone 1&0";
    return QString("Tone %1").arg(row);
}

TParamCombo* ToneList(const QString& name, int listCode, QWidget* parent)
{
    auto* combo = new TParamCombo(parent);
    combo->setObjectName(name);
    for (const std::string& text : ToneTexts(listCode))
        combo->addItem(QString::fromStdString(text));
    combo->setMaxVisibleItems(16);
    return combo;
}

} // namespace

TfrmMultiTone::TfrmMultiTone(TChannel& channel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FChannel(channel)
{
    setWindowTitle("Multi Tone");
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);

    // Captions, lists and both panels share one grid, so that a caption
    // stands beside its row at any font size: the panels are frames drawn
    // behind the columns they span. Columns: caption, then per side a pad,
    // the CTCSS list, a pad, the DCS list and a pad, with a gap between
    // the sides. Rows: the panel title, the column captions, the 16 slots
    // and the panels' bottom edge.
    enum { CaptionColumn = 0, DecoderColumn = 1, EncoderColumn = 7, SideColumns = 5,
           TitleRow = 0, HeaderRow = 1, FirstToneRow = 2, GridRows = FirstToneRow + RowCount + 1 };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(3);
    grid->setRowMinimumHeight(TitleRow, fontMetrics().height());
    grid->setRowMinimumHeight(GridRows - 1, 2);
    grid->setColumnMinimumWidth(DecoderColumn + SideColumns, 8);  // the gap between the sides
    auto side = [this, grid](const char* title, const char* prefix, int column,
                             std::array<TTonePair, RowCount>& pairs) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString("pnl") + title);
        grid->addWidget(box, TitleRow, column, GridRows, SideColumns);
        box->lower();
        for (int pad : {0, 2, 4})
            grid->setColumnMinimumWidth(column + pad, 6);
        grid->addWidget(new QLabel("CTCSS (Hz)", this), HeaderRow, column + 1);
        grid->addWidget(new QLabel("DCS", this), HeaderRow, column + 3);
        for (int row = 0; row < RowCount; ++row) {
            const QString number = QString::number(row + 1);
            pairs[row].Ctcss = ToneList(QString("cbx%1Css%2").arg(prefix, number), dlCtcss, this);
            pairs[row].Dcs = ToneList(QString("cbx%1Dcs%2").arg(prefix, number), dlDcs, this);
            grid->addWidget(pairs[row].Ctcss, FirstToneRow + row, column + 1);
            grid->addWidget(pairs[row].Dcs, FirstToneRow + row, column + 3);
            const QString slot = QString("Tone %1, %2 ").arg(number, title);
            NameForReaders(pairs[row].Ctcss, slot + "CTCSS (Hz)");
            NameForReaders(pairs[row].Dcs, slot + "DCS");
            // The pair rule: a tone on one list of a side puts the other to "off".
            const TTonePair pair = pairs[row];
            connect(pair.Ctcss, &QComboBox::currentIndexChanged, this, [pair](int index) {
                if (index > 0)
                    pair.Dcs->setCurrentIndex(0);
            });
            connect(pair.Dcs, &QComboBox::currentIndexChanged, this, [pair](int index) {
                if (index > 0)
                    pair.Ctcss->setCurrentIndex(0);
            });
        }
    };
    side("Decoders", "D", DecoderColumn, FDecoders);
    side("Encoders", "E", EncoderColumn, FEncoders);
    for (int row = 0; row < RowCount; ++row) {
        auto* caption = new QLabel(RowCaption(row + 1), this);
        caption->setObjectName(QString("lblTone%1").arg(row + 1));
        caption->setBuddy(FDecoders[row].Ctcss);  // Alt + the digit
        caption->setContentsMargins(0, 0, 6, 0);
        grid->addWidget(caption, FirstToneRow + row, CaptionColumn);
    }
    FMultiTone = new QCheckBox("Multi Tone Enable", this);
    FMultiTone->setObjectName("cbxMultiTone");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("btnCancel");
    for (QPushButton* button : {ok, cancel}) {
        button->setAutoDefault(false);
        FixDesignedSize(*button, {85, 25});
    }
    connect(ok, &QPushButton::clicked, this, [this] {
        Store();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FMultiTone);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    // Entering a control changes neither hint panel in this dialog.
    auto* hints = new QHBoxLayout;
    hints->setSpacing(0);
    hints->addWidget(HintPanel("pnlHint1", "", this), 1);
    QLabel* hint2 = HintPanel("pnlHint2", "<SELECT>", this);
    hint2->setFixedWidth(60);
    hints->addWidget(hint2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(bottom);
    layout->addLayout(hints);
    AddHelpKey(*this);
    FixDesignedSize(*this, {478, 513});

    Load();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmMultiTone::ShowSlot(const TTonePair& pair, int isDcs, int code)
{
    if (isDcs == 0)
        pair.Ctcss->setCurrentIndex(code);
    else
        pair.Dcs->setCurrentIndex(code + 1);
}

bool TfrmMultiTone::ChosenSlot(const TTonePair& pair, int& isDcs, int& code)
{
    if (pair.Ctcss->currentIndex() > 0) {
        isDcs = 0;
        code = pair.Ctcss->currentIndex();
        return true;
    }
    if (pair.Dcs->currentIndex() > 0) {
        isDcs = 1;
        code = pair.Dcs->currentIndex() - 1;
        return true;
    }
    return false;
}

void TfrmMultiTone::Load()
{
    FMultiTone->setChecked(FChannel.MultiTone != 0);
    for (int k = 0; k < RowCount; ++k) {
        for (const auto& pair : {FDecoders[k], FEncoders[k]}) {
            pair.Ctcss->setCurrentIndex(0);
            pair.Dcs->setCurrentIndex(0);
        }
        if (FChannel.ToneEntryUsed[k] == 0)
            continue;
        ShowSlot(FDecoders[k], FChannel.DecoderIsDcs[k], FChannel.DecoderCode[k]);
        ShowSlot(FEncoders[k], FChannel.EncoderIsDcs[k], FChannel.EncoderCode[k]);
    }
    for (int k = 0; k < RowCount; ++k)
        FLoaded[k] = RowShown(k);
    FLoadedMultiTone = FMultiTone->isChecked();
}

std::array<int, 4> TfrmMultiTone::RowShown(int row) const
{
    return {FDecoders[row].Ctcss->currentIndex(), FDecoders[row].Dcs->currentIndex(),
            FEncoders[row].Ctcss->currentIndex(), FEncoders[row].Dcs->currentIndex()};
}

void TfrmMultiTone::Store()
{
    TChannel& c = FChannel;
    if (FMultiTone->isChecked() != FLoadedMultiTone)
        c.MultiTone = FMultiTone->isChecked() ? 1 : 0;
    for (int k = 0; k < RowCount; ++k) {
        if (RowShown(k) == FLoaded[k])
            continue;
        c.ToneEntryUsed[k] = 0;
        c.DecoderIsDcs[k] = 0;
        c.DecoderCode[k] = 0;
        c.EncoderIsDcs[k] = 0;
        c.EncoderCode[k] = 0;
        if (ChosenSlot(FDecoders[k], c.DecoderIsDcs[k], c.DecoderCode[k]))
            c.ToneEntryUsed[k] = 1;
        if (ChosenSlot(FEncoders[k], c.EncoderIsDcs[k], c.EncoderCode[k]))
            c.ToneEntryUsed[k] = 1;
    }
}

void TfrmMultiTone::keyPressEvent(QKeyEvent* event)
{
    if (!EnterPressesFocusedButton(this, event))
        QDialog::keyPressEvent(event);
}
