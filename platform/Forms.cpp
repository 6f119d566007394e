#include "platform/Forms.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QScrollArea>

namespace corvane {

// Shows the window application-modal and waits for it to be dismissed.
class QtFormRunner final : public FormRunner {
public:
    void runModal(Form& form) override
    {
        QPointer<Form> guard(&form);
        QEventLoop loop;
        QObject::connect(&form, &Form::dismissed, &loop, &QEventLoop::quit);
        QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
        form.presentModal();
        if (guard && guard->isVisible()) loop.exec();
    }
};

Form::Form(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_DeleteOnClose, false); }

Form::~Form() { FormRegistry::instance().remove(this); }

QWidget* Form::frame() const
{
    if (m_subWindow) return m_subWindow.data();
    if (m_scrollHost) return m_scrollHost.data();
    return const_cast<Form*>(this);
}

namespace {

// The window that holds a form too large for the screen: the title bar's
// close box is the form's own.
class ScrollHost final : public QScrollArea {
public:
    explicit ScrollHost(Form* form) : m_form(form) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (!m_form || !m_form->isLoaded() || m_form->Unload())
            event->accept();
        else
            event->ignore();
    }

    // The scroll area itself may hold the focus: Esc is still the form's.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_form && m_form->escape()) {
            event->accept();
            return;
        }
        QScrollArea::keyPressEvent(event);
    }

private:
    QPointer<Form> m_form;
};

}  // namespace

bool Form::fitIntoRoom(const QRect& room)
{
    if (m_subWindow || m_scrollHost || !isWindow() || room.isEmpty()) return false;
    // The frame the window manager adds around a window of our own.
    const QSize decoration(8, 38);
    const QSize wanted = size() + decoration;
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) return false;
    const bool shown = isVisible();
    auto* host = new ScrollHost(this);
    host->setWindowModality(windowModality());
    host->setObjectName(objectName() + QStringLiteral("_scroll"));
    host->setWindowFlags(windowFlags() & ~Qt::MSWindowsFixedSizeDialogHint);
    host->setWindowTitle(windowTitle());
    connect(this, &QWidget::windowTitleChanged, host, &QWidget::setWindowTitle);
    host->setFrameShape(QFrame::NoFrame);
    host->setWidgetResizable(false);
    host->setAttribute(Qt::WA_DeleteOnClose, false);
    host->setWidget(this);
    const int bar = host->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::min(this->width() + bar, room.width() - decoration.width());
    const int height = std::min(this->height() + bar, room.height() - decoration.height());
    host->resize(width, height);
    host->move(room.topLeft() + QPoint((room.width() - decoration.width() - width) / 2,
                                       (room.height() - decoration.height() - height) / 2));
    host->setAttribute(Qt::WA_Moved);
    m_scrollHost = host;
    if (shown) {
        show();
        host->show();
    }
    return true;
}

void Form::addClosablePanel(QWidget* panel, QAbstractButton* closeButton)
{
    QPointer<QAbstractButton> button(closeButton);
    addClosablePanel(panel, closeButton, [button] {
        if (button) button->click();
    });
}

void Form::addClosablePanel(QWidget* panel, QWidget* closeControl, std::function<void()> close)
{
    m_closablePanels.append({panel, closeControl, std::move(close)});
}

bool Form::escape()
{
    // The panel on top closes first.
    for (auto it = m_closablePanels.rbegin(); it != m_closablePanels.rend(); ++it) {
        if (it->panel && it->control && it->panel->isVisibleTo(this) && !it->panel->isHidden()) {
            if (it->control->isEnabled()) it->close();
            return true;
        }
    }
    if (!frame()->isWindow() || m_subWindow) return false;
    // Esc left over from a child of the work area reaches the main window
    // too: it must not end the program.
    if (auto* area = FormRegistry::instance().mdiArea(); area && isAncestorOf(area)) return false;
    if (m_cancelButton) {
        if (m_cancelButton->isEnabled() && m_cancelButton->isVisibleTo(this)) m_cancelButton->click();
        return true;
    }
    frame()->close();
    return true;
}

