#include "ui/dialogs/D_ParamDialog.h"

#include "model/U_Values.h"
#include "ui/base/U_DialogKit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

std::function<void(QWidget*)> TParamDialog::HelpContents;

TBinding Bind(int TRKmem::*member)
{
    return {[=](const TRKmem& d) { return double(d.*member); },
            [=](TRKmem& d, double v) { d.*member = static_cast<int>(StoredInteger(v)); }, {}, {}};
}

TBinding Bind(std::string TRKmem::*member)
{
    return {{}, {}, [=](const TRKmem& d) { return d.*member; },
            [=](TRKmem& d, const std::string& v) { d.*member = v; }};
}

TFieldDef EditField(const char* name, const char* label, unsigned enabledIn, TBinding binding,
                    const TFieldConv& conv)
{
    return {.Name = name, .Label = label, .EnabledIn = enabledIn, .Binding = std::move(binding),
            .Conv = &conv};
}

TFieldDef ComboField(const char* name, const char* label, unsigned enabledIn, TBinding binding,
                     std::vector<std::string> items, std::vector<int> values)
{
    return {.Name = name, .Label = label, .EnabledIn = enabledIn, .Binding = std::move(binding),
            .Items = std::move(items), .Values = std::move(values)};
}

std::vector<std::string> RowItems(int displayRow)
{
    std::vector<std::string> items;
    for (int i = 0; i < DisplayCount(displayRow); ++i)
        items.push_back(DisplayText(displayRow, i));
    return items;
}

std::vector<TFieldDef> InColumns(std::vector<TFieldDef> fields, int perColumn)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        fields[i].Row = static_cast<int>(i) % perColumn;
        fields[i].Column = 1 + 2 * (static_cast<int>(i) / perColumn);
    }
    return fields;
}

std::vector<std::string> CodeDigitItems()
{
    std::vector<std::string> items;
    for (const char digit : std::string("0123456789ABCDEF"))
        items.emplace_back(1, digit);
    return items;
}

std::vector<TFieldDef> RowFields(const std::vector<TFieldRow>& rows, unsigned enabledIn,
                                 bool normaliseOnLoad)
{
    std::vector<TFieldDef> fields;
    for (size_t row = 0; row < rows.size(); ++row) {
        const TFieldRow& r = rows[row];
        for (size_t i = 0; i < r.Names.size(); ++i) {
            TFieldDef def = EditField(r.Names[i], i == 0 ? r.Label : nullptr, enabledIn,
                                      r.Field(static_cast<int>(i)), r.Kind);
            def.NormaliseOnLoad = normaliseOnLoad;
            def.Row = static_cast<int>(row);
            def.Column = static_cast<int>(i) + 1;
            fields.push_back(std::move(def));
        }
    }
    return fields;
}

namespace {

QLabel* Panel(const QString& name, const QString& text, QWidget* parent)
{
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return panel;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    FixDesignedSize(*button, {85, 25});
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The item a stored value selects: its position, or the first item.
int ItemIndex(const TFieldDef& def, int value)
{
    if (def.Values.empty())
        return value >= 0 && value < int(def.Items.size()) ? value : -1;
    const auto at = std::find(def.Values.begin(), def.Values.end(), value);
    return at == def.Values.end() ? 0 : int(at - def.Values.begin());
}

// A label's caption as spoken: without the accelerator's marks.
QString Spoken(const char* caption)
{
    QString text = QString(caption).trimmed();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == '&')
            text.remove(i, 1);  // "&&" leaves the second one
    return text;
}

} // namespace

