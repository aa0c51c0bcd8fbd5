#include "AppTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

QString AppTitleFromPath(const QString& programPath)
{
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString AppTitle()
{
    // The program file itself, whatever name it was started by.
    return AppTitleFromPath(QCoreApplication::applicationFilePath());
}
