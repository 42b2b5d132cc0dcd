#include "ui/link/D_Alignment.h"

#include "ui/base/U_Host.h"
#include "ui/dialogs/D_SelectList.h"
#include "link/dc_RsDrv.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const TFieldConv LevelField {.Class = TEditClass::Digits, .MaxLength = 3, .Reading = TReading::Unsigned,
                             .Min = 0, .Max = 255, .Fallback = 0, .UpDown = true};
const TFieldConv FrequencyField {.Class = TEditClass::Decimal, .MaxLength = 5, .Reading = TReading::Decimal,
                                 .Min = 0, .Max = 999.9, .Decimals = 1};
// Tone and code fields are never typed into; the selection list fills them.
const TFieldConv ListField {.Class = TEditClass::Printable, .MaxLength = 5, .Reading = TReading::Text};

// The left column holds the receiver and transmitter values, the right one
// the encoder and the choices sent with them.
constexpr int LeftRows = 11;

std::vector<TFieldDef> AlignmentFields(int point)
{
    std::vector<TFieldDef> defs;
    for (const TAlignField& f : AlignFields()) {
        TFieldDef def;
        if (f.InDocument()) {
            TBinding binding {[&f, point](const TRKmem& d) { return f.Get(d, point); },
                              [&f, point](TRKmem& d, double v) { f.Set(d, point, v); }, {}, {}};
            def = EditField(f.Control, f.Label, InManufacture, std::move(binding),
                            f.Kind == TAlignValue::Frequency ? FrequencyField : LevelField);
        } else if (f.Kind == TAlignValue::Choice) {
            // The window's own choices start at their first item and are
            // never written into the document.
            std::vector<std::string> items(f.Items.begin(), f.Items.end());
            def = ComboField(f.Control, f.Label, InManufacture,
                             {[](const TRKmem&) { return 0.0; }, [](TRKmem&, double) {}, {}, {}}, items);
        } else {
            std::string initial = TAlignSettings {}.*f.Text;
            def = EditField(f.Control, f.Label, InManufacture,
                            {{}, {}, [initial = std::move(initial)](const TRKmem&) { return initial; },
                             [](TRKmem&, const std::string&) {}},
                            ListField);
        }
        const int index = int(defs.size());
        def.Row = index < LeftRows ? index : index - LeftRows;
        def.Column = index < LeftRows ? 1 : 3;
        defs.push_back(std::move(def));
    }
    return defs;
}

QPushButton* Toggle(const char* name, const char* caption, QWidget* parent)
{
    // Check boxes with the look of push buttons: pressed in while checked.
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoDefault(false);
    button->setFixedSize(70, 25);
    return button;
}

} // namespace

