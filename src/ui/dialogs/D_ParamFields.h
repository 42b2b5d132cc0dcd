#pragma once
#include "ui/dialogs/U_FieldConv.h"

#include <QComboBox>
#include <QLineEdit>

// The two kinds of typed controls of every parameter dialog, the alignment
// window and the multi-tone dialog.

// An edit field with the three display states. Idle it is read-only and
// shows the committed value with its unit; typing an accepted character or
// Enter or a double click puts it into editing; Enter, a double click or
// leaving it commits (format(parse(text))); Esc while editing puts back the
// text it had when it was entered or last committed. Esc while idle is left
// to the window, which closes.
class TParamEdit : public QLineEdit {
    Q_OBJECT
public:
    TParamEdit(const TFieldConv& conv, QWidget* parent = nullptr);

    const TFieldConv& Conv() const { return *FConv; }
    // A field whose rule depends on another control's choice changes it.
    void SetConv(const TFieldConv& conv) { FConv = &conv; }
    bool EditMode() const { return FEditMode; }
    QString SavedText() const { return FSavedText; }

    // Enabled fields are idle with the window colour; disabled ones can be
    // neither focused nor typed into and show the button face colour.
    void SetFieldEnabled(bool enabled);

    // The value the text stands for, in display units (parse).
    double Value() const;
    // Shows a stored value as a committed field does, or a stored text as
    // it is; either way the field is not yet edited.
    void ShowStored(double stored);
    void ShowText(const QString& text);
    // Shows the text as committed, without telling anyone.
    void Normalise();
    // Leaves editing and shows the committed text; tells `Committed`.
    void Commit();
    // The value one step up (+1) or down (-1), within the range, shown as
    // the field shows it now; idle, that is a commit.
    void StepBy(int delta);

signals:
    void Committed();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Repaint();
    void SetEditing(bool on);
    void BeginEditing();
    void ToggleEditMode();
    bool CanInsert() const;

    const TFieldConv* FConv;
    bool FEditMode = false;
    bool FCtrlDown = false;
    bool FRepainting = false;
    QString FSavedText;
};

// The arrow buttons beside a stepping field. They never take the focus
// and follow the field's enabled state: a read-only view cannot be stepped.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(TParamEdit* associate, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TParamEdit* FAssociate;
};

// A drop-down list whose Enter opens and closes the list instead of
// reaching the dialog's buttons.
class TParamCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void SetFieldEnabled(bool enabled);
    bool ListOpen() const;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Repaint();
    bool FRepainting = false;
};

// What a screen reader announces for a field: `name`, the caption of its
// label ("Tx Power High, Lowest" in a row of like fields), and as the
// description the name with the value as shown, following every change;
// the value itself is the control's own.
void NameForReaders(QWidget* control, const QString& name);

// Enter in a dialog presses the button that has the focus and no other:
// fields and lists take it for themselves. True when the key was Enter.
bool EnterPressesFocusedButton(QWidget* dialog, QKeyEvent* event);

// Whether a focus change is the person moving between controls rather than
// the window losing or regaining activation or a popup coming and going.
bool IsControlFocusChange(const QFocusEvent* event);
