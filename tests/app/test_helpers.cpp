#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMdiArea>
#include <QVBoxLayout>
#include <cmath>
#include <map>
#include <tuple>

#include "app/Helpers.h"
#include "platform/FlexGrid.h"
#include "platform/TextMeasure.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;

TEST(CenterForm, PositionIsHalfTheDifferenceUnrounded)
{
    struct Case {
        QSizeF client, form;
        QPointF at;
    };
    const Case cases[] = {
        {{10000, 6000}, {6000, 4000}, {2000, 1000}},
        {{10000, 6000}, {12000, 4000}, {-1000, 1000}},
        {{10000, 6000}, {6001, 4000}, {1999.5, 1000}},
    };
    for (const Case& c : cases) EXPECT_EQ(centredPosition(c.client, c.form), c.at);
}

TEST(CenterForm, CentresAChildInTheMainWindowsClientArea)
{
    test::resetServices();
    QMdiArea area;
    area.resize(900, 600);
    area.show();
    FormRegistry::instance().setMdiArea(&area);
    auto* form = new Form;
    form->Show();
    form->frame()->resize(300, 200);

    CenterForm(*form);

    const QSize client = area.viewport()->size();
    EXPECT_EQ(form->Left(), (client.width() - 300) / 2 * 15);
    EXPECT_EQ(form->Top(), (client.height() - 200) / 2 * 15);
    form->Unload();
    FormRegistry::instance().setMdiArea(nullptr);
}

// A window of its own (a modal one) is placed on the screen: in the middle
// of the client area, below the menus and the banner, not over them.
TEST(CenterForm, CentresAWindowOfItsOwnOverTheClientAreaOnTheScreen)
{
    test::resetServices();
    QWidget main;
    main.move(40, 30);
    auto* layout = new QVBoxLayout(&main);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* banner = new QWidget;
    banner->setFixedHeight(120);
    layout->addWidget(banner);
    auto* area = new QMdiArea;
    layout->addWidget(area, 1);
    main.resize(900, 700);
    main.show();
    FormRegistry::instance().setMdiArea(area);
    auto* form = new Form;
    form->setFixedSize(300, 200);

    CenterForm(*form);

    const QRect client(area->viewport()->mapToGlobal(QPoint(0, 0)), area->viewport()->size());
    EXPECT_LE((form->geometry().center() - client.center()).manhattanLength(), 2);
    form->Unload();
    FormRegistry::instance().setMdiArea(nullptr);
}

TEST(FitGridColWidth, WidestTextPlus120ExceptGeneralFixedAlignment)
{
    std::map<QString, double> widths = {{"head-long", 900}, {"x", 100}, {"cell", 400},
                                        {"a-much-longer-cell", 1800}, {"half-down", 122.5}, {"half-up", 123.5}};
    // Only the window's font (size 20) gives these widths; the grid's font
    // would give nonsense. Other texts (runs of one character) take 100 a
    // character, as the listed ones do but the two halves alone in their columns.
    setTextWidthMeasure([&](const QFont& f, const QString& s) {
        if (f.pointSize() != 20) return 99999.0;
        return widths.count(s) ? widths[s] : 100.0 * double(s.size());
    });

    FlexGrid g;
    g.setCols(5);
    g.setRows(3);
    const char* texts[3][5] = {{"head-long", "head-long", "x", "half-down", "half-up"},
                               {"x", "x", "cell", "", ""},
                               {"x", "x", "a-much-longer-cell", "", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) g.setTextMatrix(r, c, QString::fromLatin1(texts[r][c]));
    g.setFixedAlignment(0, flexAlignGeneral);
    g.setColWidth(0, 300);
    g.setColWidth(1, 5000);
    g.setColWidth(2, 0);
    QWidget window;
    QFont big = window.font();
    big.setPointSize(20);
    window.setFont(big);

    FitGridColWidth(g, window);

    EXPECT_EQ(g.ColWidth(0), 300);              // general fixed alignment keeps its width
    EXPECT_EQ(g.ColWidth(1), 900 + 120);        // header widest; narrower than before
    EXPECT_EQ(g.ColWidth(2), 1800 + 120);       // a longer cell further down; hidden column shows
    EXPECT_FALSE(g.isColumnHidden(2));
    EXPECT_EQ(g.ColWidth(3), 242);              // 242.5 to the even number
    EXPECT_EQ(g.ColWidth(4), 244);              // 243.5 to the even number
    setTextWidthMeasure({});
}

// The widths are those of measuring every cell in the font, for the texts
// a statistics grid holds, in the fonts windows use.
TEST(FitGridColWidth, SameWidthsAsMeasuringEveryCell)
{
    const QStringList columns[] = {
        {"合同编号", "HT-0000001", "HT-0000002", "WX-00012345", "HT-0000001-补1", ""},
        {"合同名称", "第1号楼公共设施维修合同", "第12号楼合同", "翠湖花园二期前期物业服务合同（续签）", "短", "A&B Co., Ltd."},
        {"合同金额", "1,234.56", "123,456,789.00", "0.00", "-12.30", "9"},
        {"收款日期", "2026-01-15", "2026-12-31", "", "2027-02-28", "1999-09-09"},
        {"备注", "甲\n乙丙丁戊己庚辛壬癸子丑寅卯", "WWWWWWWW", "iiiiiiiiiiiiiiiiii", "  两个空格  ", "ÄÖÜ äöü"},
    };
    const int rows = 6, cols = int(std::size(columns));
    for (const auto& [family, points, bold] : {std::tuple{QString(), 9, false},
                                               std::tuple{QStringLiteral("Noto Sans CJK SC"), 9, false},
                                               std::tuple{QStringLiteral("Noto Sans CJK SC"), 20, true}}) {
        SCOPED_TRACE(family.toStdString() + " " + std::to_string(points));
        QWidget window;
        QFont font = window.font();
        if (!family.isEmpty()) font.setFamily(family);
        font.setPointSize(points);
        font.setBold(bold);
        window.setFont(font);
        FlexGrid g;
        g.setCols(cols);
        // Many rows repeating the shapes, as a long statistics grid does.
        g.setRows(1 + 50 * (rows - 1));
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < g.Rows(); ++r)
                g.setTextMatrix(r, c, columns[c][r == 0 ? 0 : 1 + (r - 1) % (rows - 1)]);
        FitGridColWidth(g, window);
        for (int c = 0; c < cols; ++c) {
            double widest = 0;
            for (const QString& t : columns[c]) widest = std::max(widest, TextWidthTwips(font, t));
            EXPECT_EQ(g.ColWidth(c), int(std::nearbyint(widest + 120))) << "column " << c;
        }
    }
}

