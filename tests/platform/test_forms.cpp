#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QMdiArea>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "testsupport/TestEnvironment.h"

using namespace corvane;
using namespace corvane::test;

namespace {

QStringList g_events;

// Records its lifecycle events under its name.
template <int N>
class Recorder : public Form {
public:
    Recorder() { setObjectName(QStringLiteral("F%1").arg(N)); }
    void Form_Load() override { g_events << objectName() + QStringLiteral(".Load"); }
    void Form_Activate() override { g_events << objectName() + QStringLiteral(".Activate"); }
    void Form_Unload(int&) override { g_events << objectName() + QStringLiteral(".Unload"); }
};
using ChildA = Recorder<1>;
using ChildB = Recorder<2>;
using Dialog = Recorder<3>;
using InnerDialog = Recorder<4>;

// Maximises its frame whenever it is activated, as the contract windows do.
class Maximising : public Form {
public:
    static inline int activations = 0;
    void Form_Activate() override
    {
        ++activations;
        if (subWindow()) subWindow()->showMaximized();
    }
};

// A main window holding the MDI area, as the real one does.
class MainFrame : public Form {
public:
    MainFrame()
    {
        area = new QMdiArea(this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(area);
        resize(800, 600);
        FormRegistry::instance().setMdiArea(area);
    }
    QMdiArea* area;
};

class FormLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetServices();
        g_events.clear();
        main = Forms::get<MainFrame>();
        main->Show();
        QApplication::setActiveWindow(main);
    }
    void TearDown() override
    {
        FormRegistry::instance().unloadAll();
        FormRegistry::instance().setMdiArea(nullptr);
    }
    // What happened since the last call.
    static std::string events()
    {
        QApplication::processEvents();
        const QString e = g_events.join(QLatin1Char(' '));
        g_events.clear();
        return e.toStdString();
    }
    MainFrame* main = nullptr;
};

TEST_F(FormLifecycle, ActivateWhenFirstShownAndWhenAChildBecomesTheActiveOne)
{
    Forms::get<ChildA>()->Show();
    EXPECT_EQ(events(), "F1.Load F1.Activate");

    Forms::get<ChildA>()->Show();  // already the active child
    EXPECT_EQ(events(), "");

    Forms::get<ChildB>()->Show();
    EXPECT_EQ(events(), "F2.Load F2.Activate");

    Forms::get<ChildA>()->ZOrder();
    EXPECT_EQ(events(), "F1.Activate");

    Forms::unload<ChildA>();
    EXPECT_EQ(events(), "F1.Unload F2.Activate");
}

TEST_F(FormLifecycle, ActivateWhenAModalWindowItOpenedCloses)
{
    auto* a = Forms::get<ChildA>();
    a->Show();
    events();

    onModal<Dialog>([](Dialog&) {
        // A modal window inside the modal one: the outer one is activated again.
        Forms::get<InnerDialog>()->ShowModal();
    });
    Forms::get<Dialog>()->ShowModal();

    EXPECT_EQ(events(), "F3.Load F3.Activate F4.Load F4.Activate F4.Unload F3.Activate F3.Unload F1.Activate");
}

TEST_F(FormLifecycle, AHandlerThatShowsAModalWindowFinishesBeforeTheActivation)
{
    onModal<Dialog>([](Dialog&) {
        {
            Form::HandlerScope handler(Forms::get<Dialog>());
            Forms::get<InnerDialog>()->ShowModal();
            g_events << QStringLiteral("handler.reads");
            {
                Form::HandlerScope nested(Forms::get<Dialog>());
            }
            g_events << QStringLiteral("handler.ends");
        }
        // Without a handler holding it, the activation comes at once again.
        Forms::get<InnerDialog>()->ShowModal();
    });
    Forms::get<Dialog>()->ShowModal();
    EXPECT_EQ(events(), "F3.Load F3.Activate F4.Load F4.Activate F4.Unload handler.reads handler.ends F3.Activate "
                        "F4.Load F4.Activate F4.Unload F3.Activate F3.Unload");
}

TEST_F(FormLifecycle, NoActivateWhenTheMainWindowComesBackFromAnotherWindow)
{
    Forms::get<ChildA>()->Show();
    events();

    // Another program takes the activation away and gives it back.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    other.hide();
    QApplication::setActiveWindow(main);
    EXPECT_EQ(events(), "");

    // A message box over the main window.
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("x"), QMessageBox::Ok, main);
    QTimer::singleShot(0, &box, [&box] { box.accept(); });
    box.exec();
    QApplication::setActiveWindow(main);
    EXPECT_EQ(events(), "");
    EXPECT_EQ(main->area->activeSubWindow(), Forms::find<ChildA>()->subWindow());
}

