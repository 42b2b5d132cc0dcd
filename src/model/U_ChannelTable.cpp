#include "model/U_ChannelTable.h"

#include "model/U_Values.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Captions compare without case and with runs of blanks as one, so that a
// hand-typed "rx  freq" header still finds its column.
std::string CaptionKey(const std::string& caption)
{
    std::string key;
    for (const char c : Trim(caption)) {
        if (c == ' ' && !key.empty() && key.back() == ' ')
            continue;
        key += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

// Group captions stand over both heading cells of a pair in the grid.
const char* GroupCaption(int column)
{
    switch (column) {
    case gcDecCtcss:
    case gcDecDcs:
        return "Decoders";
    case gcNsqMode:
    case gcNsqLevel:
        return "NSQ";
    case gcEncCtcss:
    case gcEncDcs:
        return "Encoders";
    default:
        return nullptr;
    }
}

bool IsSlotColumn(int column) { return column >= tcFirstSlot && column < TableColumnCount; }
int SlotOf(int column) { return (column - tcFirstSlot) / 2; }
bool IsEncoderSide(int column) { return (column - tcFirstSlot) % 2 == 1; }

// The used flag reads as the grid's other yes/no cells do.
std::string YesNoText(int value) { return DisplayText(dvNoYes, value != 0 ? 1 : 0); }

// A slot side's tone from its text: nothing for "off" or empty, else the
// CTCSS tone or DCS code it names. False when the text names neither.
bool ReadSlotTone(const std::string& text, bool& chosen, int& isDcs, int& code)
{
    chosen = false;
    isDcs = 0;
    code = 0;
    if (text.empty() || text == "off")
        return true;
    const auto& ctcss = ToneTexts(dlCtcss);
    const auto& dcs = ToneTexts(dlDcs);
    if (const auto at = std::find(ctcss.begin(), ctcss.end(), text); at != ctcss.end()) {
        chosen = true;
        code = int(at - ctcss.begin());
        return true;
    }
    if (const auto at = std::find(dcs.begin(), dcs.end(), text); at != dcs.end()) {
        chosen = true;
        isDcs = 1;
        code = int(at - dcs.begin()) - 1;
        return true;
    }
    return false;
}

void SetSlotSide(TChannel& channel, int slot, bool encoder, int isDcs, int code)
{
    (encoder ? channel.EncoderIsDcs : channel.DecoderIsDcs)[slot] = isDcs;
    (encoder ? channel.EncoderCode : channel.DecoderCode)[slot] = code;
}

// One channel's cells, in column order, on a scratch copy of the channel.
void ApplyChannelCells(TChannel& channel, int index, const TRKmem& doc, const std::vector<TCellText>& cells,
                       bool switchedOffEditable, std::vector<TCellProblem>& problems)
{
    const auto problem = [&](const TCellText& cell, const std::string& why) {
        problems.push_back({index, cell.Column, cell.Text, why});
    };
    const TChannel original = channel;
    int used = channel.Used;
    for (const TCellText& cell : cells) {
        if (cell.Column != tcUsed || Trim(cell.Text) == YesNoText(channel.Used))
            continue;
        const std::string text = Trim(cell.Text);
        if (text == YesNoText(0) || text == YesNoText(1))
            used = text == YesNoText(1) ? 1 : 0;
        else
            problem(cell, "takes " + YesNoText(1) + " or " + YesNoText(0));
    }
    // A file states the whole channel, so its cells are taken as if the
    // channel were in use and the used flag set afterwards.
    const bool editable = channel.Used != 0 || switchedOffEditable;
    if (switchedOffEditable)
        channel.Used = 1;

    TRowTexts row = FillRow(channel, index, doc.ChStep);
    bool rowChanged = false;
    for (const TCellText& cell : cells) {
        const int column = cell.Column;
        if (column <= 0 || column >= GridColumnCount)
            continue;
        const std::string text = Trim(cell.Text);
        if (text == Trim(row[column]))
            continue;
        if (!editable) {
            problem(cell, "the channel is switched off");
            continue;
        }
        rowChanged = true;
        if (column == gcTxFreq && (text == "Tx Inh") != (channel.TxInhibit != 0)) {
            ToggleTxInhibit(row, channel, doc.ChStep);
            if (text == "Tx Inh" || text == Trim(row[column]))
                continue;
        } else if (column > gcTxFreq && channel.TxInhibit != 0) {
            problem(cell, "the transmitter is inhibited (Tx Inh)");
            continue;
        }
        if (column == gcNsqLevel && Trim(row[column]) == "---") {
            problem(cell, "the NSQ mode takes no level");
            continue;
        }
        const TColumnDef& def = GridColumns[column];
        if (def.EditKind == ekFreq && !FrequencyWithinLimits(text, column, doc)) {
            const auto& limits = column == gcTxFreq ? doc.TxAdjFreq : doc.RxAdjFreq;
            problem(cell, "outside the alignment range " + limits[0].Text() + " to " +
                              limits[AlignPointCount - 1].Text() + " MHz");
            continue;
        }
        std::optional<std::string> taken;
        if (column == gcMultiTone) {
            if (DisplayText(def.List, DisplayIndex(def.List, text)) == text)
                taken = text;
        } else {
            taken = CellTextFor(column, text, doc);
        }
        if (!taken) {
            problem(cell, "not a value of this column");
            continue;
        }
        row[column] = *taken;
        ApplyCellRules(row, channel, column, doc);
    }
    // A row whose texts all stand is not stored again: storing would tidy
    // stored values the grid shows the same way.
    if (rowChanged)
        StoreRow(row, channel);

    std::array<bool, ToneEntryCount> slotChanged {};
    for (const TCellText& cell : cells) {
        if (!IsSlotColumn(cell.Column))
            continue;
        const std::string text = Trim(cell.Text);
        // Slot 1 follows the CTCSS and DCS columns: it may state what they
        // stood at or what they were set to.
        const int slot = SlotOf(cell.Column);
        if (text == TableText(original, index, cell.Column, doc.ChStep) ||
            (slot == 0 && text == TableText(channel, index, cell.Column, doc.ChStep)))
            continue;
        // An inhibited transmitter's encoder columns show "---" and its
        // tone is kept: slot 1's encoder is the one cell that states it.
        // Storing the row counted only the decoder towards slot 1 being in
        // use, so its decoder cell may show the decoder tone where the
        // document showed none.
        const bool inhibited = slot == 0 && channel.TxInhibit != 0;
        const bool keptEncoder = inhibited && IsEncoderSide(cell.Column);
        if (inhibited && !keptEncoder && text == ToneText(channel.DecoderIsDcs[0], channel.DecoderCode[0])) {
            slotChanged[0] = true;
            continue;
        }
        bool chosen = false;
        int isDcs = 0;
        int code = 0;
        if (slot == 0 && !keptEncoder)
            problem(cell, "slot 1 is the channel's own tone: set it in the CTCSS and DCS columns");
        else if (!editable)
            problem(cell, "the channel is switched off");
        else if (!ReadSlotTone(text, chosen, isDcs, code))
            problem(cell, "not a CTCSS tone or DCS code");
        else {
            SetSlotSide(channel, slot, IsEncoderSide(cell.Column), isDcs, code);
            slotChanged[slot] = slot != 0 || keptEncoder;
        }
    }
    // As the multi-tone dialog stores a slot: in use when either side holds
    // a tone.
    for (int slot = 0; slot < ToneEntryCount; ++slot) {
        if (!slotChanged[slot])
            continue;
        const bool decoder = channel.DecoderIsDcs[slot] != 0 || channel.DecoderCode[slot] != 0;
        const bool encoder = channel.EncoderIsDcs[slot] != 0 || channel.EncoderCode[slot] != 0;
        channel.ToneEntryUsed[slot] = decoder || encoder ? 1 : 0;
    }
    channel.Used = used;
}

// RFC 4180 fields: quotes around a field, doubled inside; CR, LF or CRLF
// end a record outside quotes.
std::vector<std::vector<std::string>> ParseRecords(const std::string& text, char separator)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool any = false;
    const auto endField = [&] {
        record.push_back(field);
        field.clear();
    };
    const auto endRecord = [&] {
        endField();
        const bool blank = std::all_of(record.begin(), record.end(), [](const std::string& f) { return Trim(f).empty(); });
        if (!blank)
            records.push_back(record);
        record.clear();
        any = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        any = true;
        if (c == '"')
            quoted = true;
        else if (c == separator)
            endField();
        else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
        } else
            field += c;
    }
    if (any || !field.empty() || !record.empty())
        endRecord();
    return records;
}

