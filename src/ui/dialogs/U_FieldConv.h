#pragma once
#include <optional>
#include <string>

// How a typed field of a parameter dialog turns text into a value and back.
// A field is described once by its conversion; the edit widget, the dialog's
// loading and its OK all go through these functions, so a rule such as "2.7
// minutes commits as 2.5" lives in exactly one place: the field's table row.

// Which characters can be typed into a field. Backspace is accepted by all.
enum class TEditClass { Digits, Decimal, Signed, Hex, Printable, Tag };

// How the text of a field is read.
enum class TReading {
    Unsigned,  // a non-negative integer, else the fallback
    Signed,    // an integer with optional sign, else the fallback
    Decimal,   // digits with '.' or ',' as the mark, else 0
    Hex,       // hexadecimal digits shown with leading zeros; stored as text
    Text,      // the text itself, through the field's text rule
};

struct TFieldConv {
    TEditClass Class = TEditClass::Digits;
    int MaxLength = 0;              // characters that can be typed
    TReading Reading = TReading::Unsigned;
    const char* Suffix = "";        // unit shown after the number, " MHz"
    double Min = 0;                 // range in display units
    double Max = 0;
    double Step = 0;                // rounded down to a multiple of it; 0 = none
    double Fallback = 0;            // what an unreadable integer becomes
    int Decimals = 0;               // digits after the mark when shown
    double Factor = 1;              // display units per stored unit
    // Text fields: what committing makes of the text; null keeps it as typed.
    std::string (*TextRule)(const std::string&) = nullptr;
    // Arrow buttons beside the field, and the Up and Down keys in it, step
    // the value by 1 within the range.
    bool UpDown = false;
    // One value outside the range that is kept as it is read.
    std::optional<double> Kept {};

    bool IsText() const { return Reading == TReading::Text || Reading == TReading::Hex; }
};

// The ANI and ENI codes: four hexadecimal digits, stored as text; a
// committed code shows all four with leading zeros.
extern const TFieldConv HexCodeField;

// The kinds of the stored alignment values: a frequency in MHz, a level
// 0 ... 255, a display level 0 ... 99 and a signed power offset; all but the
// frequency have arrows.
extern const TFieldConv AlignFreqField;
extern const TFieldConv LevelField;
extern const TFieldConv DisplayLevelField;
extern const TFieldConv PowerOffsetField;

// The character to insert for `ch` typed into a field of class `cls`
// (upper-cased where the class says so), or 0 when the class refuses it.
char FilterChar(TEditClass cls, char ch);

// The alphabet of alpha tags: upper case, codes 32 to 95 without ! " # $.
bool IsTagChar(char ch);

// Text to value in display units: unit removed, read, fallback, clamped,
// rounded down to the step.
double ParseValue(const TFieldConv& conv, const std::string& text);
// Value in display units to the text shown, with the unit.
std::string FormatValue(const TFieldConv& conv, double value);
// What a field shows once committed: format(parse(text)), or the text rule.
std::string CommitText(const TFieldConv& conv, const std::string& text);
// What a field shows when editing starts: the bare value without its unit.
std::string BareText(const TFieldConv& conv, const std::string& text);

// Stored units to display units and back; the text of a stored value.
double LoadValue(const TFieldConv& conv, double stored);
double StoreValue(const TFieldConv& conv, double value);
std::string StoredText(const TFieldConv& conv, double stored);

// A stored integer from a computed one. The shown value has at most the
// format's decimals, so 0.29 MHz is 29 units although 0.29 * 100 is
// 28.999...; only a real fraction is cut toward zero.
long long StoredInteger(double value);

// `value` with `decimals` digits after the mark, rounded half away from zero
// on the shortest decimal text of the value (9.999 gives 10.00, 1.005 gives
// 1.01), so what was typed rounds the way a person expects.
std::string FixedText(double value, int decimals);
// The shortest decimal text of `value`: 21.4, 5, 0.5.
std::string ShortText(double value);

