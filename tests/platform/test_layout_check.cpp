// What the layout checks catch, each on a small window built to show it: a
// status line drawn over the controls beside it, and a window opened over
// another whose bottom edge runs across the other's buttons and figures.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;

namespace {

// A window of its own with a heading, and a figure and two buttons along its bottom.
template <int N>
class Dialog : public Form {
public:
    Dialog()
    {
        setObjectName(QStringLiteral("Dialog%1").arg(N));
        setWindowFlags(Qt::Dialog);
        heading = new QLabel(QStringLiteral("合同收款"), this);
        heading->setObjectName(QStringLiteral("Label2"));
        total = new QLabel(QStringLiteral("合计收款 30000.00"), this);
        total->setObjectName(QStringLiteral("Label1"));
        ok = new QPushButton(QStringLiteral("确定"), this);
        ok->setObjectName(QStringLiteral("Command1"));
        quit = new QPushButton(QStringLiteral("退出"), this);
        quit->setObjectName(QStringLiteral("Command2"));
        status = new QStatusBar(this);
        status->setObjectName(QStringLiteral("StatusBar1"));
        status->setSizeGripEnabled(false);
        lay(QSize(600, 400));
    }
    // The controls as the window's size places them: the row of controls
    // near the bottom, the status line below it.
    void lay(QSize size, int statusHeight = 20)
    {
        setFixedSize(size);
        heading->setGeometry(20, 20, 200, 24);
        const int row = size.height() - 56;
        total->setGeometry(20, row, 200, 28);
        ok->setGeometry(size.width() - 200, row, 90, 28);
        quit->setGeometry(size.width() - 100, row, 90, 28);
        status->setGeometry(0, size.height() - statusHeight, size.width(), statusHeight);
    }
    QLabel *heading, *total;
    QPushButton *ok, *quit;
    QStatusBar* status;
};
using Opener = Dialog<1>;
using Over = Dialog<2>;

class LayoutCheck : public ::testing::Test {
protected:
    void SetUp() override { resetServices(); }
    void TearDown() override { FormRegistry::instance().unloadAll(); }
};

TEST_F(LayoutCheck, AStatusLineOverTheControlsBesideItIsCaught)
{
    auto* w = Forms::get<Opener>();
    EXPECT_EQ(layoutProblems(w), QStringList());
    // Two pixels too tall: it runs over the row above it.
    w->lay(QSize(600, 400), 38);
    EXPECT_EQ(layoutProblems(w), (QStringList{"StatusBar1: over Label1", "StatusBar1: over Command1",
                                               "StatusBar1: over Command2"}));
    // A control it does not touch is left alone.
    w->total->hide();
    EXPECT_EQ(layoutProblems(w).size(), 2);
}

// Both open centred where the program puts them; what the smaller one's edge
// cuts depends on its size only.
TEST_F(LayoutCheck, AWindowWhoseEdgeCutsTheButtonsBeneathIsCaught)
{
    auto* opener = Forms::get<Opener>();
    // 600x400: its heading 180 to 156 px above its centre, its row of
    // controls 144 to 172 px below.
    opener->presentModal();
    struct Case {
        QSize over;
        QStringList problems;
    };
    const Case cases[] = {
        // Between the heading and the row.
        {{500, 200}, {}},
        // Its title bar runs across the heading.
        {{500, 270}, {"Label2: cut by the edge of Dialog2"}},
        // Its bottom edge (and frame) runs across the row.
        {{500, 300}, {"Label1: cut by the edge of Dialog2", "Command1: cut by the edge of Dialog2",
                      "Command2: cut by the edge of Dialog2"}},
        // Taller than the opener: its sides cross the figure and 退出, as the
        // sides of any narrower window do, but no edge runs along the row.
        {{400, 500}, {}},
        // Covers the opener whole.
        {{700, 500}, {}},
    };
    for (const Case& c : cases) {
        auto* over = Forms::get<Over>();
        over->lay(c.over);
        over->presentModal();
        QApplication::processEvents();
        EXPECT_EQ(coverProblems(*over, *opener), c.problems) << c.over.width() << "x" << c.over.height();
        over->Unload();
        QApplication::processEvents();
    }
}

// A window too wide for the screen is shown in a scroll area; a window opened
// over it still sits in its middle, as it would over a window that fits.
TEST_F(LayoutCheck, AWindowOpenedOverAScrolledOneSitsInItsMiddle)
{
    auto* opener = Forms::get<Opener>();
    opener->lay(QSize(2000, 400));
    opener->presentModal();
    ASSERT_NE(opener->frame(), opener);
    auto* over = Forms::get<Over>();
    over->lay(QSize(500, 300));
    over->presentModal();
    QApplication::processEvents();
    EXPECT_LE((over->frame()->geometry().center() - opener->frame()->geometry().center()).manhattanLength(), 2);
}

}  // namespace
