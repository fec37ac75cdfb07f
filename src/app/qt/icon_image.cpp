// Conversion of the icon pixel rows and palette into Qt images.
#include "app/qt/icon_image.h"

#include <QPixmap>

#include "resources/app_icon.h"
#include "resources/panel_templates.h"

namespace orvane {

QImage iconImage(int iconId) {
    if (iconId != appIconId)
        return {};
    QImage image(appIconSize, appIconSize, QImage::Format_ARGB32);
    for (int y = 0; y < appIconSize; ++y) {
        const std::string_view row = appIconRows[static_cast<std::size_t>(y)];
        for (int x = 0; x < appIconSize; ++x) {
            const char key =
                static_cast<std::size_t>(x) < row.size() ? row[static_cast<std::size_t>(x)] : '.';
            image.setPixel(x, y, appIconColour(key));
        }
    }
    return image;
}

QIcon windowIconFor(int iconId) {
    const QImage image = iconImage(iconId);
    if (image.isNull())
        return {};
    QIcon icon(QPixmap::fromImage(image));
    icon.addPixmap(
        QPixmap::fromImage(image.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

} // namespace orvane
