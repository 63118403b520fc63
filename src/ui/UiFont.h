#pragma once
// MakeUiFont: the console's user-interface font: the face of resource text
// 256 at the point size of text 257. The tabs, the controller and the
// settings pages use it as it is; the caution heading at 16 pixels.
#include <QFont>

// False (font untouched) when no screen is available to size it for.
bool MakeUiFont(QFont& font);
