#include "EngravedLabel.h"

#include <QPainter>

TfcLabel::TfcLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
}

void TfcLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QRect box = contentsRect();
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(box.translated(1, 1), int(alignment()), text());
    painter.setPen(QColor(0x00, 0x00, 0x80));
    painter.drawText(box, int(alignment()), text());
}
