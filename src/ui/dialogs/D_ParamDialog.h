#pragma once
#include "ui/dialogs/D_ParamFields.h"
#include "model/U_Modes.h"
#include "model/U_Prompt.h"
#include "model/dc_RKmem.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;

// Where a field lives in the document, in the document's own units. Number
// fields use the first pair, text fields (and hex codes) the second.
struct TBinding {
    std::function<double(const TRKmem&)> GetNumber;
    std::function<void(TRKmem&, double)> SetNumber;
    std::function<std::string(const TRKmem&)> GetText;
    std::function<void(TRKmem&, const std::string&)> SetText;
};

TBinding Bind(int TRKmem::*member);
TBinding Bind(std::string TRKmem::*member);

template <size_t N>
TBinding Bind(std::array<int, N> TRKmem::*member, int index)
{
    return {[=](const TRKmem& d) { return double((d.*member)[index]); },
            [=](TRKmem& d, double v) { (d.*member)[index] = static_cast<int>(StoredInteger(v)); },
            {}, {}};
}

// An exact decimal is shown and stored as the number it stands for.
template <size_t N>
TBinding Bind(std::array<TDecimal, N> TRKmem::*member, int index)
{
    return {[=](const TRKmem& d) { return (d.*member)[index].ToFloat(); },
            [=](TRKmem& d, double v) { (d.*member)[index].SetFromFloat(v); }, {}, {}};
}

// The binding of the i-th field of a row of like fields: element i of an
// array, or the one field itself for a row of one.
using TRowBinding = std::function<TBinding(int index)>;
inline TRowBinding Each(int TRKmem::*member)
{
    return [=](int) { return Bind(member); };
}
template <class T, size_t N>
TRowBinding Each(std::array<T, N> TRKmem::*member)
{
    return [=](int index) { return Bind(member, index); };
}

// The program modes in which a field can be edited.
enum TEnabledIn : unsigned {
    InManufacture = 1u << Manufacture,
    InExtended = InManufacture | 1u << Extended,
    InEveryMode = InExtended | 1u << Normal,
};

// One row of a dialog's field table.
struct TFieldDef {
    const char* Name;                    // object name: edtIF, cmbBand
    const char* Label;                   // with its accelerator, "&IF"; null for none
    unsigned EnabledIn;
    TBinding Binding;
    const TFieldConv* Conv = nullptr;    // edit fields
    std::vector<std::string> Items {};   // combo fields, in order of stored value
    std::vector<int> Values {};          // stored value of each item when not its index
    // Most dialogs show a stored value outside the range clamped at once.
    bool NormaliseOnLoad = true;
    int Row = -1;                        // grid place of the control; -1: next row
    int Column = 1;                      // the label sits in the column before
};

TFieldDef EditField(const char* name, const char* label, unsigned enabledIn, TBinding binding,
                    const TFieldConv& conv);
TFieldDef ComboField(const char* name, const char* label, unsigned enabledIn, TBinding binding,
                     std::vector<std::string> items, std::vector<int> values = {});
// The items of a display value list, in order.
std::vector<std::string> RowItems(int displayRow);
// "0" ... "9", "A" ... "F": the sixteen code digits, in order of value.
std::vector<std::string> CodeDigitItems();

// A row of like edit fields side by side with one label for the row, as
// the alignment grids have them: "&Turning", edtTuneLowest ... edtTuneHighest,
// level, RxTuning 0 ... 3.
struct TFieldRow {
    const char* Label;
    std::vector<const char*> Names;
    const TFieldConv& Kind;
    TRowBinding Field;
};
// The fields of the rows, in tab order: row by row, left to right.
std::vector<TFieldDef> RowFields(const std::vector<TFieldRow>& rows, unsigned enabledIn,
                                 bool normaliseOnLoad);
// The column headings of the alignment grids, left to right.
inline const std::vector<const char*> AlignPointHeadings {" Lowest", " Low", " High", " Highest"};

// Lays fields out top to bottom in columns of `perColumn`, each with its
// label before it; the tab order stays the table's.
std::vector<TFieldDef> InColumns(std::vector<TFieldDef> fields, int perColumn);

// What a dialog's form looks like around its fields.
struct TDialogForm {
    const char* Caption;
    int Width;   // client area
    int Height;
    const char* FirstHint = "<SELECT>";  // pnlHint2 before any control is entered
    int LabelWidth = 150;
    // Headings above the field columns 1, 2, ...; the fields start below them.
    std::vector<const char*> Headings {};
};

// The parameter dialog pattern. A dialog passes the table of its fields and
// adds its own rules through the hooks; the pattern builds the label panels
// and controls, enables them by program mode, loads them from the document
// when shown (taking the copy that OK compares against), stores them on OK
// and tells whether any of them changed. Enter and Esc are served by the
// fields; neither button is a default or cancel button.
class TParamDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the help at its table of contents; the main window sets it.
    static std::function<void(QWidget* owner)> HelpContents;

    // OK found a field that differs from the copy taken when shown.
    bool Changed() const { return FChanged; }
    // The program mode opens none of the fields: OK stores nothing.
    bool ReadOnly() const;

    // Runs the dialog modally; on OK sets `modified` when a field changed
    // (never clears it). True when closed with OK.
    bool RunModal(bool& modified);

protected:
    TParamDialog(const TDialogForm& form, std::vector<TFieldDef> fields, TRKmem& doc,
                 TProgramMode mode, TPrompt& prompt, QWidget* parent);

    // After every field is loaded.
    virtual void Loaded() {}
    // First on OK: false keeps the dialog open.
    virtual bool CanAccept() { return true; }
    // After every field is stored on OK, before the changes are looked for:
    // what it stores is compared too.
    virtual void Stored() {}
    // Whether what the dialog stores beyond its field table differs from
    // the copy taken when shown.
    virtual bool OwnChanges() const { return false; }

    // Where the fields are laid out, for a dialog with a control of its own.
    QGridLayout* FieldLayout() const { return FGrid; }

    TParamEdit* Edit(const char* name) const;
    TParamCombo* Combo(const char* name) const;

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    TRKmem& Doc;
    TRKmem Backup;
    const TProgramMode Mode;
    TPrompt& Prompt;

private:
    struct TField {
        TFieldDef Def;
        QWidget* Control;
        QString Loaded;  // what the control showed once loaded
        int GridRow;
    };

    void Load();
    static QString Shown(const QWidget* control);
    void Store(const TField& field);
    bool Differs(const TField& field) const;
    void OkClicked();
    void ControlEntered(QWidget* control);

    std::vector<TField> FFields;
    QGridLayout* FGrid = nullptr;
    QLabel* FHint1 = nullptr;
    QLabel* FHint2 = nullptr;
    bool FLoaded = false;
    bool FChanged = false;
};

// Base of each dialog class: its menu command. A dialog whose command does
// more than run it declares its own Execute.
template <class TForm>
class TParamDialogOf : public TParamDialog {
public:
    static bool Execute(QWidget* parent, TRKmem& doc, TProgramMode mode, TPrompt& prompt, bool& modified)
    {
        TForm form(doc, mode, prompt, parent);
        return form.RunModal(modified);
    }

protected:
    using TParamDialog::TParamDialog;
};
