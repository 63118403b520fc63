#pragma once
// CLabeledSlider: the settings pages' horizontal slider with ticks below it
// and the range's minimum and maximum written under the two ends of its
// track, in the slider's font (the pages' user-interface font), so the
// operator sees the bounds without dragging to them. Owned by its page.
#include <QSlider>

class CLabeledSlider : public QSlider {
    Q_OBJECT
public:
    explicit CLabeledSlider(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where the labels are drawn, for the tests of the layout.
    QRect MinimumLabelRect() const;
    QRect MaximumLabelRect() const;

protected:
    // The slider proper (track, handle, ticks, mouse) keeps to the part
    // above the labels.
    void initStyleOption(QStyleOptionSlider* option) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TrackRect() const;
    QRect LabelRect(int value, bool atLeft) const;
    int LabelHeight() const;
};
