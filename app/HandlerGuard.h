#pragma once
#include <exception>
#include <QString>

#include "Dialogs.h"

// Runs an event handler; an exception escaping it is shown in the standard error
// box and the program goes on. No exception may cross into Qt's event loop.
// Returns false when the handler raised.
template <class Handler>
bool Guarded(Handler&& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        dialogs::ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        dialogs::ShowErrorBox(QStringLiteral("Unknown error"));
    }
    return false;
}
