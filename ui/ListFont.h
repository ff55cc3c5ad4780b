// The font of the lists and the entry fields: 宋体 at 8 points, or the
// nearest CJK font installed.
#pragma once

#include <QFont>

namespace nm {

QFont ListFont();

} // namespace nm
