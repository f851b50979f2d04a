#pragma once

#include <QFont>

namespace quillmere {

// The font of the window and of every control without a font of its own: the desktop's
// general font at 9 points, the size the window's fixed layout is drawn for.
QFont DefaultGuiFont();
// "微软雅黑" at 9 points, regular weight, falling back to other CJK sans-serif faces.
QFont YaheiFont();

}  // namespace quillmere
