#include "app/Banner.h"

#include <QLinearGradient>
#include <QPainter>

#include "platform/Forms.h"

namespace corvane {

namespace {
constexpr int kFixedLeft = 8850;  // twips of the picture that always stay as drawn
constexpr int kSlice = 300;
constexpr int kRight = 4000;

QRect toPixels(const QRect& twips)
{
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}
}  // namespace

std::vector<BannerCopy> BannerCopies(const QSize& strip, const QSize& picture)
{
    std::vector<BannerCopy> copies;
    const int rightStart = strip.width() - kRight;
    for (int i = 1; i <= 10000; ++i) {
        const int x = kFixedLeft + kSlice * i;
        if (x >= rightStart) break;
        copies.push_back({QRect(kFixedLeft, 0, kSlice, picture.height()), QRect(x, 0, kSlice, strip.height())});
    }
    const int sourceWidth = std::max(0, picture.width() - kFixedLeft);
    copies.push_back({QRect(kFixedLeft, 0, sourceWidth, picture.height()), QRect(rightStart, 0, kRight, strip.height())});
    return copies;
}

QPixmap BannerPicture()
{
    QPixmap pixmap(1028, 54);
    QPainter p(&pixmap);
    QLinearGradient gradient(0, 0, 1028, 0);
    gradient.setColorAt(0, QColor(0x12, 0x3a, 0x63));
    gradient.setColorAt(0.57, QColor(0x2b, 0x6c, 0xa8));
    gradient.setColorAt(1, QColor(0x6f, 0xa8, 0xd8));
    p.fillRect(pixmap.rect(), gradient);
    p.setPen(QColor(255, 255, 255, 60));
    for (int x = -54; x < 1028; x += 12) p.drawLine(x, 54, x + 54, 0);
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(18, 0, 560, 54), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Corvane 合同管理"));
    return pixmap;
}

QPixmap ProgramEmblem(int size, const QColor& colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size / 5.0, size / 5.0);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(size / 2);
    font.setBold(true);
    p.setFont(font);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("C"));
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 64}) icon.addPixmap(ProgramEmblem(size, QColor(0x1f, 0x4e, 0x79)));
    return icon;
}

BannerStrip::BannerStrip(QWidget* parent) : QWidget(parent), Picture(BannerPicture())
{
    setFixedHeight(Picture.height());
}

void BannerStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawPixmap(0, 0, Picture);
    const QSize strip(pixelsToTwips(width()), pixelsToTwips(height()));
    const QSize picture(pixelsToTwips(Picture.width()), pixelsToTwips(Picture.height()));
    for (const BannerCopy& copy : BannerCopies(strip, picture))
        if (!copy.source.isEmpty()) p.drawPixmap(toPixels(copy.target), Picture, toPixels(copy.source));
}

}  // namespace corvane
