#include "envelopes/TEnvelopeFeedMethod.h"

#include "data/TSettingsFile.h"

namespace qm::envelopes {
namespace {

// A stored value outside 0..last gives the default: an edited or damaged file never reaches the
// placement with a feed it does not know.
int InRange(const data::TSettingsFile& settings, const QString& key, int last, int def)
{
    const int value = settings.ReadInteger(TEnvelopeFeedMethod::Section(), key, def);
    return value >= 0 && value <= last ? value : def;
}

} // namespace

TEnvelopeFeedMethod TEnvelopeFeedMethod::Read(const data::TSettingsFile& settings)
{
    TEnvelopeFeedMethod feed;
    feed.orientation = TFeedOrientation(
        InRange(settings, QStringLiteral("Orientation"), 1, int(feed.orientation)));
    feed.facing = TFeedFacing(InRange(settings, QStringLiteral("Facing"), 1, int(feed.facing)));
    feed.position =
        TFeedPosition(InRange(settings, QStringLiteral("Position"), 2, int(feed.position)));
    feed.clockwise = settings.ReadBool(Section(), QStringLiteral("ClockWiseRotation"), false);
    return feed;
}

void TEnvelopeFeedMethod::Write(data::TSettingsFile& settings) const
{
    settings.WriteInteger(Section(), QStringLiteral("Orientation"), int(orientation));
    settings.WriteInteger(Section(), QStringLiteral("Facing"), int(facing));
    settings.WriteInteger(Section(), QStringLiteral("Position"), int(position));
    settings.WriteBool(Section(), QStringLiteral("ClockWiseRotation"), clockwise);
}

QString TEnvelopeFeedMethod::Description() const
{
    QString text;
    switch (position) {
    case TFeedPosition::Left:
        text = QStringLiteral("Position: Left\r\n");
        break;
    case TFeedPosition::Right:
        text = QStringLiteral("Position: Right\r\n");
        break;
    case TFeedPosition::Centre:
        text = QStringLiteral("Position: Center\r\n");
        break;
    }
    text += orientation == TFeedOrientation::Portrait ? QStringLiteral("Orientation : Portrait")
                                                      : QStringLiteral("Orientation : Landscape");
    text += QStringLiteral("\r\n");
    if (clockwise)
        text += QStringLiteral("Clockwise Rotation\r\n");
    text +=
        facing == TFeedFacing::Down ? QStringLiteral("Facing Down") : QStringLiteral("Facing Up");
    return text;
}

} // namespace qm::envelopes
