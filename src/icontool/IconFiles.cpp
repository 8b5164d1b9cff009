// Writes the program's own icon drawing into an icon theme's folders under the folder it is
// given: hicolor/<n>x<n>/apps/scourix.png for every size the desktops ask for, and, where
// Qt's SVG module was found, hicolor/scalable/apps/scourix.svg. Runs at build time on the
// offscreen platform; the files depend on the drawing alone, never on the time or place.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "gui/AppIcon.h"

#ifdef SCOURIX_ICON_SVG
#include <QSvgGenerator>
#endif

namespace {

QString themeFolder(const QString& root, const QString& size) {
    const QString folder = root + QStringLiteral("/hicolor/") + size + QStringLiteral("/apps");
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: scourix_icons FOLDER\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = themeFolder(root, QStringLiteral("%1x%1").arg(size));
        if (!scourix::AppIcon::pixmap(size).save(folder + QStringLiteral("/scourix.png"), "PNG")) {
            std::fprintf(stderr, "scourix_icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
#ifdef SCOURIX_ICON_SVG
    QSvgGenerator svg;
    svg.setFileName(themeFolder(root, QStringLiteral("scalable")) + QStringLiteral("/scourix.svg"));
    svg.setSize(QSize(scourix::AppIcon::kGrid, scourix::AppIcon::kGrid));
    svg.setViewBox(QRect(0, 0, scourix::AppIcon::kGrid, scourix::AppIcon::kGrid));
    svg.setTitle(QStringLiteral("Scourix"));
    svg.setDescription(QStringLiteral("A broom sweeping up a little dust on a green tile"));
    QPainter p;
    if (!p.begin(&svg)) {
        std::fputs("scourix_icons: cannot write the SVG icon\n", stderr);
        return 1;
    }
    p.setRenderHint(QPainter::Antialiasing);
    scourix::AppIcon::paint(p);
    p.end();
#endif
    return 0;
}
