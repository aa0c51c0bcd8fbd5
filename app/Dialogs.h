#pragma once
#include <QString>
#include <functional>

// The program's two message boxes. Both are modal and return when closed.
namespace dialogs {

// The plain message box: the text, one OK button, no icon, the title as caption.
void ShowMessage(const QString& text);

// The standard error box for an exception that escaped an event handler.
void ShowErrorBox(const QString& message);

// The error box's text: a full stop is appended when the last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Tests replace the boxes with a recorder; the presenter runs where the box would.
enum class BoxKind { Message, Error };
using Presenter = std::function<void(BoxKind kind, const QString& text)>;
void SetPresenter(Presenter presenter);

} // namespace dialogs
