#include "reports/TZipTally.h"

#include "data/TWin1252.h"

#include <cstdio>

namespace qm::reports {
namespace {

constexpr std::size_t kFiveDigitKeys = 100000;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

QString Line(const std::string& key, std::uint64_t count)
{
    return data::TWin1252::Decode(key.data(), qsizetype(key.size()))
               .leftJustified(10, QLatin1Char(' '), true) +
           TZipTally::FormatCount(count);
}

} // namespace

TZipTally::TZipTally() : mFiveDigits(kFiveDigitKeys, 0) {}

void TZipTally::Clear()
{
    std::fill(mFiveDigits.begin(), mFiveDigits.end(), 0);
    mDigitKeys.clear();
    mOtherKeys.clear();
    mBlank = 0;
    mRecords = 0;
}

std::string TZipTally::Key(std::string_view zip)
{
    while (!zip.empty() && zip.back() == ' ')
        zip.remove_suffix(1);
    return std::string(zip.substr(0, 5));
}

TZipTally::TGroup TZipTally::Group(std::string_view key)
{
    if (key.empty())
        return TGroup::Blank;
    if (key.size() == 5 && IsDigit(key[0]) && key >= "00000" && key <= "99999-999")
        return TGroup::Digit;
    return TGroup::Other;
}

void TZipTally::Add(std::string_view zip)
{
    ++mRecords;
    while (!zip.empty() && zip.back() == ' ')
        zip.remove_suffix(1);
    if (zip.size() >= 5 && IsDigit(zip[0]) && IsDigit(zip[1]) && IsDigit(zip[2]) &&
        IsDigit(zip[3]) && IsDigit(zip[4])) {
        const int index = (zip[0] - '0') * 10000 + (zip[1] - '0') * 1000 + (zip[2] - '0') * 100 +
                          (zip[3] - '0') * 10 + (zip[4] - '0');
        ++mFiveDigits[size_t(index)];
        return;
    }
    const std::string key(zip.substr(0, 5));
    switch (Group(key)) {
    case TGroup::Blank:
        ++mBlank;
        break;
    case TGroup::Digit:
        ++mDigitKeys[key];
        break;
    case TGroup::Other:
        ++mOtherKeys[key];
        break;
    }
}

QString TZipTally::FormatCount(std::uint64_t count)
{
    const QString digits = QString::number(qulonglong(count));
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += QLatin1Char(',');
        text += digits.at(i);
    }
    return text;
}

std::size_t TZipTally::Keys() const
{
    std::size_t keys = mDigitKeys.size() + mOtherKeys.size() + (mBlank > 0 ? 1 : 0);
    for (std::uint32_t n : mFiveDigits)
        keys += n > 0 ? 1 : 0;
    return keys;
}

std::uint64_t TZipTally::Count(std::string_view key) const
{
    if (key == "BLANK")
        return mBlank;
    if (key.size() == 5 && IsDigit(key[0]) && IsDigit(key[1]) && IsDigit(key[2]) &&
        IsDigit(key[3]) && IsDigit(key[4]))
        return mFiveDigits[size_t(std::stoi(std::string(key)))];
    const auto& keys = Group(key) == TGroup::Digit ? mDigitKeys : mOtherKeys;
    const auto it = keys.find(std::string(key));
    return it == keys.end() ? 0 : it->second;
}

QStringList TZipTally::Lines() const
{
    QStringList lines;
    // Five-digit keys and the other digit keys merge in byte order within each first digit.
    auto other = mDigitKeys.begin();
    for (std::size_t i = 0; i < kFiveDigitKeys; ++i) {
        if (mFiveDigits[i] == 0)
            continue;
        char text[6];
        std::snprintf(text, sizeof text, "%05zu", i);
        const std::string key(text, 5);
        for (; other != mDigitKeys.end() && other->first < key; ++other)
            lines << Line(other->first, other->second);
        lines << Line(key, mFiveDigits[i]);
    }
    for (; other != mDigitKeys.end(); ++other)
        lines << Line(other->first, other->second);
    lines << QString() << QString();
    for (const auto& [key, count] : mOtherKeys)
        lines << Line(key, count);
    if (mBlank > 0)
        lines << Line("BLANK", mBlank);
    return lines;
}

} // namespace qm::reports
