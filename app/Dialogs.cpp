#include "Dialogs.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "AppTitle.h"

namespace dialogs {

namespace {

Presenter& presenter()
{
    static Presenter p;
    return p;
}

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, AppTitle(), text, QMessageBox::Ok);
    // Some styles put a picture on dialog buttons; the program's boxes show none but their own icon.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.setWindowModality(Qt::ApplicationModal);
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = box.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        box.move(frame.topLeft());
    }
    box.exec();
}

} // namespace

void SetPresenter(Presenter p) { presenter() = std::move(p); }

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ShowMessage(const QString& text)
{
    if (presenter())
        return presenter()(BoxKind::Message, text);
    showBox(QMessageBox::NoIcon, text);
}

void ShowErrorBox(const QString& message)
{
    const QString text = ErrorBoxText(message);
    if (presenter())
        return presenter()(BoxKind::Error, text);
    showBox(QMessageBox::Critical, text);
}

} // namespace dialogs
