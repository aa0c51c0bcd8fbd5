#pragma once
#include <QIcon>

// The program's single 32 x 32 icon, shown by both windows and the taskbar.
QIcon AppIcon();
