#pragma once
// The window model: every window is a single instance, created on first use
// (Form_Load runs then) and destroyed when unloaded (Form_Unload). Children of
// the main window are MDI sub-windows; every other window is shown modally
// through the form runner, which tests replace with scripts.

#include <QAbstractButton>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <typeindex>


namespace corvane {

// Geometry in the old program's units.
inline constexpr int TwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) { return twips / TwipsPerPixel; }
inline constexpr int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // The per-window text that callers use to hand a mode to the window.
    QString Tag;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Modeless: as a child of the main window when there is one. Brings it to
    // the front; a window already shown is only activated.
    void Show();
    // A small fixed window (the export dialogs) is shown modeless as a window
    // of its own above the main window, at its designed size, never as a
    // child the main window's area would maximise.
    void setOwnWindow(bool own) { m_ownWindow = own; }
    // Modal through the form runner; returns when the window is closed or hidden.
    void ShowModal();
    // Hide without unloading (a modal window returns to its caller).
    void Hide();
    // Form_Unload, then destroy the single instance (unless Form_Unload cancels).
    // Returns false when the window refused to unload.
    bool Unload();
    void ZOrder();

    bool isLoaded() const { return !m_unloaded; }
    bool isShownModal() const { return m_modal; }

    // Position and size in twips: of the MDI sub-window frame for a child.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top);
    void Resize(int width, int height);

    // The frame widget (the MDI sub-window, the scroll area that holds a
    // window too large for the screen, or this window itself).
    QWidget* frame() const;

    // Esc on a window of its own (modal, or shown as its own window) does
    // what the window's cancel button does; without one, what the title
    // bar's close box does. A panel shown over the window's controls is
    // closed first, by its own close button.
    void setCancelButton(QAbstractButton* button) { m_cancelButton = button; }
    void addClosablePanel(QWidget* panel, QAbstractButton* closeButton);
    // A panel closed by a control that is not a button (a caption that acts
    // as one): Esc runs `close` while that control is enabled.
    void addClosablePanel(QWidget* panel, QWidget* closeControl, std::function<void()> close);
    // What Esc does now; false when it does nothing here.
    bool escape();

    // A window larger than the room it opens in (the screen's free area) is
    // shown inside a scroll area as large as fits, which reaches every one of
    // its controls. Returns whether it had to.
    bool fitIntoRoom(const QRect& room);
    QMdiSubWindow* subWindow() const { return m_subWindow; }

    // Lifecycle, as the old program's windows had it.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload(int& Cancel) { Q_UNUSED(Cancel); }

    void activate();  // runs Form_Activate (called by the window model)

    // Held by a handler that shows a modal window: the activation that the
    // window's closing gives this one runs only when the handler has
    // finished, so the handler reads what the modal window handed back
    // before the activation reloads anything.
    class HandlerScope {
    public:
        explicit HandlerScope(Form* form);
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        QPointer<Form> m_form;
    };
    // For form runners: show the window as a modal one (Form_Activate the first time).
    void presentModal();

signals:
    // The window was hidden or unloaded: a modal run ends.
    void dismissed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class FormRegistry;
    QPointer<QMdiSubWindow> m_subWindow;
    QPointer<QWidget> m_scrollHost;
    QPointer<QAbstractButton> m_cancelButton;
    struct ClosablePanel {
        QPointer<QWidget> panel;
        QPointer<QWidget> control;
        std::function<void()> close;
    };
    QList<ClosablePanel> m_closablePanels;
    bool m_unloaded = false;
    bool m_modal = false;
    bool m_shownOnce = false;
    bool m_inUnload = false;
    bool m_ownWindow = false;
    int m_handlerDepth = 0;
    bool m_activationPending = false;
    // The activation after a modal window it opened has closed.
    void activateAfterModal();
};

// Runs modal windows. The real runner shows the window and spins an event
// loop until it is hidden or unloaded; tests script what the user does.
class FormRunner {
public:
    virtual ~FormRunner() = default;
    virtual void runModal(Form& form) = 0;
};

class FormRegistry {
    friend class Form;

public:
    static FormRegistry& instance();

    Form* find(std::type_index type) const;
    void add(std::type_index type, Form* form);
    void remove(Form* form);
    QList<Form*> loaded() const;

    void setMdiArea(QMdiArea* area);
    QMdiArea* mdiArea() const { return m_mdi; }

    void setRunner(std::unique_ptr<FormRunner> runner);
    FormRunner& runner();

    // The window that is active for the user: the modal window on top, or the
    // active child of the main window.
    Form* activeForm() const;
    void pushModal(Form* form);
    void popModal(Form* form);

    // Unload every loaded window (tests, end of program).
    void unloadAll();

private:
    QHash<std::type_index, QPointer<Form>> m_forms;
    QPointer<QMdiArea> m_mdi;
    QList<QPointer<Form>> m_modalStack;
    // The child of the main window whose Form_Activate ran last as the active one.
    QPointer<Form> m_activeChild;
    bool m_unloadingAll = false;
    std::unique_ptr<FormRunner> m_runner;
};

namespace Forms {
// The single instance, created (and Form_Load run) on first use.
template <class T>
T* get()
{
    auto& reg = FormRegistry::instance();
    if (Form* existing = reg.find(typeid(T))) return static_cast<T*>(existing);
    T* form = new T();
    reg.add(typeid(T), form);
    form->Form_Load();
    return form;
}
// The instance when it is loaded, otherwise nullptr; never creates one.
template <class T>
T* find()
{
    return static_cast<T*>(FormRegistry::instance().find(typeid(T)));
}
template <class T>
bool isLoaded()
{
    return find<T>() != nullptr;
}
template <class T>
void unload()
{
    if (T* f = find<T>()) f->Unload();
}
}  // namespace Forms

}  // namespace corvane
