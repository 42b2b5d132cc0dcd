#include "support/Documents.h"
#include "model/U_Fields.h"

TRKmem DefaultDocument()
{
    TRKmem doc;
    TMap54::SetDefaults(doc);
    return doc;
}

TRKmem RichDocument(int variant)
{
    TRKmem doc = DefaultDocument();
    doc.SerialNo = variant == 0 ? "1234567" : "7654321";
    doc.MarketCode = 'U';
    doc.CwIdText = variant == 0 ? "RK54" : "TEST";
    for (int i = 0; i < ChannelCount; ++i) {
        TChannel& ch = doc.Channels[i];
        ch.Used = (i + variant) % 3 != 2;
        ch.Bandwidth = (i + variant) % 2;
        ch.RxFreq.SetFromFloat(150.0 + i * 0.125 + variant);
        ch.TxFreq.SetFromFloat(155.0 + i * 0.25 + variant);
        ch.DecoderCode[0] = (i * 3 + variant) % 48;
        ch.NsqLevel = 10 + i + variant;
    }
    for (int t = 0; t < AlphaTagCount; t += 5) {
        doc.AlphaTagNumber[t] = (t + variant) % 16;
        doc.AlphaTagText[t] = "TAG" + std::to_string(t + variant);
    }
    return doc;
}

TMap54 ImageOf(const TRKmem& doc)
{
    TMap54 image;
    image.Encode(doc);
    return image;
}

std::string DocumentDifferences(const TRKmem& a, const TRKmem& b)
{
    std::string out;
    for (const TFieldDifference& d : FieldDifferences(a, b))
        out += d.Name + ": " + d.A + " | " + d.B + "\n";
    return out;
}
