#include "support/StoredImages.h"
#include "codec/dc_Map54.h"
#include "support/Documents.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Bytes(const TMap& map)
{
    return {map.Data(), map.Data() + ImageSize};
}

// Record offset of channel i.
int Ch(int i) { return 208 + 48 * i; }

} // namespace

// Stored documents (the corpus, whose decode is held byte for byte by the
// corpus test) encoded over the new document's image give back their bytes:
// every field they set is written where and as the layout has it. Not
// theirs: bytes no field covers and the firmware version, which a save
// never writes, and the name's zero padding, which reads back as blanks.
TEST(TMap54, StoredDocumentsEncodeToTheirBytes)
{
    const std::vector<uint8_t> base = StoredFile("new-vhf.R54");
    for (const char* name : {"full.R54", "wide-usa.R54", "new-uhf.R54"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> expected = StoredFile(name);
        ASSERT_EQ(expected.size(), size_t(ImageSize));
        TMap54 image;
        std::copy(expected.begin(), expected.end(), image.Data());
        TRKmem doc;
        image.Decode(doc);
        std::copy(base.begin(), base.end(), image.Data());
        image.Encode(doc);

        for (int a : {23, 205, 206, 1460})
            expected[size_t(a)] = base[size_t(a)];
        for (int a = 112; a < 120; ++a)
            expected[size_t(a)] = expected[size_t(a)] ? expected[size_t(a)] : ' ';
        StoreChecksums(expected);
        EXPECT_EQ(Bytes(image), expected);
    }
}

// Values a decode never gives, as the dialogs and the grid can set them.
TEST(TMap54, EncodingValuesNoImageHolds)
{
    TRKmem doc = DefaultDocument();
    doc.Channels[0].RxFreq.SetFromFloat(146.00625);  // the image holds whole kHz
    doc.Channels[1].TxInhibit = 1;            // a decode marks it -1
    doc.DataFileName = "TEST.R54";
    doc.AlphaTagNumber[0] = 7;
    doc.AlphaTagText[0] = "AB";
    doc.AlphaTagNumber[1] = 1234;
    doc.AlphaTagText[1] = "ABCDEFGHIJ";
    doc.TxPowerDisplayHigh = 150;  // only its first two digits fit
    doc.AniCode = "1a";
    doc.SerialNo = "AB";

    TMap54 map;
    map.Encode(doc);
    const auto at = [&](int a, std::initializer_list<int> expected) {
        int k = 0;
        for (int e : expected)
            EXPECT_EQ(map[a + k++], e) << "address " << a + k - 1;
    };
    at(Ch(0) + 10, {0x14, 0x60, 0x06});
    at(Ch(1), {0x82, 0xC0});  // empty channel 2, inhibited, wide
    at(112, {'T', 'E', 'S', 'T', 0, 0, 0, 0, 'r', 'p', 't'});
    at(976, {0x00, 0x07, 'A', 'B', ' ', ' ', ' ', ' ', ' ', ' '});
    at(986, {0x12, 0x34, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    at(20, {0x15});
    at(188, {0x01, 0x00, 0x00, 0x00});
    at(72, {'A', 'B', 0, 0, 0, 0, 0, 0});
}

TEST(TMap54, EncodingKeepsWhatNoFieldCovers)
{
    // Start from an image full of noise, as a repeater might send it.
    TMap54 map;
    uint32_t seed = 12345;
    for (int a = 0; a < ImageSize; ++a) {
        seed = seed * 1103515245 + 12345;
        map[a] = static_cast<uint8_t>(seed >> 16);
    }
    const TMap54 before = map;
    TRKmem doc = DefaultDocument();
    doc.Channels[3].TxLockout = 7;  // outside the list: leaves both bits
    doc.Channels[4].Used = 2;       // neither used nor empty: leaves the bit
    map.Encode(doc);

    for (int a : {0, 23, 94, 95, 192, 193, 194, 195, 200, 201, 202, 203, 205, 206})
        EXPECT_EQ(map[a], before[a]) << "address " << a;
    for (int a = 1457; a < ImageSize; ++a)
        ASSERT_EQ(map[a], before[a]) << "address " << a;
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(map[34 + 10 * p], before[34 + 10 * p]);
        EXPECT_EQ(map[35 + 10 * p], before[35 + 10 * p]);
    }
    EXPECT_EQ(map[81] & 0x02, before[81] & 0x02);
    EXPECT_EQ(map[93] & 0x01, before[93] & 0x01);
    for (int i = 0; i < 16; ++i) {
        const int r = Ch(i);
        EXPECT_EQ(map[r + 2] & 0x02, before[r + 2] & 0x02);
        EXPECT_EQ(map[r + 3] & 0x06, before[r + 3] & 0x06);
        EXPECT_EQ(map[r + 4] & 0x1F, before[r + 4] & 0x1F);
        EXPECT_EQ(map[r + 8], before[r + 8]);
        EXPECT_EQ(map[r + 9], before[r + 9]);
    }
    EXPECT_EQ(map[Ch(3) + 2] & 0x30, before[Ch(3) + 2] & 0x30);
    EXPECT_EQ(map[Ch(4)] & 0x80, before[Ch(4)] & 0x80);

    TMap54 again = map;
    again.Encode(doc);
    EXPECT_EQ(Bytes(again), Bytes(map));
}

// What a decode gives is held byte for byte by the decode corpus
// (tests/corpus); here only the bytes that make it fail.
TEST(TMap54, DecodingFailsWhereADigitIsRequired)
{
    const TMap54 good = ImageOf(DefaultDocument());
    for (int address : {Ch(5) + 10, Ch(15) + 13, 20, 21}) {
        SCOPED_TRACE(address);
        TMap54 bad = good;
        bad[address] = 0xFF;
        if (address >= 208) {
            bad[address + 1] = 0xFF;
            bad[address + 2] = 0xFF;
        }
        TRKmem doc;
        EXPECT_THROW(bad.Decode(doc), EConvertError);
    }
}

// The band's values are held byte for byte by the UHF image; the change of
// band leaves the band itself, the IF and the used flags to the caller.
TEST(TMap54, BandDefaultsLeaveBandIfAndUsedFlags)
{
    TRKmem doc = DefaultDocument();
    doc.Channels[5].Used = 1;
    TMap54::SetBandDefaults(doc, 1);
    EXPECT_EQ(doc.Band, 0);
    EXPECT_EQ(doc.IfFreq, 2140);
    EXPECT_EQ(doc.Channels[5].Used, 1);
    EXPECT_EQ(doc.Channels[6].Used, 0);
}
