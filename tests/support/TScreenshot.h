#pragma once

// Saves a picture of a widget as <QM_SCREENSHOT_DIR>/<name>.png when that environment variable is
// set, so people can look at windows the tests have built (at any QT_SCALE_FACTOR). Does nothing
// otherwise.

#include <QString>

class QWidget;

namespace qm::test {

void SaveScreenshot(QWidget& widget, const QString& name);
// The whole screen as the user sees it (every window where it stands), under the same rule.
void SaveScreenScreenshot(const QString& name);

} // namespace qm::test
