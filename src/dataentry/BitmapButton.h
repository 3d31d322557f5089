#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace lumetra {

// A push button drawn from four images named after its caption: up ("U"), down ("D"), focused
// ("F") and disabled ("X"), each 16 x 15 pixels.
class CBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CBitmapButton(const QString& caption, QWidget* parent = nullptr);

    // Loads the four images of the caption; false when the caption has none.
    bool LoadBitmaps();
    // The image of a state suffix, for whoever wants to look at it.
    QPixmap Image(char state) const;

    QSize sizeHint() const override { return {24, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_images[4];
};

} // namespace lumetra
