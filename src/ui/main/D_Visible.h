#pragma once
#include <QDialog>

#include <array>

class QCheckBox;
class TChGrid;

// Chooses which grid items are shown. Writes the grid's visible flags on OK.
class TfrmVisible : public QDialog {
    Q_OBJECT
public:
    static constexpr int ItemCount = 23;
    explicit TfrmVisible(TChGrid& grid, QWidget* parent = nullptr);
    void accept() override;

private:
    TChGrid& FGrid;
    std::array<QCheckBox*, ItemCount> FBoxes {};
};