TEST(FitGridColWidth, GridWithoutRowsOrColumnsKeepsItsWidths)
{
    FlexGrid g;
    g.setCols(2);
    g.setRows(0);
    g.setColWidth(1, 777);
    QWidget window;
    FitGridColWidth(g, window);
    EXPECT_EQ(g.ColWidth(1), 777);

    g.setCols(0);
    EXPECT_NO_THROW(FitGridColWidth(g, window));
}

TEST(CheckNumberKey, KeysTypedIntoABox)
{
    const QString notNumber = QStringLiteral("只能输入数字和小数点");
    const QString twoPoints = QStringLiteral("小数点已经存在");
    struct Case {
        const char* name;
        QList<int> keys;
        QString kept;          // text after the accepted printable keys
        QStringList messages;  // boxes shown, in order
    };
    const QList<Case> cases = {
        {"digits and a point", {'1', '2', '.', '5'}, "12.5", {}},
        {"second point", {'1', '.', '5', '.'}, "1.5", {twoPoints}},
        {"minus anywhere, repeatedly", {'1', '-', '2', '-'}, "1-2-", {}},
        {"letter, blank, comma, Chinese", {'a', ' ', ',', 0x4E2D}, "", {notNumber, notNumber, notNumber, notNumber}},
        {"Ctrl+C, Ctrl+V, Ctrl+X", {3, 22, 24}, "", {notNumber, notNumber, notNumber}},
        {"Backspace and Enter pass", {8, 13}, "", {}},
    };
    for (const Case& tc : cases) {
        test::resetServices();
        QLineEdit box;
        for (int key : tc.keys) {
            const int kept = CheckNumberKey(key, box);
            const bool accepted = kept != 0;
            EXPECT_EQ(kept, accepted ? key : 0) << tc.name;
            if (accepted && key >= 32) box.setText(box.text() + QChar(key));
        }
        EXPECT_EQ(box.text(), tc.kept) << tc.name;
        const auto& shown = test::doubles().boxes->shown;
        ASSERT_EQ(shown.size(), tc.messages.size()) << tc.name;
        for (int i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].text, tc.messages[i]) << tc.name;
            EXPECT_EQ(shown[i].style, vbOKOnly) << tc.name;
            EXPECT_EQ(shown[i].title, AppTitle()) << tc.name;
        }
    }
}

TEST(CheckNumberKey, PointOverASelectedPointIsStillRefused)
{
    test::resetServices();
    QLineEdit box(QStringLiteral("1.5"));
    box.selectAll();
    EXPECT_EQ(CheckNumberKey('.', box), 0);
}
