#include "gui/CjkFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace scourix {

QString CjkFont::family() {
    static const QString chosen = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* wanted :
             {"SimSun", "宋体", "NSimSun", "Noto Serif CJK SC", "AR PL UMing CN",
              "AR PL SungtiL GB", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "WenQuanYi Micro Hei"}) {
            const QString name = QString::fromUtf8(wanted);
            if (installed.contains(name, Qt::CaseInsensitive)) {
                return name;
            }
        }
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        return chinese.isEmpty() ? QString() : chinese.front();
    }();
    return chosen;
}

QFont CjkFont::font(double points) {
    QFont f;
    const QString name = family();
    if (!name.isEmpty()) {
        f.setFamilies({name});
    }
    f.setPointSizeF(points);
    return f;
}

}  // namespace scourix
