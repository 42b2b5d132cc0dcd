#pragma once
#include <QDialog>

// The program's name, version and where it keeps its files.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    TfrmAbout(const QString& programFolder, bool portable, QWidget* parent = nullptr);

    // "1.2.0.0" gives "1.02"; a text without a major and a minor field gives
    // an empty version.
    static QString VersionText(const QString& fileVersion);
};
