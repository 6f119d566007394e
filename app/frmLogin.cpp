#include "app/frmLogin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "app/Banner.h"
#include "app/CommandLine.h"
#include "app/LoginContext.h"
#include "app/MDIForm1.h"
#include "db/Connection.h"
#include "db/Sql.h"
#include "platform/InputRules.h"
#include "platform/Services.h"

namespace corvane {

namespace {

// The user's current posts: the employee has not left and the assignment has
// not ended. Ordered by department and post code so every server lists them alike.
const QString kPostQuery = QStringLiteral(
    "SELECT 员工档案.姓名, 职能部门类别.部门类别代号, 职能部门类别.部门类别名称,"
    " 岗位类别.岗位类别编号, 岗位类别.岗位类别名称,"
    " 职能部门new.职能部门编号, 职能部门new.职能部门名称, 岗位信息new.岗位代号, 岗位信息new.岗位名称,"
    " 岗位员工new.主要岗位"
    " FROM 岗位员工new"
    " INNER JOIN 岗位信息new ON 岗位员工new.岗位代号 = 岗位信息new.岗位代号"
    " INNER JOIN 职能部门new ON 岗位信息new.职能部门代号 = 职能部门new.职能部门编号"
    " INNER JOIN 岗位类别 ON 岗位信息new.岗位类别代号 = 岗位类别.岗位类别编号"
    " INNER JOIN 职能部门类别 ON 职能部门new.职能部门类别代号 = 职能部门类别.部门类别代号"
    " INNER JOIN 员工档案 ON 岗位员工new.员工代号 = 员工档案.工号"
    " WHERE 岗位员工new.员工代号 = ? AND 员工档案.离职日期 IS NULL AND 岗位员工new.离岗日期 IS NULL"
    " ORDER BY 职能部门new.职能部门编号, 岗位信息new.岗位代号");

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

frmLogin::frmLogin()
{
    setObjectName(QStringLiteral("frmLogin"));
    setCaption(QStringLiteral("Brindlemoor系统"));
    setFixedSize(420, 300);
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(ProgramIcon());

    // The old window had a painted background; a soft gradient stands in for it.
    QLinearGradient gradient(0, 0, 0, 300);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    gradient.setColorAt(0.35, QColor(0xdc, 0xe6, 0xf0));
    gradient.setColorAt(1, QColor(0xf4, 0xf7, 0xfa));
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, gradient);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* title = makeLabel(this, QStringLiteral("lblProduct"), QStringLiteral("Brindlemoor系统"), {24, 18, 260, 32});
    QFont titleFont = title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white"));
    Label1 = makeLabel(this, QStringLiteral("Label1"), QString(), {300, 26, 100, 24});
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setStyleSheet(QStringLiteral("color: white"));

    makeLabel(this, QStringLiteral("lblUser"), QStringLiteral("工号："), {40, 110, 60, 24});
    TxtUser = new QLineEdit(this);
    TxtUser->setObjectName(QStringLiteral("TxtUser"));
    TxtUser->setGeometry(100, 110, 180, 24);

    makeLabel(this, QStringLiteral("lblPassword"), QStringLiteral("密码："), {40, 146, 60, 24});
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    txtPassword->setGeometry(100, 146, 180, 24);
    // As long as 员工档案's 工号 and 帐号密码 columns.
    applyLineRules(TxtUser, 20);
    applyLineRules(txtPassword, 50);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(300, 108, 90, 28);
    cmdOK->setAutoDefault(true);  // Enter on the focused button logs in
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(300, 144, 90, 28);
    cmdCancel->setAutoDefault(true);

    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("请您选择要登录的岗位"), {40, 182, 240, 20});
    Label2->hide();
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(40, 204, 350, 84);
    List1->hide();

