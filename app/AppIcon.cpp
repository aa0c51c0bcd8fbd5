#include "AppIcon.h"

#include <QPixmap>

#include "quorvel_icon.xpm"

QIcon AppIcon() { return QIcon(QPixmap(quorvel_icon_xpm)); }
