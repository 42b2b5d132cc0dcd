#include "ui/dialogs/D_ParamFields.h"

#include "ui/base/U_Contrast.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The system colours of the three states, taken from the current palette
// by role: window, tooltip or button face behind the text the palette pairs
// with each. A disabled field keeps that text rather than the theme's grey
// for disabled text, which on button face cannot be read; the face itself
// says the field is closed.
void Paint(QWidget* w, QPalette::ColorRole back, QPalette::ColorRole text)
{
    const QPalette system = QApplication::palette();
    const QColor backColour = system.color(QPalette::Active, back);
    const QColor textColour = ReadableOn(backColour, system.color(QPalette::Active, text));
    QPalette palette = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, backColour);
        palette.setColor(group, QPalette::Text, textColour);
    }
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, textColour);  // a closed list's item
    w->setPalette(palette);
}

// Disabled by the mode, being typed into, or idle.
void PaintState(QWidget* w, bool editing)
{
    if (!w->isEnabled())
        Paint(w, QPalette::Button, QPalette::ButtonText);
    else if (editing)
        Paint(w, QPalette::ToolTipBase, QPalette::ToolTipText);
    else
        Paint(w, QPalette::Base, QPalette::Text);
}

} // namespace

void NameForReaders(QWidget* control, const QString& name)
{
    control->setAccessibleName(name);
    const auto describe = [control, name](const QString& shown) {
        control->setAccessibleDescription(name + ", " + shown);
    };
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        describe(edit->text());
        QObject::connect(edit, &QLineEdit::textChanged, control, describe);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        describe(combo->currentText());
        QObject::connect(combo, &QComboBox::currentTextChanged, control, describe);
    }
}


bool EnterPressesFocusedButton(QWidget* dialog, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto* button = qobject_cast<QPushButton*>(dialog->focusWidget()))
        button->click();
    event->accept();
    return true;
}

bool IsControlFocusChange(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

TParamEdit::TParamEdit(const TFieldConv& conv, QWidget* parent) : QLineEdit(parent), FConv(&conv)
{
    // Everything that reaches the text goes through the typing filter:
    // no paste from a menu, no dropped text, no input method composing.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SetEditing(false);
}

void TParamEdit::SetFieldEnabled(bool enabled)
{
    setEnabled(enabled);
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (enabled)
        SetEditing(false);
    else
        Repaint();
}

void TParamEdit::Repaint()
{
    const QScopedValueRollback guard(FRepainting, true);
    PaintState(this, FEditMode);
}

void TParamEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // The system palette changed (a theme switched while the dialog is
    // open): take the state's colours again. Our own setPalette comes
    // back here too, and changes nothing the second time.
    if (event->type() == QEvent::PaletteChange && !FRepainting)
        Repaint();
}

double TParamEdit::Value() const
{
    return ParseValue(*FConv, text().toStdString());
}

void TParamEdit::ShowStored(double stored)
{
    ShowText(QString::fromStdString(StoredText(*FConv, stored)));
}

void TParamEdit::ShowText(const QString& text)
{
    setText(text);
}

void TParamEdit::Normalise()
{
    setText(QString::fromStdString(CommitText(*FConv, text().toStdString())));
}

void TParamEdit::Commit()
{
    SetEditing(false);
    setText(QString::fromStdString(CommitText(*FConv, text().toStdString())));
    deselect();
    FSavedText = text();
    emit Committed();
}

void TParamEdit::StepBy(int delta)
{
    const double value = std::clamp(std::round(Value()) + delta, FConv->Min, FConv->Max);
    if (FEditMode) {
        setText(QString::fromStdString(ShortText(value)));
        return;
    }
    setText(QString::fromStdString(FormatValue(*FConv, value)));
    FSavedText = text();
    emit Committed();
}

void TParamEdit::SetEditing(bool on)
{
    FEditMode = on;
    setReadOnly(!on);
    if (isEnabled())
        Repaint();
}

void TParamEdit::BeginEditing()
{
    // Idle, the field shows its committed text: that is what Esc brings
    // back, however the field got the focus (a dialog's first field gets it
    // from the window opening, not from the person).
    FSavedText = text();
    SetEditing(true);
}

void TParamEdit::ToggleEditMode()
{
    if (FEditMode) {
        Commit();
        return;
    }
    BeginEditing();
    setText(QString::fromStdString(BareText(*FConv, text().toStdString())));
    selectAll();
}

bool TParamEdit::CanInsert() const
{
    return FConv->MaxLength <= 0 || text().size() - selectedText().size() < FConv->MaxLength;
}

void TParamEdit::keyPressEvent(QKeyEvent* event)
{
    FCtrlDown = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    // With Ctrl held only the caret moves: Ctrl+V, Ctrl+X, Ctrl+Z and the
    // like would put unfiltered text into the field. Shift+Insert pastes too.
    const bool caretKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home
                          || key == Qt::Key_End;
    if ((FCtrlDown && !caretKey) || event->matches(QKeySequence::Paste)
        || event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)
        || event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Escape) {
        if (!FEditMode) {
            event->ignore();  // the window closes with Cancel
            return;
        }
        setText(FSavedText);
        SetEditing(false);
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ToggleEditMode();
        event->accept();
        return;
    }
    if (FConv->UpDown && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        StepBy(key == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed.size() != 1 || (!typed[0].isPrint() && typed[0] != QChar('\b'))) {
        QLineEdit::keyPressEvent(event);  // caret keys, Delete, F-keys
        return;
    }
    const char16_t code = typed[0].unicode();
    const char ch = code < 128 ? FilterChar(FConv->Class, static_cast<char>(code)) : 0;
    event->accept();
    if (!ch)
        return;
    if (!FEditMode) {
        BeginEditing();
        clear();
    }
    if (ch == '\b')
        backspace();
    else if (CanInsert())
        insert(QString(QChar(ch)));
}

void TParamEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    ToggleEditMode();
}

void TParamEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!IsControlFocusChange(event))
        return;
    SetEditing(false);
    FSavedText = text();
}

void TParamEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (IsControlFocusChange(event))
        Commit();
}

TUpDown::TUpDown(TParamEdit* associate, QWidget* parent) : QWidget(parent), FAssociate(associate)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const auto arrow = [&](const char* name, Qt::ArrowType type, int delta) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(type);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setFixedSize(15, 10);
        connect(button, &QToolButton::clicked, associate, [associate, delta] { associate->StepBy(delta); });
        column->addWidget(button);
    };
    arrow("btnUp", Qt::UpArrow, 1);
    arrow("btnDown", Qt::DownArrow, -1);
    setEnabled(associate->isEnabled());
    associate->installEventFilter(this);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FAssociate && event->type() == QEvent::EnabledChange)
        setEnabled(FAssociate->isEnabled());
    return QWidget::eventFilter(watched, event);
}

void TParamCombo::SetFieldEnabled(bool enabled)
{
    setEnabled(enabled);
    Repaint();
}

void TParamCombo::Repaint()
{
    const QScopedValueRollback guard(FRepainting, true);
    PaintState(this, false);
}

void TParamCombo::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    // The system palette changed (a theme switched while the dialog is
    // open): take the state's colours again. Our own setPalette comes
    // back here too, and changes nothing the second time.
    if (event->type() == QEvent::PaletteChange && !FRepainting)
        Repaint();
}

bool TParamCombo::ListOpen() const
{
    return view() && view()->isVisible();
}

void TParamCombo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (ListOpen())
            hidePopup();
        else
            showPopup();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}
