#include "StatusBar.h"

#include <QLabel>

TStatusBar::TStatusBar(const std::vector<int>& widths, QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        const bool last = i + 1 == widths.size();
        if (last) {
            label->setMinimumWidth(widths[i]);
            addWidget(label, 1);
        } else {
            label->setFixedWidth(widths[i]);
            addWidget(label);
        }
        panels_.push_back(label);
    }
}

QString TStatusBar::panelText(int index) const { return panel(index)->text(); }

void TStatusBar::setPanelText(int index, const QString& text) { panel(index)->setText(text); }
