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

// What a dialog's form looks like around its fields.
struct TDialogForm {
    const char* Caption;
    int Width;   // client area
    int Height;
    const char* FirstHint = "<SELECT>";  // pnlHint2 before any control is entered
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
    // After every field is stored on OK, before the dialog closes.
    virtual void Stored() {}

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
    };

    void Load();
    static QString Shown(const QWidget* control);
    void Store(const TField& field);
    bool Differs(const TField& field) const;
    void OkClicked();
    void ControlEntered(QWidget* control);

    std::vector<TField> FFields;
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
