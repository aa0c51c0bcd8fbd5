#pragma once
#include <QLabel>

// The notice label: navy text drawn lowered (a light copy one pixel below and to
// the right), on a transparent background.
class TfcLabel : public QLabel {
    Q_OBJECT

public:
    TfcLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
