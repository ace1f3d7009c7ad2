#pragma once
// The program's own colours, used wherever it draws its identity (icons, splash) and by
// its instruments for accents.

#include <QColor>

namespace kestrum {

inline const QColor kBrandBlue(47, 95, 170);
inline const QColor kBrandLightBlue(120, 165, 225);

}  // namespace kestrum