TfrmAlignment::TfrmAlignment(int point, TRKmem& doc, TMap54& image, TPrompt& prompt, TLinkTiming timing,
                             QWidget* parent)
    : TParamDialog({"Alignment Mode", 610, 400}, AlignmentFields(point), doc, Manufacture, prompt, parent),
      FPoint(point), FImage(image), FSavedImage(image), FTiming(timing)
{
    setObjectName("frmAlignment");
    setWindowTitle(QString("Alignment Mode (%1)").arg(AlignPointNames[point]));
    setAttribute(Qt::WA_QuitOnClose, false);

    // A label whose field is disabled keeps its look; it is disabled only so
    // that its accelerator leaves the letter to the field that can take it.
    for (QLabel* panel : findChildren<QLabel*>()) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText,
                         palette.color(QPalette::Active, QPalette::WindowText));
        panel->setPalette(palette);
    }
    for (const char* name : {"edtCTCSS", "edtDCS"})
        Edit(name)->installEventFilter(this);
    for (const char* name : {"cmbMode", "cmbTPType", "cmbWN", "cmbEnc"})
        connect(Combo(name), &QComboBox::currentIndexChanged, this, &TfrmAlignment::ApplyRules);

    auto* status = new QGroupBox(this);
    status->setObjectName("grpStatus");
    auto* statusLayout = new QHBoxLayout(status);
    statusLayout->setContentsMargins(6, 4, 6, 4);
    int column = 0;
    for (const char* name : {"VR", "NSQ", "RSSI"}) {
        statusLayout->addWidget(new QLabel(name, status));
        auto* value = new QLineEdit(status);
        value->setObjectName(QString("edt") + name);
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setFixedWidth(30);
        statusLayout->addWidget(value);
        FStatus[column++] = value;
    }
    auto* btnStat = new QPushButton("Status", status);
    btnStat->setObjectName("btnStat");
    btnStat->setAutoDefault(false);
    statusLayout->addWidget(btnStat);
    connect(btnStat, &QPushButton::clicked, this, &TfrmAlignment::RequestStatus);
    FieldLayout()->addWidget(status, 9, 2, 2, 2);

    auto* toggles = new QHBoxLayout;
    const struct {
        const char* On;
        const char* OnCaption;
        const char* Off;
        const char* OffCaption;
        int OnKind;
    } pairs[] = {{"chbTrxOn", "TRX on", "chbTrxOff", "TRX off", akTrxOn},
                 {"chbRxOn", "RX on", "chbRxOff", "RX off", akRxOn},
                 {"chbTxOn", "TX on", "chbTxOff", "TX off", akTxOn}};
    for (const auto& p : pairs) {
        FPairs.push_back({Toggle(p.On, p.OnCaption, this), Toggle(p.Off, p.OffCaption, this), p.OnKind});
        toggles->addWidget(FPairs.back().On);
        toggles->addWidget(FPairs.back().Off);
        toggles->addSpacing(16);
    }
    toggles->addStretch();
    FieldLayout()->addLayout(toggles, LeftRows, 0, 1, 4);
    for (const TPair& pair : FPairs)
        for (QAbstractButton* button : {pair.On, pair.Off})
            connect(button, &QAbstractButton::clicked, this, [this, pair, button] { Toggled(pair, button); });
}

TfrmAlignment::~TfrmAlignment() = default;

bool TfrmAlignment::OpenLink(const QString& port)
{
    FDriver = AlignOpen(port, *this);
    return FDriver != nullptr;
}

int TfrmAlignment::ShowModal(const QString& port)
{
    return OpenLink(port) ? exec() : Abort;
}

void TfrmAlignment::Loaded()
{
    for (QLineEdit* value : FStatus)
        value->setText("---");
    for (const TPair& pair : FPairs) {
        pair.On->setChecked(false);
        pair.Off->setChecked(true);
    }
    ApplyRules();
}

void TfrmAlignment::SetField(const char* name, bool enabled)
{
    Edit(name)->SetFieldEnabled(enabled);
    if (auto* panel = findChild<QLabel*>(QString("pnl") + (name + 3)))
        panel->setEnabled(enabled);
}

void TfrmAlignment::ApplyRules()
{
    const bool repeater = Combo("cmbMode")->currentIndex() == 1;
    for (const TPair& pair : FPairs) {
        const bool trx = pair.OnKind == akTrxOn;
        pair.On->setEnabled(trx == repeater);
        pair.Off->setEnabled(trx == repeater);
    }
    const bool low = Combo("cmbTPType")->currentIndex() == 1;
    SetField("edtTPLHigh", !low);
    SetField("edtTPLLow", low);
    const bool narrow = Combo("cmbWN")->currentIndex() == 1;
    const int encoder = Combo("cmbEnc")->currentIndex();
    SetField("edtMDWide", !narrow);
    SetField("edtMDNarr", narrow);
    SetField("edtCTCSS", encoder == 1);
    SetField("edtDCS", encoder == 2);
    SetField("edtCDWide", encoder == 1 && !narrow);
    SetField("edtCDNarr", encoder == 1 && narrow);
    SetField("edtDDWide", encoder == 2 && !narrow);
    SetField("edtDDNarr", encoder == 2 && narrow);
}