TParamDialog::TParamDialog(const TDialogForm& form, std::vector<TFieldDef> fields, TRKmem& doc,
                           TProgramMode mode, TPrompt& prompt, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Doc(doc), Backup(doc), Mode(mode), Prompt(prompt)
{
    setWindowTitle(form.Caption);
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);

    auto* grid = FGrid = new QGridLayout;
    // The last column's arrows keep a margin from the window's edge.
    grid->setContentsMargins(0, 0, 8, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    for (size_t i = 0; i < form.Headings.size(); ++i)
        grid->addWidget(new QLabel(form.Headings[i], this), 0, static_cast<int>(i) + 1);
    const int firstRow = form.Headings.empty() ? 0 : 1;
    int nextRow = 0;
    const unsigned modeBit = 1u << mode;
    std::map<int, int> fieldsInRow;  // grid row -> fields in it
    std::map<int, QString> rowCaption;
    for (TFieldDef& def : fields) {
        const QString controlName = def.Name;
        QWidget* control = nullptr;
        if (def.Conv) {
            auto* edit = new TParamEdit(*def.Conv, this);
            edit->SetFieldEnabled(def.EnabledIn & modeBit);
            control = edit;
        } else {
            auto* combo = new TParamCombo(this);
            for (const std::string& item : def.Items)
                combo->addItem(QString::fromStdString(item));
            combo->SetFieldEnabled(def.EnabledIn & modeBit);
            control = combo;
        }
        control->setObjectName(controlName);
        const int row = def.Row >= 0 ? def.Row : nextRow;
        nextRow = row + 1;
        const int gridRow = firstRow + row;
        if (def.Conv && def.Conv->UpDown) {
            // udTune beside edtTune, sharing its grid cell.
            auto* cell = new QHBoxLayout;
            cell->setSpacing(0);
            cell->addWidget(control);
            auto* updown = new TUpDown(static_cast<TParamEdit*>(control), this);
            updown->setObjectName("ud" + controlName.mid(3));
            cell->addWidget(updown);
            grid->addLayout(cell, gridRow, def.Column);
        } else {
            grid->addWidget(control, gridRow, def.Column);
        }
        if (def.Label) {
            // pnlBand beside cmbBand: the panel is named after its field.
            auto* panel = Panel("pnl" + controlName.mid(3), def.Label, this);
            panel->setBuddy(control);  // Alt + the accelerator focuses the field
            // The form's width, or what the caption needs in a larger font.
            panel->setFixedWidth(std::max(form.LabelWidth, panel->sizeHint().width()));
            grid->addWidget(panel, gridRow, def.Column - 1);
            rowCaption[gridRow] = Spoken(def.Label);
        }
        ++fieldsInRow[gridRow];
        FFields.push_back({std::move(def), control, {}, gridRow});
    }
    for (const TField& field : FFields) {
        QString name = rowCaption[field.GridRow];
        const size_t heading = static_cast<size_t>(field.Def.Column - 1);
        if (fieldsInRow[field.GridRow] > 1 && heading < form.Headings.size())
            name += ", " + Spoken(form.Headings[heading]);
        NameForReaders(field.Control, name);
    }

    auto* ok = Button("btnOK", "OK", this);
    auto* cancel = Button("btnCancel", "Cancel", this);
    connect(ok, &QPushButton::clicked, this, &TParamDialog::OkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    FHint1 = Panel("pnlHint1", "", this);
    // Wide enough for the longer of the hints it shows.
    int hintWidth = 60;
    FHint2 = Panel("pnlHint2", "", this);
    for (const char* hint : {"<ENTER>", "<SELECT>"}) {
        FHint2->setText(hint);
        hintWidth = std::max(hintWidth, FHint2->sizeHint().width());
    }
    const int hintHeight = std::max(16, FHint2->sizeHint().height());
    FHint1->setFixedHeight(hintHeight);
    FHint2->setText(form.FirstHint);
    FHint2->setFixedSize(hintWidth, hintHeight);
    auto* hints = new QHBoxLayout;
    hints->setSpacing(0);
    hints->addWidget(FHint1, 1);
    hints->addWidget(FHint2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 0, 0);
    layout->addLayout(grid);
    layout->addStretch();
    buttons->setContentsMargins(0, 0, 8, 0);
    layout->addLayout(buttons);
    layout->addLayout(hints);

    FixDesignedSize(*this, {form.Width, form.Height});

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { ControlEntered(now); });
}

TParamEdit* TParamDialog::Edit(const char* name) const
{
    return findChild<TParamEdit*>(name);
}

TParamCombo* TParamDialog::Combo(const char* name) const
{
    return findChild<TParamCombo*>(name);
}

bool TParamDialog::RunModal(bool& modified)
{
    if (exec() != QDialog::Accepted)
        return false;
    if (FChanged)
        modified = true;
    return true;
}

void TParamDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FLoaded)
        return;
    FLoaded = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    Load();
}

