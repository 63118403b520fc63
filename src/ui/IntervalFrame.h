#pragma once
// CIntervalFrame: the settings pages' framed "automatically, every ..."
// setting: a tick box, a slider with its range written under it, and a
// value text showing the slider's position as a bare number. The slider is
// enabled exactly when the box is ticked. Owned by its page.
#include <QGroupBox>

class CLabeledSlider;
class QCheckBox;
class QLabel;

class CIntervalFrame : public QGroupBox {
    Q_OBJECT
public:
    // valueName: the accessible name of the value text (which shows only a number).
    CIntervalFrame(const QString& title, const QString& tickText, const QString& valueName, QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum, int tickStep);
    // Shows the setting without counting it as a change.
    void ShowSetting(bool on, int value);
    bool IsOn() const;
    int Value() const;

    QCheckBox* TickBox() const { return m_tick; }
    CLabeledSlider* Slider() const { return m_slider; }
    QLabel* ValueText() const { return m_value; }

signals:
    // The operator ticked or unticked the box or moved the slider.
    void Changed();

private:
    QCheckBox* m_tick;
    CLabeledSlider* m_slider;
    QLabel* m_value;
    bool m_showing = false;
};
