#pragma once
#include <QFont>
#include <QString>
#include <QWidget>

#include "AppIcon.h"

// What both windows share as designed: their caption, the program icon and the
// 8-point (11-pixel) window font.
inline void ApplyFormStyle(QWidget* form, const QString& caption)
{
    form->setWindowTitle(caption);
    form->setWindowIcon(AppIcon());
    QFont font = form->font();
    font.setPixelSize(11);
    form->setFont(font);
}
