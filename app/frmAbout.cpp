#include "app/frmAbout.h"

#include <QFileInfo>
#include <QSettings>

#include "app/Banner.h"
#include "app/Helpers.h"
#include "platform/Services.h"

namespace corvane {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

}  // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setCaption(QStringLiteral("关于Brindlemoor系统2011版"));
    setFixedSize(430, 230);

    Picture1 = label(this, QStringLiteral("Picture1"), {20, 20, 64, 64});
    Picture1->setPixmap(ProgramEmblem(64, QColor(0x1f, 0x4e, 0x79)));  // we ship no artwork
    Picture2 = label(this, QStringLiteral("Picture2"), {20, 150, 32, 32});
    Picture2->setPixmap(ProgramEmblem(32, QColor(0x6f, 0xa8, 0xd8)));

    Label7 = label(this, QStringLiteral("Label7"), {100, 20, 310, 30});
    QFont big = Label7->font();
    big.setPointSize(14);
    big.setBold(true);
    Label7->setFont(big);
    lblVersion = label(this, QStringLiteral("lblVersion"), {100, 56, 310, 22});
    lblVersion->setText(QStringLiteral("版本"));
    lblTitle = label(this, QStringLiteral("lblTitle"), {100, 84, 310, 22});

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(320, 140, 90, 28);
    cmdOK->setAutoDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("系统信息"), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(320, 176, 90, 28);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

void frmAbout::Form_Load()
{
    Label7->setText(QStringLiteral("Corvane系统%1.%2.%3")
                        .arg(CORVANE_VERSION_MAJOR)
                        .arg(CORVANE_VERSION_MINOR)
                        .arg(CORVANE_VERSION_PATCH));
    lblTitle->setText(QStringLiteral("Brindlemoor系统2011版的一部分"));
}

void frmAbout::Form_Activate()
{
    // A child window gets its place in the client area only once it is shown;
    // it is centred then, and left where it stands on every later activation.
    if (m_centred) return;
    m_centred = true;
    CenterForm(*this);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo()
{
    const QString machine = QStringLiteral("HKEY_LOCAL_MACHINE");
    QString path;
    QString error;
    if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
                    path)) {
        if (!Services::shell().startProgram(path, {}, &error)) ShowStandardError(0, error);
        return;
    }
    if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                    path)) {
        const QString tool = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(tool)) {
            if (!Services::shell().startProgram(tool, {}, &error)) ShowStandardError(0, error);
            return;
        }
    }
    MsgBox(QStringLiteral("此时系统信息不可用"), vbOKOnly);
}

bool frmAbout::GetKeyValue(const QString& root, const QString& keyName, const QString& valueName, QString& value)
{
    value.clear();
#ifdef Q_OS_WIN
    QSettings key(root + QLatin1Char('\\') + keyName, QSettings::NativeFormat);
    if (!key.contains(valueName)) return false;
    const QVariant v = key.value(valueName);
    if (!v.canConvert<QString>()) return false;
    value = v.toString();
    return true;
#else
    Q_UNUSED(root);
    Q_UNUSED(keyName);
    Q_UNUSED(valueName);
    return false;
#endif
}

}  // namespace corvane
