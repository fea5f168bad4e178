// The text of a store file, in the layout of registry export files:
//
//   [HKEY_CURRENT_USER\Software\Halvorne\Quillet]
//   "SERVER"="localhost:8080"
//   "Count"=dword:0000002a
//   "WINPM"=hex:2c,00,00,00
//   @="the key's unnamed value"
//
// A text value is its CP932 bytes as UTF-8 text between quote marks (see QuoteText); its stored
// terminator is implied, so "" is a text of one byte. A text without its terminator, a number of
// other than four bytes and any other type are written as hex(type):bytes, so that every value
// reads back with its exact type and bytes.
#include <charconv>
#include <cstdio>

#include "platform/registry/records.h"
#include "platform/text/codepage.h"

// Reads "hh,hh,..." (nothing for no bytes).
static int ReadHexList(std::string_view text, std::string* bytes) {
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 3) {
        if (i + 2 > text.size() || (i + 2 < text.size() && text[i + 2] != ',')) return 0;
        const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0 || i + 3 == text.size()) return 0;
        *bytes += (char)(hi * 16 + lo);
    }
    return 1;
}

// Reads all of text as a hexadecimal number of 1 to 8 digits.
static int ReadHexNumber(std::string_view text, DWORD* n) {
    if (text.empty() || text.size() > 8) return 0;
    auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), *n, 16);
    return err == std::errc() && end == text.data() + text.size();
}

// Reads what follows the "=" of a value line.
static int ReadData(std::string_view text, RegValue* v) {
    if (!text.empty() && text[0] == '"') {
        v->type = REG_SZ;
        const size_t n = ReadQuoted(text, &v->data);
        v->data += '\0';
        return n != 0 && n == text.size();
    }
    if (text.starts_with("dword:")) {
        DWORD n;
        if (!ReadHexNumber(text.substr(6), &n)) return 0;
        v->type = REG_DWORD;
        v->data = {(char)n, (char)(n >> 8), (char)(n >> 16), (char)(n >> 24)};
        return 1;
    }
    if (text.starts_with("hex:")) {
        v->type = REG_BINARY;
        return ReadHexList(text.substr(4), &v->data);
    }
    const size_t close = text.find("):");
    if (!text.starts_with("hex(") || close == text.npos) return 0;
    return ReadHexNumber(text.substr(4, close - 4), &v->type) &&
           ReadHexList(text.substr(close + 2), &v->data);
}

// Reads what follows the "=" of an older "name=type:hexbytes" line (type in decimal).
static int ReadOldData(std::string_view text, RegValue* v) {
    const size_t colon = text.find(':');
    if (colon == text.npos || colon == 0) return 0;
    auto [end, err] = std::from_chars(text.data(), text.data() + colon, v->type, 10);
    if (err != std::errc() || end != text.data() + colon) return 0;
    std::string_view hex = text.substr(colon + 1);
    if (hex.size() % 2) return 0;
    v->data.resize(hex.size() / 2);
    for (size_t i = 0; i < v->data.size(); i++) {
        const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return 0;
        v->data[i] = (char)(hi * 16 + lo);
    }
    return 1;
}

static size_t SkipBlanks(std::string_view line, size_t at) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) at++;
    return at;
}

static bool IsOldForm(std::string_view line) {
    return line[0] != '"' && line[0] != '@';
}

// Reads the name of a value line: "name" or @ (the unnamed value), each followed by "=" with
// blanks allowed around it, as people write it by hand; or the older form's name, escaped as
// %xx, up to the first "=". Returns where the value's data starts, 0 when there is no name.
static size_t ReadLineName(std::string_view line, std::string* name) {
    name->clear();
    if (IsOldForm(line)) {
        const size_t eq = line.find('=');
        return eq != line.npos && ReadKeyName(line.substr(0, eq), name) ? eq + 1 : 0;
    }
    size_t at = 1;
    if (line[0] == '"') {
        at = ReadQuoted(line, name);
        if (at == 0 || name->find('\0') != name->npos) return 0;
    }
    at = SkipBlanks(line, at);
    if (at == line.size() || line[at] != '=') return 0;
    return SkipBlanks(line, at + 1);
}

