#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace td {

// A check box that switches a box on and off. The whole of its place takes
// the click, not only the box and caption; assistive technology reads its
// caption ("On" or "Off") as its text, beside its name.
class OnOffSwitch : public QCheckBox {
    Q_OBJECT

public:
    OnOffSwitch(const QString& caption, QWidget* parent = nullptr);

    // Sets the caption and tells assistive technology that the text changed.
    void setCaption(const QString& caption);

protected:
    bool hitButton(const QPoint& pos) const override;
};

// An option button whose whole place takes the click.
class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace td
