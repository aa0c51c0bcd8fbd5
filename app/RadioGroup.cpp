#include "RadioGroup.h"

#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), columns_(columns)
{
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        // Exclusivity is kept by hand so that "no item" stays possible.
        button->setAutoExclusive(false);
        connect(button, &QRadioButton::clicked, this, [this, button] {
            for (QRadioButton* other : buttons_)
                other->setChecked(other == button);
        });
        buttons_.push_back(button);
    }
    placeItems();
}

int TRadioGroup::itemIndex() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::setItemIndex(int index)
{
    if (index < -1)
        index = -1;
    if (index >= itemCount())
        index = itemCount() - 1;
    for (int i = 0; i < itemCount(); ++i)
        item(i)->setChecked(i == index);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeItems();
}

void TRadioGroup::placeItems()
{
    // Items fill the box in equal columns below the caption, as the designer lays them out.
    const int left = 8, top = 14, bottom = 2;
    const int usable = width() - 2 * left;
    const int columnWidth = columns_ > 0 ? usable / columns_ : usable;
    const int rows = columns_ > 0 ? (itemCount() + columns_ - 1) / columns_ : itemCount();
    const int rowHeight = rows > 0 ? std::max(12, (height() - top - bottom) / rows) : 0;
    for (int i = 0; i < itemCount(); ++i) {
        const int column = columns_ > 0 ? i % columns_ : 0;
        const int row = columns_ > 0 ? i / columns_ : i;
        item(i)->setGeometry(left + column * columnWidth, top + row * rowHeight, columnWidth, rowHeight);
    }
}
