// Builds a dialog's widgets from a dialog template, placed by dialog units of the dialog's font.
#pragma once

#include <vector>

#include <QFont>
#include <QImage>
#include <QRect>

#include "resources/dialog_template.h"

class QDialog;
class QWidget;

namespace orvane {

// Dialog units to pixels: a horizontal unit is a quarter of the font's average character width
// (over "A".."Z" and "a".."z"), a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(const DialogRect& rect) const;

private:
    int baseWidth_;
    int baseHeight_;
};

// One control as built: its template row, its widget, where the template puts it and how wide
// its caption may grow without reaching a neighbour.
struct BuiltControl {
    const ControlTemplate* source;
    QWidget* widget;
    QRect placed;  // pixels
    int widthRoom; // pixels; at least placed.width()
};

// The font the dialogs use: the application's sans-serif family at a size that reads well (the
// templates name a font Linux does not have).
QFont dialogFont(const DialogTemplate& dialogTemplate);

// Sets the dialog's title, font and fixed size and creates one widget per control, in template
// order (which is the tab order), with the styles honoured. Group boxes lie behind the other
// controls. Icon controls show the given image. Radio buttons are each their own group.
std::vector<BuiltControl> buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                                      const QImage& icon);

// The width a static text or radio button needs to show its caption unclipped.
int captionWidth(const QWidget& widget);

// Widens a static text or radio button to the width its caption needs, never narrower than the
// template and never wider than its room; other controls keep their size.
void fitCaption(const BuiltControl& control);

// The built control with the given ID, or nullptr.
const BuiltControl* findBuilt(const std::vector<BuiltControl>& controls, int id);

} // namespace orvane