    setTabOrder(TxtUser, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    TxtUser->installEventFilter(this);
    txtPassword->installEventFilter(this);
    List1->installEventFilter(this);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
}

void frmLogin::Form_Load()
{
    启动参数 = ProgramCommandLine();
    if (!启动参数.isEmpty()) {
        // The launcher has already logged the user in: its values are taken as
        // they stand. A short line leaves the missing values empty (not null,
        // so they bind as empty text), a long one gives only its first ten.
        QStringList fields = 启动参数.split(QLatin1Char(','));
        while (fields.size() < 10) fields << QStringLiteral("");
        Login().setValues(fields.mid(0, 10));
        if (ConnectDatabase()) {
            进入主窗口();
            return;
        }
    }
    Label1->setText(QStringLiteral("V%1.%2版").arg(CORVANE_VERSION_MAJOR).arg(CORVANE_VERSION_MINOR));
}

bool frmLogin::ConnectDatabase()
{
    const DbSettings settings = ReadDbSettings();
    DbEdition = settings.edition;
    公司名称 = settings.company;
    if (!OpenConnection(settings)) {
        MsgBox(QStringLiteral("数据库连接失败!"), vbOKOnly | vbInformation, QStringLiteral("连接提示"));
        return false;
    }
    return true;
}

void frmLogin::cmdOK_Click()
{
    const QString user = TxtUser->text();
    const QString password = txtPassword->text();
    if (user.isEmpty()) {
        MsgBox(QStringLiteral("用户名不能为空!"), vbInformation);
        return;
    }
    if (password.isEmpty()) {
        MsgBox(QStringLiteral("密码不能为空!"), vbInformation);
        return;
    }

    LoginContext& context = Login();
    const QString keptName = context.当前姓名;
    context.setValues(QStringList(10, QStringLiteral("")));
    context.当前姓名 = keptName;

    if (!ConnectDatabase()) {
        Services::shell().endProgram();
        return;
    }

    if (user == kSuperUserName && password == kSuperUserPassword) {
        context.当前工号 = kSuperUser;
        if (Tag.isEmpty()) {
            auto* main = Forms::get<MDIForm1>();
            main->Show();
            main->ZOrder();
        } else {
            Unload();
        }
        return;
    }

    // Both values are bound, so a quote in the employee number is just a
    // character that matches nobody.
    const auto staff = selectRows(QStringLiteral("SELECT 工号 FROM 员工档案 WHERE 工号 = ? AND 帐号密码 = ?"),
                                  {user, password.trimmed()});
    if (!staff) return;
    if (staff->empty()) {
        MsgBox(QStringLiteral("用户名或密码不正确,请重新输入!"), vbInformation);
        return;
    }

    const auto posts = selectRows(kPostQuery, {user});
    if (!posts) return;
    if (posts->empty()) {
        MsgBox(QStringLiteral("对不起，您没有岗位，请选择系统管理员"));
        return;
    }

    List1->clear();
    m_posts.assign(1, 登录岗位());
    for (const Row& row : *posts) {
        const bool main = row.value(9).toInt() != 0;
        List1->addItem(row.text(6) + QLatin1Char(' ') + row.text(8) + QLatin1Char('(') +
                       (main ? QStringLiteral("主要") : QStringLiteral("兼职")) + QLatin1Char(')'));
        m_posts.resize(List1->count() + 1);
        m_posts[List1->count() - 1] = {user,         row.text(0), row.text(5), row.text(6), row.text(7),
                                       row.text(8),  row.text(1), row.text(2), row.text(3), row.text(4)};
    }

    if (List1->count() == 1) {
        List1->setCurrentRow(0);
        选择岗位(0);
    } else {
        Label2->show();
        List1->show();
        // The keyboard reaches the posts at once: the first is highlighted,
        // arrows move, Enter chooses.
        List1->setCurrentRow(0);
        List1->setFocus();
    }
}

void frmLogin::cmdCancel_Click() { Services::shell().endProgram(); }

void frmLogin::List1_DblClick()
{
    const int index = List1->currentRow();
    if (index >= 0) 选择岗位(index);
}

void frmLogin::选择岗位(int index)
{
    if (index < 0 || index + 1 >= int(m_posts.size())) return;
    QStringList values;
    for (const QString& v : m_posts[index]) values << v.trimmed();
    Login().setValues(values);
    if (Tag.isEmpty())
        进入主窗口();
    else
        Unload();
}

void frmLogin::进入主窗口()
{
    auto* main = Forms::get<MDIForm1>();
    main->Show();
    main->ZOrder();
    Unload();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        // Enter and Space on the highlighted post choose it, as a double-click does.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            List1_DblClick();
            return true;
        }
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return Form::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextPrevChild(true);
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        edit->selectAll();
        // A click places the cursor after the focus arrived; select again once it has.
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        if (edit == TxtUser) {
            // A changed employee number must not be combined with the previous user's posts.
            Label2->hide();
            List1->hide();
        }
    }
    return Form::eventFilter(watched, event);
}

void frmLogin::showEvent(QShowEvent* event)
{
    // Staff look for the login in the middle of the screen, at start and
    // when it comes back after 注销.
    if (!event->spontaneous()) {
        const MDIForm1* main = Forms::find<MDIForm1>();
        QScreen* screen = main ? main->screen() : QApplication::primaryScreen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    Form::showEvent(event);
}

void frmLogin::closeEvent(QCloseEvent* event)
{
    Services::shell().endProgram();
    Form::closeEvent(event);
}

}  // namespace corvane
