#include "xbase/TExprProgram.h"

#include "xbase/TCodePage1252.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace qm::xbase {

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

int64_t LittleEndian(const char* p, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    if (bytes < 8 && (v >> (bytes * 8 - 1)) & 1)
        v |= ~uint64_t(0) << (bytes * 8); // sign-extend
    return static_cast<int64_t>(v);
}

// Compares as if the shorter side were padded with blanks.
int ComparePadded(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    if (n > 0) {
        const int c = std::memcmp(a.data(), b.data(), n);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    for (size_t i = n; i < a.size(); ++i)
        if (a[i] != ' ')
            return static_cast<unsigned char>(a[i]) < ' ' ? -1 : 1;
    for (size_t i = n; i < b.size(); ++i)
        if (b[i] != ' ')
            return static_cast<unsigned char>(b[i]) < ' ' ? 1 : -1;
    return 0;
}

bool Holds(TRelation rel, int c)
{
    switch (rel) {
    case TRelation::Equal:
    case TRelation::ExactEqual:
        return c == 0;
    case TRelation::NotEqual:
        return c != 0;
    case TRelation::Less:
        return c < 0;
    case TRelation::LessEqual:
        return c <= 0;
    case TRelation::Greater:
        return c > 0;
    case TRelation::GreaterEqual:
        return c >= 0;
    }
    return false;
}

int Sign(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool IsBlankText(std::string_view s)
{
    for (char ch : s)
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n' && ch != '\0')
            return false;
    return true;
}

// The length of s without its trailing blanks; fields are mostly blanks at the end, so eight
// bytes are compared at a time.
size_t TrimmedLength(std::string_view s)
{
    constexpr uint64_t kBlanks = 0x2020202020202020ull;
    size_t n = s.size();
    while (n >= 8) {
        uint64_t w;
        std::memcpy(&w, s.data() + n - 8, 8);
        if (w != kBlanks)
            break;
        n -= 8;
    }
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

// Clamps a count taken from a numeric argument to [0, limit].
size_t Count(double v, size_t limit)
{
    if (!(v > 0)) // also NaN
        return 0;
    return v >= double(limit) ? limit : size_t(v);
}

// STR(): the number right-aligned in width characters with decimals places; when it does not fit,
// fewer decimals; when the whole part does not fit, asterisks.
size_t FormatStr(double value, int width, int decimals, char* out)
{
    char buf[400];
    if (std::isfinite(value) && std::fabs(value) < 1e300) {
        for (int dec = decimals; dec >= 0; --dec) {
            auto [end, ec] =
                std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, dec);
            if (ec != std::errc())
                break;
            size_t n = size_t(end - buf);
            const char* text = buf;
            if (buf[0] == '-' &&
                std::all_of(buf + 1, end, [](char ch) { return ch == '0' || ch == '.'; })) {
                ++text; // no "-0"
                --n;
            }
            if (n <= size_t(width)) {
                std::memset(out, ' ', size_t(width) - n);
                std::memcpy(out + (size_t(width) - n), text, n);
                return size_t(width);
            }
        }
    }
    std::memset(out, '*', size_t(width));
    return size_t(width);
}

} // namespace

double ParseXbaseNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0;   // significant digits taken into mantissa
    int exponent = 0; // power of ten to apply
    bool any = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        any = true;
        if (digits < 19) {
            mantissa = mantissa * 10 + uint64_t(s[i] - '0');
            if (mantissa != 0)
                ++digits;
        } else
            ++exponent;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            any = true;
            if (digits < 19) {
                mantissa = mantissa * 10 + uint64_t(s[i] - '0');
                if (mantissa != 0)
                    ++digits;
                --exponent;
            }
        }
    }
    if (!any)
        return 0.0;
    double v = double(mantissa);
    if (exponent < 0)
        v = -exponent <= 22 ? v / kPowersOfTen[-exponent] : v * std::pow(10.0, exponent);
    else if (exponent > 0)
        v = exponent <= 22 ? v * kPowersOfTen[exponent] : v * std::pow(10.0, exponent);
    return negative ? -v : v;
}

void TExpression::TProgram::CheckRecord(const TRecordView& r) const
{
    if (r.bytes.size() < minRecordLength)
        throw TXbaseError(TErrorKind::Usage, "The record has " + std::to_string(r.bytes.size()) +
                                                 " bytes but the expression \"" + text +
                                                 "\" reads up to byte " +
                                                 std::to_string(minRecordLength));
}