TAlignSettings TfrmAlignment::Settings() const
{
    TAlignSettings s;
    s.Point = FPoint;
    for (const TAlignField& f : AlignFields()) {
        if (f.Choice)
            s.*f.Choice = std::max(0, Combo(f.Control)->currentIndex());
        else if (f.Text)
            s.*f.Text = Edit(f.Control)->text().toStdString();
    }
    return s;
}

template <class TExchange>
auto TfrmAlignment::Exchange(TExchange exchange)
{
    // Disabled, the window takes no click and no key; the close box is
    // refused while Busy. The focus comes back to where the person left it.
    QWidget* focus = focusWidget();
    FBusy = true;
    setEnabled(false);
    struct TAfter {
        TfrmAlignment* Window;
        QWidget* Focus;
        ~TAfter()
        {
            Window->setEnabled(true);
            Window->FBusy = false;
            if (Focus)
                Focus->setFocus();
        }
    } after {this, focus};
    return exchange();
}

bool TfrmAlignment::Send(int kind)
{
    return Exchange([&] {
        StoreFields();
        return AlignCommand(*FDriver, Doc, FImage, Settings(), kind, *this);
    });
}

void TfrmAlignment::Toggled(const TPair& pair, QAbstractButton* clicked)
{
    // A pair is one switch: whichever box is checked now says what is sent.
    QAbstractButton* partner = clicked == pair.On ? pair.Off : pair.On;
    partner->setChecked(!clicked->isChecked());
    const bool on = pair.On->isChecked();
    if (Send(on ? pair.OnKind : pair.OnKind + 1))
        return;
    // The repeater did not do it: the pair shows what it still does.
    pair.On->setChecked(!on);
    pair.Off->setChecked(on);
}

void TfrmAlignment::RequestStatus()
{
    Exchange([this] {
        std::string values[3];
        if (!AlignStatus(*FDriver, values[0], values[1], values[2], *this))
            return;
        for (int k = 0; k < 3; ++k)
            FStatus[k]->setText(QString::fromStdString(values[k]));
    });
}

void TfrmAlignment::PickTone(QLineEdit* field)
{
    TfrmSelList list(this);
    list.ListKind = field->objectName() == "edtCTCSS" ? TfrmSelList::CtcssList : TfrmSelList::DcsList;
    list.Value = field->text();
    list.NoOff = true;
    if (list.exec() == QDialog::Accepted)
        field->setText(list.Value);
}

bool TfrmAlignment::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || !field->isEnabled())
        return TParamDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        PickTone(field);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Any key that types opens the list; moving on, Esc, F1 and the
        // accelerators keep their meaning.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool moves = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
                           || key->key() == Qt::Key_Escape;
        if (!moves && !key->text().isEmpty() && !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
            PickTone(field);
            return true;
        }
    }
    return TParamDialog::eventFilter(watched, event);
}

void TfrmAlignment::closeEvent(QCloseEvent* event)
{
    if (FBusy) {
        event->ignore();
        return;
    }
    TParamDialog::closeEvent(event);
}

void TfrmAlignment::done(int result)
{
    if (FBusy || FClosing)
        return;
    FClosing = true;
    if (result != Accepted) {
        // Cancel undoes what the sent commands stored as well.
        Doc = Backup;
        FImage = FSavedImage;
    }
    if (FDriver) {
        Exchange([this] { AlignClose(*FDriver, *this); });
        FDriver.reset();
    }
    TParamDialog::done(result);
}

bool OpenAlignment(int point, const QString& port, TRKmem& doc, TMap54& image, THost& host,
                   QWidget* mainWindow, bool& modified)
{
    // No parent: the main window is disabled while the window runs, and a
    // child window would be disabled with it; so would a message box that
    // the main window owned.
    TfrmAlignment window(point, doc, image, host.Prompt(), host.LinkTiming());
    host.SetOwner(&window);
    if (mainWindow)
        mainWindow->setEnabled(false);
    const int result = window.ShowModal(port);
    host.SetOwner(mainWindow);
    if (mainWindow) {
        mainWindow->setEnabled(true);
        mainWindow->activateWindow();
    }
    if (result != QDialog::Accepted)
        return false;
    if (window.Changed())
        modified = true;
    return true;
}
