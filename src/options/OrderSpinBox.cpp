#include "options/OrderSpinBox.h"

#include "data/NumberScan.h"
#include "fit/FitLimits.h"

#include <QLineEdit>

#include <algorithm>

namespace lumetra {

COrderSpinBox::COrderSpinBox() {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
}

int COrderSpinBox::Order() const {
    int order = 0;
    return ReadWholeNumber(text().toStdString(), order) ? order : 0;
}

void COrderSpinBox::stepBy(int steps) {
    // From text that is no order, a step starts at the nearest end.
    const int order = Order();
    const int next = order < 1 ? 1 : std::clamp(order + steps, 1, kMaxOrder);
    lineEdit()->setText(QString::number(next));
    lineEdit()->selectAll();
}

QValidator::State COrderSpinBox::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled COrderSpinBox::stepEnabled() const {
    if (!isEnabled())
        return StepNone;
    const int order = Order();
    if (order < 1 || order > kMaxOrder)
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (order < kMaxOrder)
        enabled |= StepUpEnabled;
    if (order > 1)
        enabled |= StepDownEnabled;
    return enabled;
}

} // namespace lumetra
