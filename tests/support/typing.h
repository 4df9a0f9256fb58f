#pragma once

#include <QString>
#include <QTest>

namespace td::test {

// Types text as a keyboard delivers it, one key press carrying each
// character. QTest::keyClicks passes Latin-1 only; this types any letter
// (Greek, the Euro sign) as a keyboard layout or an input method would.
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

}  // namespace td::test
