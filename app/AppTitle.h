#pragma once
#include <QString>

// The application's title: the program file's name without its folder, cut at
// its first dot, every character after the first in lower case.
QString AppTitleFromPath(const QString& programPath);
QString AppTitle();
