#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;

namespace td {

// A picture button: an Up picture over a Down picture. A press of any mouse
// button hides the Up picture; the release shows it again and then emits
// activated(), wherever the pointer is by then (the press grabs the mouse).
// The Down picture is drawn when the button is first pressed: nobody sees it
// before. Assistive technology sees a push button named by its caption.
class ImageButton : public QWidget {
    Q_OBJECT

public:
    // Children are named <name>Up and <name>Down, e.g. PicNewUp and PicNewDown.
    ImageButton(const QString& name, const QPixmap& up, std::function<QPixmap()> drawDown,
                const QString& caption, QWidget* parent = nullptr);

    QLabel* upPicture() const { return m_up; }
    QLabel* downPicture() const { return m_down; }
    // While a mouse button holds it down.
    bool isDown() const { return m_pressed; }

    // A whole click, as a press and release of the mouse make it: the face
    // shows pressed, comes back up, and activated() is emitted.
    void click();

signals:
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void press();
    void release();

    QLabel* m_up;
    QLabel* m_down;
    std::function<QPixmap()> m_drawDown;  // until the Down picture is drawn
    bool m_pressed = false;
};

}  // namespace td
