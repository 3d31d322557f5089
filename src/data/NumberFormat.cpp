#include "data/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace lumetra {
namespace {

bool IsFlag(char c) {
    return c == '-' || c == '+' || c == ' ' || c == '0' || c == '#';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLength(char c) {
    return c == 'l' || c == 'h' || c == 'L' || c == 'q' || c == 'j' || c == 'z';
}
bool IsConversion(char c) {
    return std::strchr("diufFeEgGsc", c) != nullptr && c != 0;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Widens the exponent after the 'e' at text[pos] to at least three digits.
void WidenExponent(std::string& text, size_t pos) {
    size_t digits = pos + 2; // skip 'e' and its sign
    size_t count = text.size() - digits;
    if (count < 3)
        text.insert(digits, 3 - count, '0');
}

std::to_chars_result ToChars(char* first, char* last, double v, char conv, int precision) {
    const char lower = char(conv | 0x20);
    if (lower == 'f')
        return std::to_chars(first, last, v, std::chars_format::fixed, precision);
    if (lower == 'e')
        return std::to_chars(first, last, v, std::chars_format::scientific, precision);
    return std::to_chars(first, last, v, std::chars_format::general,
                         precision == 0 ? 1 : precision);
}

// The digits of a finite, non-negative value in the given conversion, without sign or padding.
std::string FiniteDigits(double v, char conv, int precision, bool alt) {
    if ((conv | 0x20) == 'g' && alt) {
        // '#' keeps the trailing zeros that to_chars' general form drops: the form is chosen as
        // printf chooses it, by the exponent at the precision's digits.
        const int digits = precision == 0 ? 1 : precision;
        const std::string scientific = FiniteDigits(v, 'e', digits - 1, false);
        const size_t e = scientific.find('e');
        int exponent = 0;
        std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1),
                        scientific.data() + scientific.size(), exponent);
        return digits > exponent && exponent >= -4
                   ? FiniteDigits(v, 'f', digits - 1 - exponent, true)
                   : FiniteDigits(v, conv == 'G' ? 'E' : 'e', digits - 1, true);
    }
    char buf[1600];
    std::string text;
    if (const auto r = ToChars(buf, buf + sizeof buf, v, conv, precision); r.ec == std::errc()) {
        text.assign(buf, r.ptr);
    } else {
        // A precision beyond the buffer: 309 integer digits, a point and the decimals at most.
        text.resize(size_t(precision) + 320);
        text.resize(size_t(ToChars(text.data(), text.data() + text.size(), v, conv, precision).ptr -
                           text.data()));
    }
    size_t e = text.find('e');
    if (alt && text.find('.') == std::string::npos) {
        // '#' keeps the point even without decimals.
        text.insert(e == std::string::npos ? text.size() : e, 1, '.');
        e = text.find('e');
    }
    if (e != std::string::npos) {
        WidenExponent(text, e);
        if (conv == 'E' || conv == 'G')
            text[e] = 'E';
    }
    return text;
}

void Pad(std::string& out, std::string_view sign, std::string_view body, int width, bool left,
         bool zero) {
    const int len = int(sign.size() + body.size());
    const int fill = width > len ? width - len : 0;
    if (left) {
        out.append(sign).append(body).append(size_t(fill), ' ');
    } else if (zero) {
        out.append(sign).append(size_t(fill), '0').append(body);
    } else {
        out.append(size_t(fill), ' ').append(sign).append(body);
    }
}

} // namespace

