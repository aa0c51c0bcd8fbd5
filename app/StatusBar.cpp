#include "StatusBar.h"

#include <QLabel>
#include <QSizeGrip>
#include <algorithm>

namespace {
const int kTopBorder = 2;
const int kGap = 2;
} // namespace

TStatusBar::TStatusBar(const std::vector<int>& widths, QWidget* parent)
    : QWidget(parent), widths_(widths), grip_(new QSizeGrip(this))
{
    for (size_t i = 0; i < widths_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setIndent(2);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panels_.push_back(label);
    }
    placePanels();
}

QString TStatusBar::panelText(int index) const { return panel(index)->text(); }

void TStatusBar::setPanelText(int index, const QString& text) { panel(index)->setText(text); }

void TStatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placePanels();
}

void TStatusBar::placePanels()
{
    const int panelHeight = std::max(0, height() - kTopBorder);
    const int gripSize = std::min(height(), grip_->sizeHint().width());
    grip_->setGeometry(width() - gripSize, height() - gripSize, gripSize, gripSize);
    int left = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int panelWidth = last ? std::max(widths_[i], width() - gripSize - left) : widths_[i];
        panels_[i]->setGeometry(left, kTopBorder, panelWidth, panelHeight);
        left += panelWidth + kGap;
    }
}
