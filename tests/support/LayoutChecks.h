#pragma once
// A window laid out tidily, as the user sees it: the window has the room its layout asks
// for, every tab caption shows in full, and every visible control lies inside its page (or
// the window) and is at least as large as its text needs.

#include <QString>

class QWidget;

namespace kestrum::test {

// Checks the window as it stands; a window with tabs is checked with each tab brought to
// the front in turn (the tab in front before is brought back afterwards). With a picture
// name, each view is kept as "<picture>.png" or "<picture>-tab-<n>.png" (see KeepPicture).
void ExpectTidy(QWidget& window, const QString& picture = QString());

}  // namespace kestrum::test