char DetectSeparator(const std::string& text)
{
    std::map<char, int> counts {{',', 0}, {';', 0}, {'\t', 0}};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        else if (!quoted && counts.count(c))
            ++counts[c];
    }
    char best = ',';
    for (const auto& [c, n] : counts)
        if (n > counts[best])
            best = c;
    return best;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",;\t\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string TableCaption(int column)
{
    if (column == tcUsed)
        return "Used";
    if (IsSlotColumn(column))
        return "Tone " + std::to_string(SlotOf(column) + 1) + (IsEncoderSide(column) ? " Enc" : " Dec");
    if (column <= 0 || column >= GridColumnCount)
        return {};
    const TColumnDef& def = GridColumns[column];
    const char* first = def.Header0 ? def.Header0 : GroupCaption(column);
    return first ? std::string(first) + " " + def.Header1 : std::string(def.Header1);
}

std::string TableText(const TChannel& channel, int channelIndex, int column, int chStep)
{
    if (column == tcUsed)
        return YesNoText(channel.Used);
    if (IsSlotColumn(column)) {
        const int slot = SlotOf(column);
        if (channel.ToneEntryUsed[slot] == 0)
            return {};
        return IsEncoderSide(column) ? ToneText(channel.EncoderIsDcs[slot], channel.EncoderCode[slot])
                                     : ToneText(channel.DecoderIsDcs[slot], channel.DecoderCode[slot]);
    }
    if (column <= 0 || column >= GridColumnCount)
        return {};
    return Trim(FillRow(channel, channelIndex, chStep)[column]);
}