void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && escape()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::Show()
{
    if (m_unloaded) return;
    auto& reg = FormRegistry::instance();
    if (m_ownWindow && !m_shownOnce && reg.mdiArea() && !parentWidget()) {
        // Owned by the main window: it stays in front of it, centred over it.
        QWidget* owner = reg.mdiArea()->window();
        setParent(owner, windowFlags() | Qt::Dialog);
        move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
    }
    // The main window holds the MDI area and is never a child of it.
    if (!m_subWindow && reg.mdiArea() && !m_modal && !m_ownWindow && !isAncestorOf(reg.mdiArea())) {
        m_subWindow = reg.mdiArea()->addSubWindow(this);
        m_subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        // A window of fixed size, like the old fixed dialogs, cannot be
        // minimised or maximised.
        if (minimumSize() == maximumSize())
            m_subWindow->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowCloseButtonHint);
        m_subWindow->adjustSize();
    }
    const bool first = !m_shownOnce;
    const bool wasHidden = !frame()->isVisible();
    frame()->show();
    ZOrder();
    if (first) {
        // Showing makes it the active child, which would report the
        // activation too: this is the one Form_Activate of the first showing.
        m_shownOnce = true;
        if (m_subWindow) reg.m_activeChild = this;
        activate();
    } else if (wasHidden && m_subWindow && reg.m_activeChild != this && reg.m_modalStack.isEmpty()) {
        // The area may still count a hidden child as its active one and not
        // report it again.
        reg.m_activeChild = this;
        activate();
    }
}

void Form::ShowModal()
{
    if (m_unloaded) return;
    auto& reg = FormRegistry::instance();
    Form* opener = reg.activeForm();
    m_modal = true;
    reg.pushModal(this);
    QPointer<Form> self(this);
    reg.runner().runModal(*this);
    if (self) {
        self->m_modal = false;
        reg.popModal(self);
        // A modal window that the user closed without our code hiding or
        // unloading it has been closed: unload it.
        if (self->isVisible()) self->Unload();
    } else {
        reg.popModal(nullptr);
    }
    // The window that opened it gets the focus back.
    if (opener && opener->isLoaded() && opener != self) opener->activateAfterModal();
}

void Form::activateAfterModal()
{
    if (m_handlerDepth > 0)
        m_activationPending = true;
    else
        activate();
}

Form::HandlerScope::HandlerScope(Form* form) : m_form(form)
{
    if (m_form) ++m_form->m_handlerDepth;
}

Form::HandlerScope::~HandlerScope()
{
    if (!m_form || --m_form->m_handlerDepth > 0 || !m_form->m_activationPending) return;
    m_form->m_activationPending = false;
    if (m_form->isLoaded()) m_form->activate();
}

void Form::Hide()
{
    // Shown again later, it becomes the active child anew.
    auto& reg = FormRegistry::instance();
    if (reg.m_activeChild == this) reg.m_activeChild = nullptr;
    frame()->hide();
    emit dismissed();
}

bool Form::Unload()
{
    if (m_unloaded || m_inUnload) return !m_inUnload || m_unloaded;
    m_inUnload = true;
    int cancel = 0;
    Form_Unload(cancel);
    m_inUnload = false;
    if (cancel) return false;
    m_unloaded = true;
    FormRegistry::instance().remove(this);
    frame()->hide();
    emit dismissed();
    if (m_subWindow) {
        // Out of the area at once, so the next child becomes the active one now.
        if (QMdiArea* area = m_subWindow->mdiArea()) area->removeSubWindow(m_subWindow);
        m_subWindow->setWidget(nullptr);
        m_subWindow->deleteLater();
    }
    if (m_scrollHost) m_scrollHost->deleteLater();  // and this form with it
    deleteLater();
    return true;
}

void Form::ZOrder()
{
    frame()->raise();
    if (m_subWindow && FormRegistry::instance().mdiArea())
        FormRegistry::instance().mdiArea()->setActiveSubWindow(m_subWindow);
    else if (frame()->isWindow())
        frame()->activateWindow();
}

int Form::Left() const { return pixelsToTwips(frame()->x()); }
int Form::Top() const { return pixelsToTwips(frame()->y()); }
int Form::Width() const { return pixelsToTwips(frame()->width()); }
int Form::Height() const { return pixelsToTwips(frame()->height()); }
void Form::Move(int left, int top) { frame()->move(twipsToPixels(left), twipsToPixels(top)); }
void Form::Resize(int width, int height) { frame()->resize(twipsToPixels(width), twipsToPixels(height)); }

void Form::activate() { Form_Activate(); }

