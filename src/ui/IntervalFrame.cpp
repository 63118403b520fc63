#include "ui/IntervalFrame.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/LabeledSlider.h"
#include "ui/UiText.h"

namespace {
// The value text keeps room for this many digits, so it does not jump.
const QString kWidestValue = QStringLiteral("0000");
}  // namespace

CIntervalFrame::CIntervalFrame(const QString& title, const QString& tickText, const QString& valueName,
                               QWidget* parent)
    : QGroupBox(title, parent),
      m_tick(new QCheckBox(tickText, this)),
      m_slider(new CLabeledSlider(this)),
      m_value(new QLabel(this)) {
    m_slider->setAccessibleName(PlainLabel(title));
    m_value->setAccessibleName(valueName);
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(kWidestValue));
    m_value->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto* row = new QHBoxLayout;
    row->addWidget(m_slider, 1);
    row->addWidget(m_value);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tick);
    layout->addLayout(row);

    connect(m_tick, &QCheckBox::toggled, this, [this](bool on) {
        m_slider->setEnabled(on);
        if (!m_showing)
            emit Changed();
    });
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_value->setText(QString::number(value));
        if (!m_showing)
            emit Changed();
    });
}

void CIntervalFrame::SetRange(int minimum, int maximum, int tickStep) {
    m_slider->setRange(minimum, maximum);
    m_slider->setTickInterval(tickStep);
    m_slider->setPageStep(tickStep * 5);
}

void CIntervalFrame::ShowSetting(bool on, int value) {
    m_showing = true;
    m_slider->setValue(value);
    m_tick->setChecked(on);
    m_value->setText(QString::number(m_slider->value()));
    m_slider->setEnabled(on);
    m_showing = false;
}

bool CIntervalFrame::IsOn() const { return m_tick->isChecked(); }

int CIntervalFrame::Value() const { return m_slider->value(); }
