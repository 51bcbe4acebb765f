// A label that reports a click: pressed and released with the left button
// while the pointer stays over it. Assistive technology sees it as a link
// named by its text, which its press action follows.
#pragma once

#include <QLabel>

namespace tarvix {

class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent = nullptr);

    // Follows the link as a click does; the way a screen reader presses it.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace tarvix
