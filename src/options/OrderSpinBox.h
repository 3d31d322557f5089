#pragma once

#include <QAbstractSpinBox>

class QLineEdit;

namespace lumetra {

// The Curve page's order: arrows and the wheel step it from 1 to 10, but its field takes any
// text, so that the page's own checks say what is wrong with an order typed (none, or not a
// whole number, or out of range) in their words rather than the box silently refusing keys.
class COrderSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    COrderSpinBox();
    QLineEdit* Edit() const { return lineEdit(); }
    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    // The order the field holds; 0 when it holds no whole number.
    int Order() const;
};

} // namespace lumetra
