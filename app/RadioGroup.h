#pragma once
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

// A titled group of radio items in columns with an item index, as the option
// editors use it: -1 is no item; a value below -1 gives -1, one above the last
// item gives the last item. Unlike Qt's exclusive groups it can clear its selection.
// The group is one tab stop (the selected item, else the first); the arrow keys
// move the selection inside it.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    int itemCount() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* item(int index) const { return buttons_.at(static_cast<size_t>(index)); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeItems();
    void updateTabStop();
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
};
