#pragma once

#include <QFrame>
#include <QString>

namespace td {

// A read-only value that looks like a sunken box (the term date, the future
// value). Assistive technology reads it as a text named by its caption whose
// text is the value shown, and hears each change of the value.
class ValueDisplay : public QFrame {
    Q_OBJECT

public:
    explicit ValueDisplay(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

signals:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

}  // namespace td
