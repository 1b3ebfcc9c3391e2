#pragma once
// The brand profile: which elements of the full main window this brand does not offer.
// Hidden commands keep their behaviour; they are only not shown.

#include <string>
#include <vector>

namespace pelvoro {

// Object names of the menus, entries, separators, toolbars and buttons that are hidden.
const std::vector<std::string>& brandHiddenElements();
bool isHiddenByBrand(const std::string& elementName);

// Toolbars that are also shrunk to zero width.
const std::vector<std::string>& brandCollapsedToolbars();

// The image the profile gives the download button.
inline constexpr int kBrandDownloadImage = 63;

}  // namespace pelvoro