TEST_F(FormLifecycle, AChildThatMaximisesItselfOnActivationIsActivatedOnce)
{
    Maximising::activations = 0;
    Forms::get<Maximising>()->Show();
    Forms::get<ChildA>()->Show();
    Forms::get<Maximising>()->ZOrder();
    QApplication::processEvents();
    EXPECT_EQ(Maximising::activations, 2);
}

TEST_F(FormLifecycle, AHiddenChildShownAgainIsActivatedAgain)
{
    auto* a = Forms::get<ChildA>();
    a->Show();
    events();
    a->Hide();
    a->Show();
    EXPECT_EQ(events(), "F1.Activate");
}

// A window wider than the small screen, with a panel over its controls.
class Wide : public Form {
public:
    Wide()
    {
        setObjectName(QStringLiteral("Wide"));
        setWindowFlags(Qt::Dialog);
        setFixedSize(1080, 500);
        farButton = new QPushButton(QStringLiteral("关闭"), this);
        farButton->setGeometry(980, 450, 90, 30);
        QObject::connect(farButton, &QPushButton::clicked, this, [this] {
            ++closes;
            Unload();
        });
        panel = new QFrame(this);
        panel->setGeometry(10, 10, 1060, 400);
        panelClose = new QPushButton(QStringLiteral("×"), panel);
        panelClose->setGeometry(1020, 5, 30, 30);
        QObject::connect(panelClose, &QPushButton::clicked, panel, &QWidget::hide);
        panel->hide();
        addClosablePanel(panel, panelClose);
    }
    QPushButton *farButton, *panelClose;
    QFrame* panel;
    int closes = 0;
};

void escapeOn(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST_F(FormLifecycle, AWindowLargerThanTheScreenScrollsToEveryControl)
{
    auto* w = Forms::get<Wide>();
    w->setWindowTitle(QStringLiteral("宽"));
    ASSERT_TRUE(w->fitIntoRoom(QRect(0, 0, 1024, 768)));
    auto* host = qobject_cast<QScrollArea*>(w->frame());
    ASSERT_TRUE(host);
    EXPECT_TRUE(host->isWindow());
    EXPECT_EQ(host->windowTitle(), QStringLiteral("宽"));
    EXPECT_LE(host->width() + 8, 1024);
    EXPECT_EQ(w->size(), QSize(1080, 500));  // laid out as designed, scrolled
    host->show();
    // Esc with the focus on the scroll area itself reaches the window.
    w->panel->show();
    escapeOn(host);
    EXPECT_TRUE(w->panel->isHidden());
    host->ensureWidgetVisible(w->farButton);
    QApplication::processEvents();
    EXPECT_TRUE(host->viewport()->rect().contains(
        QRect(w->farButton->mapTo(host->viewport(), QPoint(0, 0)), w->farButton->size())));
    // The title bar's close box is the window's own.
    host->close();
    QApplication::processEvents();
    EXPECT_FALSE(Forms::isLoaded<Wide>());

    // A window that fits keeps its own frame.
    auto* small = Forms::get<Dialog>();
    small->resize(400, 300);
    EXPECT_FALSE(small->fitIntoRoom(QRect(0, 0, 1024, 768)));
    EXPECT_EQ(small->frame(), small);
}

TEST_F(FormLifecycle, EscClosesThePanelFirstThenTheModalWindowAsItsButtonDoes)
{
    bool ran = false;
    doubles().runner->scripts[typeid(Wide)].push_back([&](Form& f) {
        ran = true;
        auto& w = static_cast<Wide&>(f);
        w.panel->show();
        escapeOn(w.farButton);
        EXPECT_TRUE(w.panel->isHidden());
        EXPECT_TRUE(w.isLoaded());
        w.setCancelButton(w.farButton);
        escapeOn(&w);
        EXPECT_EQ(w.closes, 1);
    });
    Forms::get<Wide>()->ShowModal();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(Forms::isLoaded<Wide>());

    // Without a cancel button Esc is the close box; a child of the main
    // window keeps Esc for its controls.
    doubles().runner->scripts[typeid(Dialog)].push_back([](Form& f) { escapeOn(&f); });
    Forms::get<Dialog>()->ShowModal();
    EXPECT_FALSE(Forms::isLoaded<Dialog>());
    auto* child = Forms::get<ChildA>();
    child->Show();
    escapeOn(child);
    EXPECT_TRUE(Forms::isLoaded<ChildA>());
}

}  // namespace
