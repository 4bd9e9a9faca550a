#pragma once

// How the printer takes envelopes: the four values of the "Paper Feed Method" dialog, kept in
// the settings file's "Envelope Feed" section. Reading takes each key's default when the key is
// missing or out of its range; writing stores all four.

#include <QString>

namespace qm::data {
class TSettingsFile;
}

namespace qm::envelopes {

enum class TFeedOrientation { Portrait = 0, Landscape = 1 };
enum class TFeedFacing { Up = 0, Down = 1 };
enum class TFeedPosition { Left = 0, Right = 1, Centre = 2 };

struct TEnvelopeFeedMethod {
    TFeedOrientation orientation = TFeedOrientation::Landscape;
    TFeedFacing facing = TFeedFacing::Down;
    TFeedPosition position = TFeedPosition::Centre;
    bool clockwise = false; // only meaningful with landscape

    friend bool operator==(const TEnvelopeFeedMethod&, const TEnvelopeFeedMethod&) = default;

    static QString Section() { return QStringLiteral("Envelope Feed"); }
    static TEnvelopeFeedMethod Read(const data::TSettingsFile& settings);
    // Throws data::TSettingsWriteError when the file cannot be written.
    void Write(data::TSettingsFile& settings) const;

    // The "Envelope Print" dialog's description: "Position: Center\r\nOrientation :
    // Landscape\r\nClockwise Rotation\r\nFacing Down" (the rotation line only when set).
    QString Description() const;
};

} // namespace qm::envelopes
