#pragma once
#include "model/U_ChannelRules.h"
#include "model/dc_RKmem.h"

#include <QColor>
#include <QTableWidget>

#include <array>

class QLabel;

// The channel grid: one row per channel, one column per channel property.
// Rows 0 and 1 are the two header rows and row = channel + 2; column 0 is
// the fixed column of channel numbers, kept frozen in the vertical header.
// The grid shows and stores the main window's working copy of the channels.
class TChGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int ColCount = GridColumnCount;
    static constexpr int RowCount = ChannelCount + 2;
    static constexpr int HeaderRows = 2;
    static constexpr int ItemCount = 23;
    struct TItemDef {
        const char* Name;      // as in View > Items
        int ColumnCount;
        std::array<int, 3> Columns;
        const char* Panel;     // group panel over header row 0, or null
    };
    static const std::array<TItemDef, ItemCount> ItemTable;

    explicit TChGrid(QWidget* parent = nullptr);

    // The working copy the grid shows and the document it belongs to (for
    // the channel step). Both outlive the grid.
    void SetSource(TChannels* channels, const TRKmem* document);

    void Fill();    // WorkChannels -> grid
    void Store();   // grid -> WorkChannels
    // Writes an open in-place editor into its cell. Returns false when the
    // editor's text cannot be taken.
    virtual bool CommitEditor();

    // Items are numbered 1..23 as ITEM1..ITEM23.
    bool ItemVisible(int item) const;
    void SetItemVisible(int item, bool visible);
    void LayoutColumns();
    QLabel* GroupPanel(int item) const;

    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    // All the cells of a row; setting leaves column 0 and unchanged cells.
    TRowTexts RowTexts(int row) const;
    void SetRowTexts(int row, const TRowTexts& texts);
    QColor TextColor(int row, int column) const;
    Qt::Alignment TextAlignment(int column) const;
    static bool IsHeaderCell(int row, int column) { return row < HeaderRows || column == 0; }
    static int RowOf(int channel) { return channel + HeaderRows; }

    static bool ChannelUsed(const TChannel& channel) { return channel.Used != 0; }

protected:
    TChannels* Channels() const { return FChannels; }
    const TRKmem* Doc() const { return FDocument; }

    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceGroupPanels();

    TChannels* FChannels = nullptr;
    const TRKmem* FDocument = nullptr;
    std::array<int, ItemCount> FVisible;
    std::array<QLabel*, ItemCount> FPanels {};
};
