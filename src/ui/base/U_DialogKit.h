#pragma once
class QBoxLayout;
class QDialog;
class QSize;
class QWidget;

// What the program's small dialogs have in common.

// A right-aligned row with "OK" (btnOK, the default button, accepts) and,
// when asked, "Cancel" (btnCancel, rejects), appended to `layout`.
void AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, bool withCancel = true);

// Fixes a window's or a control's size at the size it was designed with, or
// at what its contents need when that is more (the font it was designed for
// is missing and a wider one stands in, or the desktop's font is larger):
// nothing is clipped. Call it once the contents are laid out.
void FixDesignedSize(QWidget& widget, const QSize& designed);

// F1 in the dialog opens the help's table of contents.
void AddHelpKey(QDialog& dialog);

// Moves `window` so that it stands centred over `over` (its frame), or on
// the screen when `over` is null or hidden, and wholly on that screen.
void CentreOver(QWidget& window, const QWidget* over);