std::vector<TCellProblem> ApplyCellTexts(TChannels& channels, const TRKmem& doc, std::vector<TCellText> cells,
                                         bool switchedOffEditable)
{
    std::stable_sort(cells.begin(), cells.end(), [](const TCellText& a, const TCellText& b) {
        return a.Channel != b.Channel ? a.Channel < b.Channel : a.Column < b.Column;
    });
    TChannels scratch = channels;
    std::vector<TCellProblem> problems;
    for (auto first = cells.begin(); first != cells.end();) {
        const int index = first->Channel;
        const auto last = std::find_if(first, cells.end(), [&](const TCellText& c) { return c.Channel != index; });
        if (index < 0 || index >= ChannelCount) {
            for (auto c = first; c != last; ++c)
                problems.push_back({index, c->Column, c->Text, "there is no such channel"});
        } else {
            ApplyChannelCells(scratch[index], index, doc, {first, last}, switchedOffEditable, problems);
        }
        first = last;
    }
    if (problems.empty())
        channels = scratch;
    return problems;
}

std::string WriteChannelsCsv(const TRKmem& doc)
{
    std::string out = CsvField(TableCaption(gcCh));
    for (int column = gcCh + 1; column < TableColumnCount; ++column)
        out += "," + CsvField(TableCaption(column));
    out += "\r\n";
    for (int i = 0; i < ChannelCount; ++i) {
        const TChannel& channel = doc.Channels[i];
        out += CsvField(TableText(channel, i, gcCh, doc.ChStep));
        for (int column = gcCh + 1; column < TableColumnCount; ++column)
            out += "," + CsvField(TableText(channel, i, column, doc.ChStep));
        out += "\r\n";
    }
    return out;
}

