#pragma once
#include <QWidget>
#include <vector>

class QLabel;
class QSizeGrip;

// A status bar of sunken text panels with fixed widths; the last panel takes the
// rest of the bar up to the size grip. The panels fill the bar's height, so that
// Chinese text keeps its full height in a bar as low as the window's 19 pixels.
class TStatusBar : public QWidget {
    Q_OBJECT

public:
    TStatusBar(const std::vector<int>& widths, QWidget* parent);
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QLabel* panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
    int panelCount() const { return static_cast<int>(panels_.size()); }
    QSizeGrip* sizeGrip() const { return grip_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePanels();
    std::vector<int> widths_;
    std::vector<QLabel*> panels_;
    QSizeGrip* grip_;
};