void TParamDialog::Load()
{
    Backup = Doc;
    for (const TField& field : FFields) {
        const TBinding& b = field.Def.Binding;
        if (auto* combo = qobject_cast<TParamCombo*>(field.Control)) {
            combo->setCurrentIndex(ItemIndex(field.Def, static_cast<int>(b.GetNumber(Doc))));
            continue;
        }
        auto* edit = static_cast<TParamEdit*>(field.Control);
        if (edit->Conv().IsText()) {
            edit->ShowText(QString::fromStdString(b.GetText(Doc)));
            continue;
        }
        edit->ShowStored(b.GetNumber(Doc));
        if (field.Def.NormaliseOnLoad)
            edit->Normalise();
    }
    Loaded();
    for (TField& field : FFields)
        field.Loaded = Shown(field.Control);
}

bool TParamDialog::ReadOnly() const
{
    // A dialog without a field table (the alpha tags) edits through its own control.
    return !FFields.empty() && std::none_of(FFields.begin(), FFields.end(), [](const TField& field) {
        return field.Control->isEnabled();
    });
}

QString TParamDialog::Shown(const QWidget* control)
{
    if (const auto* combo = qobject_cast<const TParamCombo*>(control))
        return QString::number(combo->currentIndex());
    return static_cast<const TParamEdit*>(control)->text();
}

void TParamDialog::Store(const TField& field)
{
    // Storing what a field shows would rewrite the document with what
    // loading made of its value (a serial number saved with zero bytes
    // after it would come back padded with blanks, a stored value outside
    // the range clamped). So a field the mode keeps closed is stored only
    // when the dialog's own rules changed it (the IF of a new band), and an
    // open text field only when its text is no longer the one loading
    // showed (typing undone with Esc, or the same text typed again, keeps
    // the stored bytes).
    if (!field.Control->isEnabled() && Shown(field.Control) == field.Loaded)
        return;
    auto* edit = qobject_cast<TParamEdit*>(field.Control);
    if (edit && edit->Conv().IsText()) {
        const auto committed = [edit](const QString& text) { return CommitText(edit->Conv(), text.toStdString()); };
        if (committed(edit->text()) == committed(field.Loaded))
            return;
    }
    const TBinding& b = field.Def.Binding;
    if (auto* combo = qobject_cast<TParamCombo*>(field.Control)) {
        const int index = std::max(0, combo->currentIndex());
        b.SetNumber(Doc, field.Def.Values.empty() ? index : field.Def.Values.at(index));
        return;
    }
    if (edit->Conv().IsText())
        b.SetText(Doc, edit->text().toStdString());
    else
        b.SetNumber(Doc, StoreValue(edit->Conv(), edit->Value()));
}

bool TParamDialog::Differs(const TField& field) const
{
    const TBinding& b = field.Def.Binding;
    if (b.GetText)
        return b.GetText(Doc) != b.GetText(Backup);
    return b.GetNumber(Doc) != b.GetNumber(Backup);
}

void TParamDialog::StoreFields()
{
    // The edit being typed into is committed first, so what is stored is
    // what is shown: 9.999 typed into an MHz field stores the 10.00 it
    // commits to.
    for (const TField& field : FFields)
        if (auto* edit = qobject_cast<TParamEdit*>(field.Control); edit && edit->EditMode())
            edit->Commit();
    for (const TField& field : FFields)
        Store(field);
}

void TParamDialog::OkClicked()
{
    if (!CanAccept())
        return;
    // A read-only view closes with OK and touches nothing, not even what
    // the dialog's own rules would derive from its fields.
    if (ReadOnly()) {
        accept();
        return;
    }
    StoreFields();
    Stored();
    FChanged = OwnChanges() || std::any_of(FFields.begin(), FFields.end(),
                                           [this](const TField& field) { return Differs(field); });
    accept();
}

void TParamDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (HelpContents)
            HelpContents(this);
        event->accept();
        return;
    }
    if (EnterPressesFocusedButton(this, event))
        return;
    // Esc reaches here only when no field is being edited: Cancel.
    QDialog::keyPressEvent(event);
}

void TParamDialog::ControlEntered(QWidget* control)
{
    if (!control || control->window() != this)
        return;
    FHint1->clear();
    if (qobject_cast<TParamEdit*>(control) || qobject_cast<QAbstractItemView*>(control))
        FHint2->setText("<ENTER>");
    else if (auto* button = qobject_cast<QAbstractButton*>(control); qobject_cast<QComboBox*>(control)
             || (button && button->isCheckable()))  // check boxes and toggle buttons
        FHint2->setText("<SELECT>");
    else
        FHint2->clear();
}
