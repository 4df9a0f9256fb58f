#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace td {

// A picture button: an Up picture over a Down picture. A press of any mouse
// button hides the Up picture; the release shows it again and then emits
// activated(), wherever the pointer is by then (the press grabs the mouse).
class ImageButton : public QWidget {
    Q_OBJECT

public:
    // Children are named <name>Up and <name>Down, e.g. PicNewUp and PicNewDown.
    ImageButton(const QString& name, const QPixmap& up, const QPixmap& down, const QString& caption,
                QWidget* parent = nullptr);

    QLabel* upPicture() const { return m_up; }
    QLabel* downPicture() const { return m_down; }

signals:
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_up;
    QLabel* m_down;
    bool m_pressed = false;
};

}  // namespace td
