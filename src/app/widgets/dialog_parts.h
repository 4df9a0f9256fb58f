#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

namespace td {

// The frame of every fixed window: a single border with a title and a close
// box, no minimise or maximise button, not resizable.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint;

// A caption placed at its design position, named for tests and assistive technology.
inline QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect place,
                         Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment);
    label->setGeometry(place);
    return label;
}

}  // namespace td
