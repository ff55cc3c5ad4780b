#include "ui/ListFont.h"

#include <QStringList>

namespace nm {

QFont ListFont() {
    QFont font;
    font.setFamilies({"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC", "Noto Sans CJK SC",
                      "WenQuanYi Micro Hei"});
    font.setPointSize(8);
    return font;
}

} // namespace nm
