// A label that reports a click: pressed and released with the left button
// while the pointer stays over it.
#pragma once

#include <QLabel>

namespace tarvix {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace tarvix
