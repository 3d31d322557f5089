#include "dataentry/BitmapButton.h"

#include "framework/CommandIds.h"
#include "framework/ToolbarImages.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace lumetra {
namespace {

constexpr char kStates[4] = {'U', 'D', 'F', 'X'};

// The paging buttons show the glyphs of the listing's paging commands.
int CommandOfCaption(const QString& caption) {
    if (caption == "NEXTPAGE")
        return cmd::kNextPage;
    if (caption == "PREVPAGE")
        return cmd::kPrevPage;
    if (caption == "GOPAGE")
        return cmd::kGoToPage;
    return 0;
}

QPixmap StateImage(const QPixmap& glyph, char state) {
    QPixmap image(glyph.size());
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (state) {
    case 'D': // pressed: the glyph one pixel down and right
        p.drawPixmap(1, 1, glyph);
        break;
    case 'X': { // disabled: the glyph's shape in grey
        p.drawPixmap(0, 0, glyph);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(image.rect(), QColor(0xa0, 0xa0, 0xa0));
        break;
    }
    case 'F': // focused: the glyph in a dotted frame
        p.drawPixmap(0, 0, glyph);
        p.setPen(QPen(QColor(0x3b, 0x6c, 0xc8), 1, Qt::DotLine));
        p.drawRect(image.rect().adjusted(0, 0, -1, -1));
        break;
    default:
        p.drawPixmap(0, 0, glyph);
    }
    return image;
}

} // namespace

CBitmapButton::CBitmapButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
}

bool CBitmapButton::LoadBitmaps() {
    const QPixmap glyph = ToolbarImage(CommandOfCaption(text()));
    if (glyph.isNull())
        return false;
    for (int i = 0; i < 4; ++i)
        m_images[i] = StateImage(glyph, kStates[i]);
    update();
    return true;
}

QPixmap CBitmapButton::Image(char state) const {
    for (int i = 0; i < 4; ++i)
        if (kStates[i] == state)
            return m_images[i];
    return QPixmap();
}

void CBitmapButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    const char state = !isEnabled() ? 'X' : isDown() ? 'D' : hasFocus() ? 'F' : 'U';
    const QPixmap image = Image(state);
    p.drawPixmap((width() - image.width()) / 2, (height() - image.height()) / 2, image);
}

} // namespace lumetra
