#pragma once
#include "files/U_History.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QPushButton;
class QTreeWidget;
class THost;
struct TRKmem;

// Radio > History...: the service history log, newest first, filtered by
// serial number. Open ends the dialog with the chosen image for the main
// window to open as a document; Compare shows, without leaving, how the
// chosen image differs from the open document.
class TfrmHistory : public QDialog {
    Q_OBJECT
public:
    TfrmHistory(const THistory& history, const TRKmem& current, THost& host, QWidget* parent = nullptr);

    // The archived image to open, after Open.
    QString ChosenImage() const { return FChosen; }
    QTreeWidget* List() const { return FList; }

private:
    void Fill();
    const THistoryEntry* Selected() const;
    void Open();
    void Compare();

    const THistory& FHistory;
    const TRKmem& FCurrent;
    THost& FHost;
    std::vector<THistoryEntry> FEntries;
    QString FChosen;
    QComboBox* FSerial;
    QTreeWidget* FList;
    QPushButton* FOpen;
    QPushButton* FCompare;
};
