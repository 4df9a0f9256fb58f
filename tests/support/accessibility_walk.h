#pragma once

#include <QStringList>

class QWidget;

namespace td::test {

// Walks a window as assistive technology reads it (QAccessible, in process)
// and lists what a screen reader user would miss: a control whose role does
// not fit its kind, a control without a name, a display, box or cell whose
// value is not the one shown, a chart without a description. Empty when the
// window reads as it looks. Tables are walked whole: give them a few rows.
QStringList accessibilityProblems(QWidget& window);

}  // namespace td::test
