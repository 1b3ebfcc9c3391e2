#pragma once
// The pictures of the item types (the main image list's item entries): a coloured tile
// with a short mark per type, and a grey variant for the ancestors of the structure print.
// Qt Gui only, so that prints can be made without widgets.

#include <QRectF>

class QPainter;

namespace pelvoro {

// Whether the image-list index has an item picture.
bool hasItemPicture(int index);
// Draws the picture of image-list index `index` into `rect` (nothing for an index without
// one); `grey` draws its grey variant.
void drawItemPicture(QPainter& painter, const QRectF& rect, int index, bool grey = false);

}  // namespace pelvoro