TCsvImport ReadChannelsCsv(const std::string& input, TRKmem& doc)
{
    TCsvImport result;
    std::string text = input;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    const auto records = ParseRecords(text, DetectSeparator(text));
    if (records.empty()) {
        result.Errors.push_back("the file holds no header line");
        return result;
    }

    std::map<std::string, int> byCaption;
    for (int column = gcCh; column < TableColumnCount; ++column)
        byCaption[CaptionKey(TableCaption(column))] = column;
    const auto& header = records.front();
    std::vector<int> columns(header.size(), -1);
    std::vector<bool> seen(TableColumnCount, false);
    for (size_t i = 0; i < header.size(); ++i) {
        const auto at = byCaption.find(CaptionKey(header[i]));
        if (at == byCaption.end()) {
            if (!Trim(header[i]).empty())
                result.UnknownColumns.push_back(Trim(header[i]));
            continue;
        }
        if (seen[at->second])
            result.Errors.push_back("column \"" + Trim(header[i]) + "\" appears twice");
        seen[at->second] = true;
        columns[i] = at->second;
    }

    const int chColumn = int(std::find(columns.begin(), columns.end(), int(gcCh)) - columns.begin());
    std::vector<TCellText> cells;
    std::vector<bool> channelSeen(ChannelCount, false);
    std::vector<int> rowOfChannel(ChannelCount, 0);
    for (size_t r = 1; r < records.size(); ++r) {
        const auto& record = records[r];
        const std::string where = "row " + std::to_string(r + 1);
        int channel = int(r) - 1;
        if (chColumn < int(header.size())) {
            const std::string number = chColumn < int(record.size()) ? Trim(record[size_t(chColumn)]) : "";
            const bool digits = !number.empty() && number.size() <= 2 &&
                                std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
            channel = digits ? std::stoi(number) - 1 : -1;
            if (channel < 0 || channel >= ChannelCount) {
                result.Errors.push_back(where + ", column \"Ch\", \"" + number + "\": not a channel number 1 to 16");
                continue;
            }
        } else if (channel >= ChannelCount) {
            result.Errors.push_back(where + ": more rows than the 16 channels");
            continue;
        }
        if (channelSeen[size_t(channel)]) {
            result.Errors.push_back(where + ": channel " + std::to_string(channel + 1) + " appears twice");
            continue;
        }
        channelSeen[size_t(channel)] = true;
        rowOfChannel[size_t(channel)] = int(r) + 1;
        for (size_t i = 0; i < record.size() && i < columns.size(); ++i)
            if (columns[i] > gcCh)
                cells.push_back({channel, columns[i], record[i]});
    }
    if (!result.Errors.empty())
        return result;

    // Told in the file's order, which is what the person is looking at.
    auto problems = ApplyCellTexts(doc.Channels, doc, cells, true);
    std::stable_sort(problems.begin(), problems.end(), [&](const TCellProblem& a, const TCellProblem& b) {
        return rowOfChannel[size_t(a.Channel)] < rowOfChannel[size_t(b.Channel)];
    });
    for (const TCellProblem& p : problems)
        result.Errors.push_back("row " + std::to_string(rowOfChannel[size_t(p.Channel)]) + ", column \"" +
                                TableCaption(p.Column) + "\", \"" + Trim(p.Text) + "\": " + p.Why);
    result.Applied = result.Errors.empty();
    return result;
}

std::string BlockText(const std::vector<std::vector<std::string>>& cells)
{
    std::string out;
    for (const auto& row : cells) {
        for (size_t i = 0; i < row.size(); ++i)
            out += (i ? "\t" : "") + row[i];
        out += "\n";
    }
    return out;
}

std::vector<std::vector<std::string>> ParseBlockText(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> row;
        size_t from = 0;
        for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            row.push_back(line.substr(from, tab - from));
        row.push_back(line.substr(from));
        rows.push_back(row);
        start = end + 1;
    }
    return rows;
}
