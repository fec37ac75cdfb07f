// make-icon-pngs: writes the application icon as hicolor PNGs, DIR/SIZExSIZE/apps/NAME.png for
// each given size, scaled from the 32 x 32 pixel rows the About box shows.
#include <QDir>
#include <QImage>

#include <cstdio>
#include <string>

#include "app/qt/icon_image.h"
#include "resources/panel_templates.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "Usage: make-icon-pngs DIR NAME SIZE...\n");
        return 2;
    }
    const QImage icon = orvane::iconImage(orvane::appIconId);
    for (int i = 3; i < argc; ++i) {
        const int size = std::stoi(argv[i]);
        // Whole multiples keep the pixel art sharp; other sizes are smoothed.
        const Qt::TransformationMode mode =
            size % icon.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
        const QString folder = QString("%1/%2x%2/apps").arg(argv[1]).arg(size);
        const QString file = QString("%1/%2.png").arg(folder, argv[2]);
        if (!QDir().mkpath(folder) ||
            !icon.scaled(size, size, Qt::IgnoreAspectRatio, mode).save(file, "PNG")) {
            std::fprintf(stderr, "make-icon-pngs: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