std::string_view TExpression::TProgram::Char(int i, const TRecordView& r, size_t limit) const
{
    const TExprNode& n = nodes[size_t(i)];
    char* d = scratch.data() + n.buf;
    switch (n.op) {
    case TExprOp::CharField:
    case TExprOp::DateField:
        return r.bytes.substr(n.off, std::min<size_t>(n.len, limit));
    case TExprOp::CharConst:
        return std::string_view(pool).substr(n.off, n.len);
    case TExprOp::Upper: {
        const std::string_view s = Char(n.a, r, limit);
        TCodePage1252::Upper(s.data(), d, s.size());
        return {d, s.size()};
    }
    case TExprOp::Lower: {
        const std::string_view s = Char(n.a, r, limit);
        TCodePage1252::Lower(s.data(), d, s.size());
        return {d, s.size()};
    }
    case TExprOp::Concat: {
        const std::string_view x = Char(n.a, r, limit);
        if (!x.empty())
            std::memcpy(d, x.data(), x.size());
        if (x.size() >= limit)
            return {d, x.size()};
        const std::string_view y = Char(n.b, r, limit == kWhole ? kWhole : limit - x.size());
        if (!y.empty())
            std::memcpy(d + x.size(), y.data(), y.size());
        return {d, x.size() + y.size()};
    }
    case TExprOp::ConcatMove: {
        const std::string_view x = Char(n.a, r);
        const size_t kept = TrimmedLength(x);
        if (kept > 0)
            std::memcpy(d, x.data(), kept);
        if (kept >= limit)
            return {d, kept};
        const std::string_view y = Char(n.b, r, limit == kWhole ? kWhole : limit - kept);
        if (!y.empty())
            std::memcpy(d + kept, y.data(), y.size());
        std::memset(d + kept + y.size(), ' ', x.size() - kept);
        return {d, x.size() + y.size()};
    }
    case TExprOp::Left: {
        const size_t count = Count(Num(n.b, r), limit);
        const std::string_view s = Char(n.a, r, count);
        return s.substr(0, count);
    }
    case TExprOp::Right: {
        const std::string_view s = Char(n.a, r);
        return s.substr(s.size() - Count(Num(n.b, r), s.size()));
    }
    case TExprOp::Substr: {
        const std::string_view s = Char(n.a, r);
        const double start = Num(n.b, r);
        const size_t from = start > 1 ? Count(start - 1, s.size()) : 0;
        const std::string_view rest = s.substr(from);
        return n.c < 0 ? rest : rest.substr(0, Count(Num(n.c, r), rest.size()));
    }
    case TExprOp::RTrim: {
        const std::string_view s = Char(n.a, r);
        return s.substr(0, TrimmedLength(s));
    }
    case TExprOp::LTrim: {
        std::string_view s = Char(n.a, r);
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        return s;
    }
    case TExprOp::AllTrim: {
        std::string_view s = Char(n.a, r);
        s = s.substr(0, TrimmedLength(s));
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        return s;
    }
    case TExprOp::Str:
        return {d, FormatStr(Num(n.a, r), int(n.num), int(n.len), d)};
    case TExprOp::Dtos:
        return Char(n.a, r, limit);
    case TExprOp::Iif:
        return Log(n.a, r) ? Char(n.b, r, limit) : Char(n.c, r, limit);
    default:
        break;
    }
    return {};
}

double TExpression::TProgram::Num(int i, const TRecordView& r) const
{
    const TExprNode& n = nodes[size_t(i)];
    switch (n.op) {
    case TExprOp::NumField:
        return ParseXbaseNumber(r.bytes.substr(n.off, n.len));
    case TExprOp::IntField:
        return double(LittleEndian(r.bytes.data() + n.off, 4));
    case TExprOp::CurrencyField:
        return double(LittleEndian(r.bytes.data() + n.off, 8)) / 10000.0;
    case TExprOp::DoubleField: {
        double v;
        std::memcpy(&v, r.bytes.data() + n.off, 8); // the engine runs on little-endian machines
        return v;
    }
    case TExprOp::NumConst:
        return n.num;
    case TExprOp::RecNo:
        return double(r.recNo);
    case TExprOp::Len:
        return double(Char(n.a, r).size());
    case TExprOp::Val:
        return ParseXbaseNumber(Char(n.a, r));
    case TExprOp::Add:
        return Num(n.a, r) + Num(n.b, r);
    case TExprOp::Sub:
        return Num(n.a, r) - Num(n.b, r);
    case TExprOp::Mul:
        return Num(n.a, r) * Num(n.b, r);
    case TExprOp::Div: {
        const double x = Num(n.a, r);
        const double y = Num(n.b, r);
        return y == 0 ? 0.0 : x / y; // no infinities in keys or comparisons
    }
    case TExprOp::Neg:
        return -Num(n.a, r);
    case TExprOp::Iif:
        return Log(n.a, r) ? Num(n.b, r) : Num(n.c, r);
    default:
        break;
    }
    return 0;
}