void Form::presentModal()
{
    if (!m_shownOnce)
        if (const QScreen* screen = QGuiApplication::primaryScreen()) fitIntoRoom(screen->availableGeometry());
    QWidget* shown = frame();
    shown->setWindowModality(Qt::ApplicationModal);
    if (!m_shownOnce && shown->isWindow() && (!shown->testAttribute(Qt::WA_Moved) || shown == m_scrollHost)) {
        // A window that placed itself nowhere opens centred over the main
        // window's work area (or the screen), never in a corner over the menus;
        // so does the scroll area holding one too large for the screen, as
        // the windows it opens centre themselves there too.
        QRect room;
        if (const QMdiArea* area = FormRegistry::instance().mdiArea(); area && area->isVisible())
            room = QRect(area->mapToGlobal(QPoint(0, 0)), area->size());
        if (room.isEmpty())
            if (const QScreen* screen = QGuiApplication::primaryScreen()) room = screen->availableGeometry();
        if (!room.isEmpty()) {
            QPoint at = room.center() - QPoint(shown->width() / 2, shown->height() / 2);
            // Larger than the work area: its top stays on the screen.
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                at = QPoint(std::max(at.x(), screen->availableGeometry().left()),
                            std::max(at.y(), screen->availableGeometry().top()));
            shown->move(at);
        }
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    if (!m_shownOnce) {
        m_shownOnce = true;
        activate();
    }
}

void Form::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (Unload())
        event->accept();
    else
        event->ignore();
}

FormRegistry& FormRegistry::instance()
{
    static FormRegistry registry;
    return registry;
}

Form* FormRegistry::find(std::type_index type) const
{
    auto it = m_forms.find(type);
    if (it == m_forms.end() || !it.value() || it.value()->m_unloaded) return nullptr;
    return it.value();
}

void FormRegistry::add(std::type_index type, Form* form) { m_forms.insert(type, form); }

void FormRegistry::remove(Form* form)
{
    for (auto it = m_forms.begin(); it != m_forms.end();) {
        if (it.value() == form || !it.value())
            it = m_forms.erase(it);
        else
            ++it;
    }
}

QList<Form*> FormRegistry::loaded() const
{
    QList<Form*> list;
    for (const auto& f : m_forms)
        if (f && !f->m_unloaded) list.append(f);
    return list;
}

void FormRegistry::setMdiArea(QMdiArea* area)
{
    if (m_mdi == area) return;
    m_mdi = area;
    if (!area) return;
    // A child that becomes the active one is activated, as the old windows
    // were. The area also reports a child that is active already (when it is
    // maximised or shown again, or the main window gets the activation back
    // from a message box, a dialog or another program): no second activation.
    QObject::connect(area, &QMdiArea::subWindowActivated, area, [](QMdiSubWindow* sub) {
        auto& reg = FormRegistry::instance();
        auto* form = sub ? qobject_cast<Form*>(sub->widget()) : nullptr;
        if (!form || form == reg.m_activeChild) return;
        if (!form->isLoaded() || !form->m_shownOnce || !reg.m_modalStack.isEmpty() || reg.m_unloadingAll) return;
        reg.m_activeChild = form;
        form->activate();
    });
}

void FormRegistry::setRunner(std::unique_ptr<FormRunner> runner) { m_runner = std::move(runner); }

FormRunner& FormRegistry::runner()
{
    if (!m_runner) m_runner = std::make_unique<QtFormRunner>();
    return *m_runner;
}

Form* FormRegistry::activeForm() const
{
    for (auto it = m_modalStack.rbegin(); it != m_modalStack.rend(); ++it)
        if (*it && (*it)->isLoaded()) return *it;
    if (m_mdi) {
        if (QMdiSubWindow* sub = m_mdi->activeSubWindow())
            if (auto* form = qobject_cast<Form*>(sub->widget()); form && form->isLoaded()) return form;
    }
    return nullptr;
}

void FormRegistry::pushModal(Form* form) { m_modalStack.append(form); }

void FormRegistry::popModal(Form* form)
{
    m_modalStack.removeAll(QPointer<Form>(form));
    m_modalStack.removeAll(QPointer<Form>());
}

void FormRegistry::unloadAll()
{
    // Windows that are going too are not activated on the way.
    m_unloadingAll = true;
    for (Form* f : loaded()) f->Unload();
    m_unloadingAll = false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace corvane
