#pragma once
// MakeUiFont: the console's user-interface font: the face of resource text
// 256 at the point size of text 257, normal weight. The tabs, the controller
// and the settings pages use it as it is; the caution heading asks for 16
// pixels.
#include <QFont>

// False (font untouched) when no screen is available to size it for. A
// pixelHeight above 0 replaces the point size. A point size text that is not
// a number from 1 to 72 keeps the application's size.
bool MakeUiFont(QFont& font, int pixelHeight = 0);
