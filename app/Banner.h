#pragma once
// The banner strip along the top of the main window: its picture at natural
// size, a middle filled with copies of one slice, and the picture's right-hand
// part squeezed into the strip's last 4000 twips.

#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace corvane {

// One copy from the banner picture onto the strip, both rectangles in twips.
struct BannerCopy {
    QRect source;
    QRect target;
    bool operator==(const BannerCopy&) const = default;
};

// The copies drawn over the picture for a strip of this inner size (twips).
// The last copy's source is clipped to the picture, so no area beyond its right
// edge is ever read.
std::vector<BannerCopy> BannerCopies(const QSize& strip, const QSize& picture);

// The banner picture (1028 x 54 pixels). We ship no artwork, so it is drawn.
QPixmap BannerPicture();

// The program's emblem, a square of `size` pixels in `colour` (the about
// box's pictures and, in the program's blue, the windows' icon).
QPixmap ProgramEmblem(int size, const QColor& colour);
QIcon ProgramIcon();

class BannerStrip : public QWidget {
    Q_OBJECT
public:
    explicit BannerStrip(QWidget* parent = nullptr);
    QPixmap Picture;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane
