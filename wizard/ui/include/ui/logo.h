// Carwright's logo, drawn in code at any size: a rally car on a gravel-brown
// badge with a wrench over it. The wizard shows it on every page; the build
// renders it into the program's icon.
#pragma once

#include <QImage>

namespace wizard::ui {

// The logo as a square image of `size` pixels with a transparent background.
QImage CarwrightLogo(int size);

}  // namespace wizard::ui
