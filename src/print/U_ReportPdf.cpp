#include "print/U_ReportPdf.h"

#include <cstdio>

namespace {

// Page sizes in points (1/72 inch).
struct TPageSize {
    double Width;
    double Height;
};
TPageSize PageSizeOf(TPaperType paper)
{
    return paper == PaperLetter ? TPageSize {612, 792} : TPageSize {595.28, 841.89};
}

// A printer draws from the edge of its printable area; a quarter inch is
// the usual one, so the PDF page looks like the printed page.
constexpr double EdgeX = 18;
constexpr double EdgeY = 18;
constexpr double FontSize = 10;
constexpr double LineHeight = 10;  // 10 points at any resolution
// Lines are placed by the top of their character cell; the baseline of a
// 10-point fixed font lies 8 points below it.
constexpr double Baseline = 8;

// The report's text is UTF-8; the standard font speaks the Windows ANSI
// code page. Characters it does not have become '?'.
std::string ToWinAnsi(const std::string& utf8)
{
    static const struct {
        char32_t Code;
        unsigned char Byte;
    } Extra[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
        {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
        {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
        {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
        {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
    };
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > utf8.size()) {
            out += '?';  // not UTF-8: a stray byte
            ++i;
            continue;
        }
        char32_t code = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
            continue;
        }
        char byte = '?';
        for (const auto& e : Extra)
            if (e.Code == code)
                byte = static_cast<char>(e.Byte);
        out += byte;
    }
    return out;
}

// A PDF literal string: brackets and backslashes escaped, control and
// 8-bit bytes as octal so the file stays plain ASCII.
std::string Literal(const std::string& bytes)
{
    std::string out = "(";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        } else {
            out += ch;
        }
    }
    return out + ")";
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

class TPdf {
public:
    // Objects are numbered from 1 in the order they are added.
    int Add(const std::string& body)
    {
        Offsets.push_back(Out.size());
        Out += std::to_string(Offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
        return static_cast<int>(Offsets.size());
    }
    int AddStream(const std::string& data)
    {
        return Add("<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream");
    }
    // Reserves a number for an object written later (the page tree).
    int Reserve()
    {
        Offsets.push_back(0);
        return static_cast<int>(Offsets.size());
    }
    void Fill(int object, const std::string& body)
    {
        Offsets[object - 1] = Out.size();
        Out += std::to_string(object) + " 0 obj\n" + body + "\nendobj\n";
    }
    std::string Finish(int root)
    {
        const std::size_t xref = Out.size();
        Out += "xref\n0 " + std::to_string(Offsets.size() + 1) + "\n0000000000 65535 f \n";
        for (const std::size_t offset : Offsets) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            Out += entry;
        }
        Out += "trailer\n<< /Size " + std::to_string(Offsets.size() + 1) + " /Root " + std::to_string(root)
            + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(Out);
    }

private:
    std::string Out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> Offsets;
};

std::string PageContent(const TReportPage& page, const TPageSize& size)
{
    std::string content = "BT\n/F1 " + Number(FontSize) + " Tf\n";
    for (const TReportLine& line : page.Lines) {
        const double y = size.Height - EdgeY - line.Line * LineHeight - Baseline;
        content += "1 0 0 1 " + Number(EdgeX) + " " + Number(y) + " Tm " + Literal(ToWinAnsi(DrawnLine(line)))
            + " Tj\n";
    }
    return content + "ET";
}

} // namespace

std::string ReportPdf(const std::vector<TReportPage>& pages, TPaperType paper)
{
    const TPageSize size = PageSizeOf(paper);
    TPdf pdf;
    const int catalog = pdf.Reserve();
    const int tree = pdf.Reserve();
    const int font = pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    std::string kids;
    for (const TReportPage& page : pages) {
        const int content = pdf.AddStream(PageContent(page, size));
        const int object = pdf.Add("<< /Type /Page /Parent " + std::to_string(tree) + " 0 R /MediaBox [0 0 "
                                   + Number(size.Width) + " " + Number(size.Height) + "] /Resources << /Font << /F1 "
                                   + std::to_string(font) + " 0 R >> >> /Contents " + std::to_string(content)
                                   + " 0 R >>");
        kids += (kids.empty() ? "" : " ") + std::to_string(object) + " 0 R";
    }
    pdf.Fill(tree, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    pdf.Fill(catalog, "<< /Type /Catalog /Pages " + std::to_string(tree) + " 0 R >>");
    return pdf.Finish(catalog);
}
