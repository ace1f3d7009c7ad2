#pragma once
// The program's pictures, drawn here rather than shipped as images: the ten 16 x 16
// toolbar icons and the program's own picture (splash window and window icon).

#include <QPixmap>

namespace kestrum {

inline constexpr int kToolbarIconCount = 10;
inline constexpr int kToolbarIconSize = 16;

// Icon n of the toolbar, 0-based in button order.
QPixmap ToolbarIcon(int index);

inline constexpr int kProgramPictureSize = 96;
// A chip with a fan on a board: what the program is for.
QPixmap ProgramPicture();

}  // namespace kestrum