// Reads "[ROOT\Key\Path]", or the older "[Key\Path]" without the root; fails on a line that
// names another root.
static int ReadSectionLine(std::string_view line, const char* rootName, KeyPath* path) {
    std::string names;
    if (line.size() < 2 || line.back() != ']' ||
        !ReadKeyName(line.substr(1, line.size() - 2), &names))
        return 0;
    AppendKeyNames(path, names);
    if (path->empty() || !IsSameName(path->front().substr(0, 5), "HKEY_")) return 1;
    if (!IsSameName(path->front(), rootName)) return 0;
    path->erase(path->begin());
    return 1;
}

static bool IsBlankOrComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first == line.npos || line[first] == ';' || line[first] == '#';
}

// Reads the text of a store file. A key or value that appears twice is one; the later value
// wins. A byte-order mark at the start and a carriage return and blanks at the end of a line are
// passed over. A line that cannot be read is kept in its section, and when it names a value of
// the section, that value counts as unread; the lines after a section line that cannot be read
// are kept too, since they belong to no key that can be told.
RegStore ParseStore(std::string_view text, const char* rootName, std::vector<size_t>* skipped,
                    std::vector<size_t>* sjis) {
    RegStore store;
    RegSection* section = nullptr;
    bool lost = false;
    if (text.starts_with("\xef\xbb\xbf")) text.remove_prefix(3);
    for (size_t number = 1; !text.empty(); number++) {
        const size_t end = std::min(text.find('\n'), text.size());
        // A line is kept with its carriage return, so that it is written back byte for byte.
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        std::string_view line = raw;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = line.substr(0, line.find_last_not_of(" \t") + 1);
        if (IsBlankOrComment(line)) continue;
        if (line[0] == '[') {
            KeyPath path;
            lost = !ReadSectionLine(line, rootName, &path);
            if (!lost) {
                section = TakeSection(&store, path);
                continue;
            }
        } else if (section && !lost) {
            RegValue v;
            const size_t data = ReadLineName(line, &v.name);
            const std::string_view rest = line.substr(data);
            if (data && (IsOldForm(line) ? ReadOldData(rest, &v) : ReadData(rest, &v))) {
                PutValue(section, v.name, v.type, std::move(v.data));
                if (!IsUtf8Text(std::string(line).c_str())) sjis->push_back(number);
                continue;
            }
            if (data) section->unread.push_back(v.name);
        }
        (!section ? store.lead : lost ? section->lost : section->kept).emplace_back(raw);
        skipped->push_back(number);
    }
    return store;
}

static std::string FormatValue(const RegValue& v) {
    std::string out = (v.name.empty() ? "@" : QuoteText(v.name)) + '=';
    const std::string_view data = v.data;
    if (v.type == REG_SZ && !data.empty() && data.back() == '\0')
        return out + QuoteText(data.substr(0, data.size() - 1));
    char head[24];
    if (v.type == REG_DWORD && data.size() == 4) {
        const DWORD n = (DWORD)(unsigned char)data[0] | (DWORD)(unsigned char)data[1] << 8 |
                        (DWORD)(unsigned char)data[2] << 16 | (DWORD)(unsigned char)data[3] << 24;
        snprintf(head, sizeof head, "dword:%08x", n);
        return out + head;
    }
    if (v.type == REG_BINARY) {
        out += "hex:";
    } else {
        snprintf(head, sizeof head, "hex(%x):", v.type);
        out += head;
    }
    for (size_t i = 0; i < data.size(); i++) {
        if (i > 0) out += ',';
        AppendHexByte(&out, (unsigned char)data[i]);
    }
    return out;
}

std::string FormatStore(const RegStore& store, const char* rootName) {
    std::string out = std::string("; Halvorne registry, ") + rootName +
                      ". Texts are \"UTF-8\" with \\\\, \\\" and \\xhh for bytes without a text "
                      "form, their terminator implied.\n";
    for (const std::string& line : store.lead) out += line + '\n';
    for (const RegSection& s : store.sections) {
        out += std::string("\n[") + rootName;
        for (const std::string& name : s.path) out += '\\' + EscapeKeyName(name);
        out += "]\n";
        for (const RegValue& v : s.values) out += FormatValue(v) + '\n';
        for (const std::string& line : s.kept) out += line + '\n';
        for (const std::string& line : s.lost) out += line + '\n';
    }
    return out;
}
