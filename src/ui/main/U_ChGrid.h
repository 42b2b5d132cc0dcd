#pragma once
#include "dc_RKmem.h"

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
    static constexpr int ColCount = 28;
    static constexpr int RowCount = ChannelCount + 2;
    static constexpr int HeaderRows = 2;
    static constexpr int ItemCount = 23;
    static constexpr int FirstTxColumn = 16;

    enum TEditKind { ekNone = 0, ekList = 2, ekDialog = 3, ekLevel = 13, ekFreq = 52 };
    enum TDialogList { dlCtcss = 101, dlDcs = 102, dlMultiTone = 103 };

    struct TColumnDef {
        const char* Header0;
        const char* Header1;
        int Width;
        int EditKind;
        int Param;       // value list, dialog list code or maximum text length
        int List;        // the value list the cell text comes from, -1 for none
        int TChannel::*Field;  // the channel field shown through List
    };
    struct TItemDef {
        const char* Name;      // as in View > Items
        int ColumnCount;
        std::array<int, 3> Columns;
        const char* Panel;     // group panel over header row 0, or null
    };
    static const std::array<TColumnDef, ColCount> ColumnTable;
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
    QColor TextColor(int row, int column) const;
    Qt::Alignment TextAlignment(int column) const;
    static bool IsHeaderCell(int row, int column) { return row < HeaderRows || column == 0; }
    static int RowOf(int channel) { return channel + HeaderRows; }

    static QString FrequencyText(int chStep, double mhz);
    static bool ChannelUsed(const TChannel& channel) { return channel.Used != 0; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillToneCells(int row, int ctcssColumn, int isDcs, int code);
    void StoreTone(int row, int ctcssColumn, int& isDcs, int& code, int& used) const;
    void FillTxSide(int row, const TChannel& channel);
    void PlaceGroupPanels();

    TChannels* FChannels = nullptr;
    const TRKmem* FDocument = nullptr;
    std::array<int, ItemCount> FVisible;
    std::array<QLabel*, ItemCount> FPanels {};
};
