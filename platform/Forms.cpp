#include "platform/Forms.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>

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
    return m_subWindow ? static_cast<QWidget*>(m_subWindow.data()) : const_cast<Form*>(this);
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
    deleteLater();
    return true;
}

void Form::ZOrder()
{
    frame()->raise();
    if (m_subWindow && FormRegistry::instance().mdiArea())
        FormRegistry::instance().mdiArea()->setActiveSubWindow(m_subWindow);
    else if (isWindow())
        activateWindow();
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
    setWindowModality(Qt::ApplicationModal);
    if (!m_shownOnce && isWindow() && !testAttribute(Qt::WA_Moved)) {
        // A window that placed itself nowhere opens centred over the main
        // window (or the screen), never in a corner over the menus.
        const QWidget* over = FormRegistry::instance().mdiArea() ? FormRegistry::instance().mdiArea()->window() : nullptr;
        QRect room = over ? over->geometry() : QRect();
        if (room.isEmpty())
            if (const QScreen* screen = QGuiApplication::primaryScreen()) room = screen->availableGeometry();
        if (!room.isEmpty()) move(room.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
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
