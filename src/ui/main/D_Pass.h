#pragma once
#include <QDialog>

class QLineEdit;

// Asks for the manufacture password. It never judges the text; the main
// window does.
class TfrmPass : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPass(QWidget* parent = nullptr);
    QString Text;  // the typed text, copied when the dialog closes

    static constexpr const char* Prompt = "&Password:";

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* FEdit;
};
