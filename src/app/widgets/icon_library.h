#pragma once
// The main image list: small pictures drawn by the program itself for the item types
// and the toolbar buttons, addressed by their image-list index.

#include <QIcon>
#include <QString>

namespace pelvoro {

// Image-list index -> icon; a null icon for an index without a picture.
QIcon imageListIcon(int index);
// The picture of a toolbar button, by the button's name.
QIcon toolbarIcon(const QString& buttonName);
// The picture of an item type code (null for types without an icon).
QIcon itemTypeQIcon(int typeCode);

}  // namespace pelvoro
