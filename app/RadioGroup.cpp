#include "RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(1, columns))
{
    group_->setExclusive(true);
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        group_->addButton(button, static_cast<int>(buttons_.size()));
        buttons_.push_back(button);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this] { updateTabStop(); });
    updateTabStop();
    placeItems();
}

int TRadioGroup::itemIndex() const { return group_->checkedId(); }

void TRadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, itemCount() - 1);
    if (index >= 0) {
        item(index)->setChecked(true);
        return;
    }
    if (QAbstractButton* checked = group_->checkedButton()) {
        // An exclusive group refuses to uncheck its last item; lift that for the clearing.
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
}

void TRadioGroup::updateTabStop()
{
    const int stop = std::max(0, itemIndex());
    for (int i = 0; i < itemCount(); ++i) {
        const Qt::FocusPolicy policy = item(i)->focusPolicy();
        item(i)->setFocusPolicy(i == stop ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                          : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeItems();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeItems();
}

void TRadioGroup::placeItems()
{
    // The items share the box below the caption line in equal columns and rows.
    const int textHeight = fontMetrics().height();
    const int rows = (itemCount() + columns_ - 1) / columns_;
    if (rows == 0)
        return;
    const int usableHeight = std::max(rows, height() - textHeight - 5);
    const int itemWidth = (width() - 10) / columns_;
    const int itemHeight = usableHeight / rows;
    const int top = textHeight + 1 + (usableHeight % rows) / 2;
    for (int i = 0; i < itemCount(); ++i)
        item(i)->setGeometry(8 + (i / rows) * itemWidth, top + (i % rows) * itemHeight, itemWidth, itemHeight);
}

void TRadioGroup::paintEvent(QPaintEvent*)
{
    // An etched frame whose top line runs through the middle of the caption.
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));

    const QRect captionBox(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(captionBox, palette().color(backgroundRole()));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionBox, Qt::AlignCenter, title());
}