bool TExpression::TProgram::Log(int i, const TRecordView& r) const
{
    const TExprNode& n = nodes[size_t(i)];
    switch (n.op) {
    case TExprOp::LogField: {
        const char ch = r.bytes[n.off];
        return ch == 'T' || ch == 't' || ch == 'Y' || ch == 'y';
    }
    case TExprOp::LogConst:
        return n.num != 0;
    case TExprOp::Deleted:
        return r.Deleted();
    case TExprOp::EmptyChar:
        return IsBlankText(Char(n.a, r));
    case TExprOp::EmptyNum:
        return Num(n.a, r) == 0;
    case TExprOp::EmptyLog:
        return !Log(n.a, r);
    case TExprOp::EmptyMemo: {
        for (char ch : r.bytes.substr(n.off, n.len))
            if (ch != ' ' && ch != '0' && ch != '\0')
                return false;
        return true;
    }
    case TExprOp::Compare:
        switch (n.operandType) {
        case TValueType::Character: {
            // The right side first: while Exact is off only as many bytes of the left are needed.
            const std::string_view y = Char(n.b, r);
            const bool prefix = n.rel != TRelation::ExactEqual && !EngineSettings().exact;
            std::string_view x = Char(n.a, r, prefix ? y.size() : kWhole);
            if (n.rel == TRelation::ExactEqual)
                return x.size() == y.size() &&
                       (x.empty() || std::memcmp(x.data(), y.data(), x.size()) == 0);
            if (prefix && y.size() < x.size())
                x = x.substr(0, y.size());
            return Holds(n.rel, ComparePadded(x, y));
        }
        case TValueType::Date:
            return Holds(n.rel, ComparePadded(Char(n.a, r), Char(n.b, r)));
        case TValueType::Numeric:
            return Holds(n.rel, Sign(Num(n.a, r), Num(n.b, r)));
        case TValueType::Logical:
            return Holds(n.rel, int(Log(n.a, r)) - int(Log(n.b, r)));
        }
        return false;
    case TExprOp::Contains: {
        const std::string_view x = Char(n.a, r);
        return !x.empty() && Char(n.b, r).find(x) != std::string_view::npos;
    }
    case TExprOp::And:
        return Log(n.a, r) && Log(n.b, r);
    case TExprOp::Or:
        return Log(n.a, r) || Log(n.b, r);
    case TExprOp::Not:
        return !Log(n.a, r);
    case TExprOp::Iif:
        return Log(n.a, r) ? Log(n.b, r) : Log(n.c, r);
    default:
        break;
    }
    return false;
}

std::string TExpression::TProgram::Validate() const
{
    if (nodes.empty())
        return "no nodes";
    uint32_t used = 0;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const TExprNode& n = nodes[i];
        for (int child : {n.a, n.b, n.c})
            if (child >= int(i))
                return "node " + std::to_string(i) + " has a child after it";
        const bool builds = n.op == TExprOp::Upper || n.op == TExprOp::Lower ||
                            n.op == TExprOp::Concat || n.op == TExprOp::ConcatMove ||
                            n.op == TExprOp::Str;
        if (builds) {
            if (n.buf != used)
                return "node " + std::to_string(i) + " does not own its scratch slice";
            used += n.width;
        }
        const bool field = n.op == TExprOp::CharField || n.op == TExprOp::DateField ||
                           n.op == TExprOp::NumField || n.op == TExprOp::LogField ||
                           n.op == TExprOp::IntField || n.op == TExprOp::CurrencyField ||
                           n.op == TExprOp::DoubleField || n.op == TExprOp::EmptyMemo;
        if (field && n.off + n.len > minRecordLength)
            return "node " + std::to_string(i) + " reads past the record";
        if (n.op == TExprOp::CharConst && n.off + n.len > pool.size())
            return "node " + std::to_string(i) + " reads past the pool";
    }
    if (used != scratch.size())
        return "the scratch area is not fully assigned";
    return {};
}

} // namespace qm::xbase
