#pragma once
#include <QStatusBar>
#include <vector>

class QLabel;

// A status bar of text panels with fixed widths; the last panel takes the rest.
class TStatusBar : public QStatusBar {
    Q_OBJECT

public:
    TStatusBar(const std::vector<int>& widths, QWidget* parent);
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QLabel* panel(int index) const { return panels_.at(static_cast<size_t>(index)); }

private:
    std::vector<QLabel*> panels_;
};