CompiledFormat::CompiledFormat(std::string_view format) {
    Piece piece;
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            piece.literal += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            piece.literal += '%';
            i += 2;
            continue;
        }
        // Parse a directive; an unknown one is kept as literal text, as it stands.
        size_t start = i++;
        Piece d;
        while (i < format.size() && IsFlag(format[i])) {
            switch (format[i]) {
            case '-':
                d.left = true;
                break;
            case '+':
                d.plus = true;
                break;
            case ' ':
                d.space = true;
                break;
            case '0':
                d.zero = true;
                break;
            case '#':
                d.alt = true;
                break;
            }
            ++i;
        }
        while (i < format.size() && IsDigit(format[i]) && d.width < 100000)
            d.width = d.width * 10 + (format[i++] - '0');
        if (i < format.size() && format[i] == '.') {
            ++i;
            d.precision = 0;
            while (i < format.size() && IsDigit(format[i]) && d.precision < 1000)
                d.precision = d.precision * 10 + (format[i++] - '0');
        }
        while (i < format.size() && IsLength(format[i]))
            ++i;
        if (i < format.size() && IsConversion(format[i])) {
            d.conv = format[i++];
            d.literal = std::move(piece.literal);
            m_pieces.push_back(std::move(d));
            piece = Piece{};
        } else {
            piece.literal.append(format.substr(start, i - start));
        }
    }
    m_pieces.push_back(std::move(piece));
}

void CompiledFormat::Append(std::string& out, std::initializer_list<FmtArg> args) const {
    auto arg = args.begin();
    for (const Piece& p : m_pieces) {
        out += p.literal;
        if (!p.conv)
            continue;
        if (arg == args.end())
            continue;
        const FmtArg& a = *arg++;
        switch (p.conv) {
        case 'd':
        case 'i':
        case 'u': {
            if (a.kind != FmtArg::Kind::Int)
                break;
            char buf[32];
            unsigned long long mag =
                a.i < 0 ? 0ULL - static_cast<unsigned long long>(a.i) : (unsigned long long)a.i;
            auto r = std::to_chars(buf, buf + sizeof buf, mag);
            std::string body(buf, r.ptr);
            if (p.precision >= 0 && int(body.size()) < p.precision)
                body.insert(0, size_t(p.precision - int(body.size())), '0');
            if (p.precision == 0 && mag == 0)
                body.clear();
            // '+' and ' ' sign only the signed conversions.
            const bool isSigned = p.conv != 'u';
            std::string_view sign = a.i < 0               ? "-"
                                    : isSigned && p.plus  ? "+"
                                    : isSigned && p.space ? " "
                                                          : "";
            Pad(out, sign, body, p.width, p.left, p.zero && p.precision < 0);
            break;
        }
        case 's': {
            if (a.kind != FmtArg::Kind::Str)
                break;
            std::string_view s = a.s;
            if (p.precision >= 0 && s.size() > size_t(p.precision))
                s = s.substr(0, size_t(p.precision));
            Pad(out, "", s, p.width, p.left, false);
            break;
        }
        case 'c': {
            if (a.kind != FmtArg::Kind::Int)
                break;
            char ch = char(a.i);
            Pad(out, "", std::string_view(&ch, 1), p.width, p.left, false);
            break;
        }
        default: { // f F e E g G
            if (a.kind != FmtArg::Kind::Double)
                break;
            const double v = a.d;
            const bool neg = std::signbit(v);
            std::string_view sign = neg ? "-" : p.plus ? "+" : p.space ? " " : "";
            const bool upper = p.conv == 'F' || p.conv == 'E' || p.conv == 'G';
            if (std::isnan(v) || std::isinf(v)) {
                std::string body = std::isnan(v) ? "nan" : "inf";
                if (upper)
                    for (char& ch : body)
                        ch = Upper(ch);
                Pad(out, sign, body, p.width, p.left, false);
                break;
            }
            std::string body =
                FiniteDigits(std::fabs(v), p.conv, p.precision < 0 ? 6 : p.precision, p.alt);
            Pad(out, sign, body, p.width, p.left, p.zero);
            break;
        }
        }
    }
}

std::string CompiledFormat::Format(std::initializer_list<FmtArg> args) const {
    std::string out;
    Append(out, args);
    return out;
}

std::string FormatC(std::string_view format, std::initializer_list<FmtArg> args) {
    return CompiledFormat(format).Format(args);
}

} // namespace lumetra
