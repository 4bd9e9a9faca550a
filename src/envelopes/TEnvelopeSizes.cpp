#include "envelopes/TEnvelopeSizes.h"

#include <array>

namespace qm::envelopes {
namespace {

// Millimetre sizes at 25 mm per inch: 110 mm is 4.4 in, 162 mm 6.48 in, 229 mm 9.16 in.
constexpr std::array<TEnvelopeSize, TEnvelopeSizes::kCount> kSizes{{
    {"Envelope #9 3 7/8 x 8 7/8 inches", 19, {8875, 3875}},
    {"Envelope #10 4 1/8 x 9 1/2 inches", 20, {9500, 4125}},
    {"Envelope #11 4 1/2 x 10 3/8 inches", 21, {10375, 4500}},
    {"Envelope #12 4 3/4 x 11 inches", 22, {11000, 4750}},
    {"Envelope #14 5 x 11 1/2 inches", 23, {11500, 5000}},
    {"Envelope DL 110 x 220 mm", 27, {8800, 4400}},
    {"Envelope C5 162 x 229 mm ", 28, {9160, 6480}},
    {"Envelope C4  229 x 324 mm", 30, {12960, 9160}},
    {"Envelope C6  114 x 162 mm", 31, {6480, 4560}},
    {"Envelope C65 114 x 229 mm", 32, {9160, 4560}},
    {"Envelope B4  250 x 353 mm", 33, {14120, 10000}},
    {"Envelope B5  176 x 250 mm", 34, {10000, 7040}},
    {"Envelope B6  176 x 125 mm", 35, {5000, 7040}},
    {"Envelope 110 x 230 mm", 36, {9200, 4400}},
    {"Envelope Monarch 3 7/8 x 7 1/2 inches", 37, {7500, 3875}},
    {"6 3/4 Envelope 3 5/8 x 6 1/2 inches", 38, {6500, 3625}},
}};

} // namespace

const TEnvelopeSize& TEnvelopeSizes::At(int index)
{
    return kSizes.at(size_t(index));
}

QStringList TEnvelopeSizes::ListTexts()
{
    QStringList texts;
    for (const TEnvelopeSize& size : kSizes)
        texts << QString::fromLatin1(size.text);
    return texts;
}

int TEnvelopeSizes::IndexOf(int code)
{
    for (int i = 0; i < kCount; ++i)
        if (kSizes[size_t(i)].code == code)
            return i;
    return -1;
}

std::optional<TEnvelopeFace> TEnvelopeSizes::Face(int code)
{
    const int index = IndexOf(code);
    if (index < 0)
        return std::nullopt;
    return kSizes[size_t(index)].face;
}

} // namespace qm::envelopes
