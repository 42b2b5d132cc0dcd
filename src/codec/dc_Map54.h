#pragma once
#include "codec/dc_Map.h"
#include "model/dc_RKmem.h"

#include <optional>
#include <stdexcept>

// Raised when an image field that must hold a number holds none (empty BCD
// in a channel frequency or in the Tx power display bytes).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Addresses of the image that other parts of the program name.
namespace Image54 {
constexpr int StartMarker = 0;
constexpr int ChecksumA = 207;
constexpr int ChannelBase = 208;
constexpr int ChannelRecordSize = 48;
constexpr int AlphaTagBase = 976;
constexpr int AlphaTagRecordSize = 10;
constexpr int ChecksumB = 1456;
constexpr int EndMarker = 1985;
constexpr uint8_t Marker = 0x5A;
// The clone transfer moves the common parameters in two blocks: up to here,
// and from here through checksum A.
constexpr int CommonSplit = 80;

// A memory area of the clone transfer: its commands (the high nibble names
// the area, the low nibble is 1 to write and 2 to read), its blocks and
// where block `index` lies in the image. Together the areas cover the part
// the transfer moves, each byte once.
struct TCloneArea {
    uint8_t ReadCommand;
    uint8_t WriteCommand;
    int Blocks;
    int FirstIndex;    // of a read; single-block areas write index 0xFF
    int DataBytes;
    int ImageOffset;   // of the first block
    constexpr int Offset(int index) const { return ImageOffset + DataBytes * (index - FirstIndex); }
    constexpr int End() const { return ImageOffset + DataBytes * Blocks; }
    constexpr uint8_t Length() const { return uint8_t(DataBytes + 2); }
};
constexpr TCloneArea CloneAreas[] = {
    {0x12, 0x11, 1, 0, CommonSplit - StartMarker, StartMarker},
    {0x22, 0x21, 1, 0, ChannelBase - CommonSplit, CommonSplit},
    {0x42, 0x41, ChannelCount, 0, ChannelRecordSize, ChannelBase},
    {0x62, 0x61, AlphaTagCount, 1, AlphaTagRecordSize, AlphaTagBase},
};
static_assert(CloneAreas[0].End() == CloneAreas[1].ImageOffset && CloneAreas[1].End() == CloneAreas[2].ImageOffset
                  && CloneAreas[2].End() == CloneAreas[3].ImageOffset && CloneAreas[3].End() == CloneSize,
              "the clone areas cover the transferred part of the image without gap or overlap");

// Where the values of one alignment point lie. The four points sit side by
// side with "Lowest" (0) last, so a point's byte is at Base - Stride * point.
// The codec and the alignment link read this one table.
struct TAlignPointAddresses {
    int RxAdjFreq;  // two bytes of BCD, 100 kHz units
    int SqlThreshold;
    int RxTuning;
    int TxAdjFreq;  // two bytes of BCD, 100 kHz units
    int TxPowerHigh;
    int TxPowerLow;
    int MaxDevWide;
    int MaxDevNarrow;
    int CtcssDevWide;
    int CtcssDevNarrow;
    int DcsDevWide;
    int DcsDevNarrow;
};
TAlignPointAddresses AlignPointAddresses(int point);
// Common to every point.
constexpr int SqlNarrowOffset = 14;
constexpr int SqlHysteresis = 15;
}

// The repeater's clone image with the document codec: Encode writes a
// document into the image (keeping every byte no field covers), Decode
// fills a document from it.
class TMap54 : public TMap {
public:
    TMap54();  // the new-image pattern: markers, 0x01 block, zeros elsewhere

    bool Encode(const TRKmem& doc);
    // Returns true or raises EConvertError; never reads outside the image.
    bool Decode(TRKmem& doc) const;

    static void SetDefaults(TRKmem& doc);
    static void SetBandDefaults(TRKmem& doc, int band);
    // Default intermediate frequency of a band, in 10 kHz units.
    static int DefaultIfFreq(int band);
};

// What a change of band did to the document.
enum class TBandChange {
    Kept,     // the document was on that band already; nothing changed
    Changed,  // band, IF and the band's defaults: a held copy of the channels is out of date
};

// A change of band, as the Hardware dialog's OK and `rk54 new --band` make
// it: the band, its IF (the band's own, unless `ifFreq` is the one the
// person settled on) and the band's defaults for every channel's
// frequencies and squelch level and for the alignment values.
TBandChange ChangeBand(TRKmem& doc, int band, std::optional<int> ifFreq = std::nullopt);
