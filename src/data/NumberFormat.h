#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// One argument of a printf-style format.
struct FmtArg {
    enum class Kind { Int, Double, Str };
    Kind kind;
    long long i = 0;
    double d = 0.0;
    std::string_view s;

    FmtArg(int v) : kind(Kind::Int), i(v) {}
    FmtArg(long v) : kind(Kind::Int), i(v) {}
    FmtArg(long long v) : kind(Kind::Int), i(v) {}
    FmtArg(unsigned v) : kind(Kind::Int), i(v) {}
    FmtArg(double v) : kind(Kind::Double), d(v) {}
    FmtArg(const char* v) : kind(Kind::Str), s(v) {}
    FmtArg(std::string_view v) : kind(Kind::Str), s(v) {}
    FmtArg(const std::string& v) : kind(Kind::Str), s(v) {}
};

// A printf format parsed once, applied many times (the file writer formats millions of rows).
// It follows printf for the directives %d %i %u %f %F %e %E %g %G %s %c %% with the flags
// "-+ 0#", a width and a precision; length modifiers (l, ll, h, L) are accepted and ignored.
// Two things differ from the C library on purpose: the decimal point is always ".", whatever the
// locale, and every exponent is written with at least three digits (1.23450E+003).
// A directive whose argument is missing or of the wrong kind prints nothing.
class CompiledFormat {
public:
    explicit CompiledFormat(std::string_view format);

    void Append(std::string& out, std::initializer_list<FmtArg> args) const;
    std::string Format(std::initializer_list<FmtArg> args) const;

private:
    struct Piece {
        std::string literal; // text before the directive (and the whole tail for the last piece)
        char conv = 0;       // 0: literal only
        bool left = false, plus = false, space = false, zero = false, alt = false;
        int width = 0;
        int precision = -1;
    };
    std::vector<Piece> m_pieces;
};

// printf with the rules above; the one number formatter of the program.
std::string FormatC(std::string_view format, std::initializer_list<FmtArg> args);

} // namespace lumetra
