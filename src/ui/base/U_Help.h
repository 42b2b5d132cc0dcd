#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

// The program's help: two sets of HTML pages compiled in as resources, the
// user's set in Normal mode and the service set in the other modes. Every
// window and dialog opens help through these functions.
enum class THelpSet { Normal, Service };
enum class THelpAction { DefaultTopic, Contents, Index };

void SetHelpSet(THelpSet set);
THelpSet CurrentHelpSet();

// Opens (or raises) the help window at the page the action names.
void OpenHelp(THelpAction action);
// Opens a page of the current set by its file name, e.g. "transfers.html".
void OpenHelpTopic(const QString& page);

// Resource path of a page of the current set.
QString HelpPagePath(const QString& page);

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    void ShowPage(const QString& page);
    QTextBrowser* Browser() const { return FBrowser; }
    QString CurrentPage() const;

    // The one help window of the program, or null before the first use.
    static THelpWindow* Instance();

private:
    QTextBrowser* FBrowser;
};
