#pragma once
// The program's icon, drawn in code (the installed icon is the same picture as an SVG file).

#include <QIcon>
#include <QPixmap>

QPixmap AppIconPixmap(int size);
QIcon AppIcon();
