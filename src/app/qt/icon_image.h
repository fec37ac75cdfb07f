// The program's icons as Qt images, built from the pixel rows of the icon resources.
#pragma once

#include <QIcon>
#include <QImage>

namespace orvane {

// The icon with the given resource ID as a 32 x 32 ARGB image; a null image for an unknown ID.
QImage iconImage(int iconId);

// The icon as a window icon (32 x 32 and a 16 x 16 reduction); a null icon for an unknown ID.
QIcon windowIconFor(int iconId);

} // namespace orvane
