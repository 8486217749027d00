// The window's look: its fixed measures and its two fonts. The fonts come
// from Debian's fonts-liberation2 (Liberation Sans, near Arial's widths, so
// the captions fit their fixed buttons) and fonts-dejavu-core (DejaVu Sans
// Mono for the log); sizes are in pixels, so the fixed layout never
// depends on the screen's dots per inch.
#pragma once

#include <QFont>

namespace mirelon {

inline constexpr int kClientWidth = 678, kClientHeight = 444;
inline constexpr int kStatusBarHeight = 20, kButtonPanelHeight = 41, kButtonHeight = 33;

QFont InterfaceFont();
QFont LogFont();

}  // namespace mirelon
