#include "db/Provision.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <tuple>
#include <utility>
#include <vector>

#include "db/DriverError.h"
#include "db/Sql.h"

namespace corvane::provision {

namespace {

QString errorText(const QSqlError& e)
{
    const DbError d = dbErrorOf(e);
    return d.description.isEmpty() ? e.text() : d.description;
}

// Runs `work` on a connection to the server's maintenance database.
template <class Work>
bool onServer(const DbSettings& settings, QString* error, Work work)
{
    DbSettings admin = settings;
    admin.database = QStringLiteral("postgres");
    const QString name = QStringLiteral("corvane-admin-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = OpenNamedConnection(admin, name);
        if (!db.isOpen()) {
            if (error) *error = errorText(db.lastError());
        } else {
            ok = work(db);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    return plain.match(name).hasMatch();
}

bool createDatabase(const DbSettings& settings, bool* created, QString* error)
{
    if (created) *created = false;
    if (settings.driver == QLatin1String("QSQLITE")) {
        if (QFileInfo(settings.database).isFile()) return true;
        QFile file(settings.database);
        // An empty file is a valid SQLite database.
        if (!file.open(QIODevice::WriteOnly)) {
            if (error) *error = file.errorString();
            return false;
        }
        if (created) *created = true;
        return true;
    }
    if (settings.driver != QLatin1String("QPSQL")) {
        if (error) *error = QStringLiteral("只能为 QSQLITE 或 QPSQL 建立数据库");
        return false;
    }
    if (!isPlainIdentifier(settings.database)) {
        if (error) *error = QStringLiteral("数据库名称只能含字母、数字和下划线：") + settings.database;
        return false;
    }
    return onServer(settings, error, [&](QSqlDatabase& db) {
        Statement exists(db, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {settings.database});
        if (!exists.exec()) {
            if (error) *error = exists.error().description;
            return false;
        }
        if (exists.next()) return true;
        // The name was checked above: identifiers cannot be bound.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'UTF8' TEMPLATE template0").arg(settings.database))) {
            if (error) *error = errorText(q.lastError());
            return false;
        }
        if (created) *created = true;
        return true;
    });
}

bool dropDatabase(const DbSettings& settings, QString* error)
{
    if (settings.driver == QLatin1String("QSQLITE")) {
        if (!QFileInfo::exists(settings.database) || QFile::remove(settings.database)) return true;
        if (error) *error = QStringLiteral("无法删除 ") + settings.database;
        return false;
    }
    if (settings.driver != QLatin1String("QPSQL") || !isPlainIdentifier(settings.database)) {
        if (error) *error = QStringLiteral("无法删除数据库 ") + settings.database;
        return false;
    }
    return onServer(settings, error, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(settings.database))) {
            if (error) *error = errorText(q.lastError());
            return false;
        }
        return true;
    });
}

namespace {

// One row of a demo table: the columns by name, every value bound.
using Columns = std::vector<std::pair<const char*, QVariant>>;

bool insertRow(const QSqlDatabase& db, const char* table, const Columns& columns, DbError* error)
{
    QStringList names;
    QVariantList values;
    for (const auto& [name, value] : columns) {
        names << QString::fromUtf8(name);
        values << value;
    }
    Statement st(db,
                 QStringLiteral("INSERT INTO ") + QString::fromUtf8(table) + QStringLiteral(" (") +
                     names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") + placeholders(int(names.size())) +
                     QLatin1Char(')'),
                 values);
    if (st.exec()) return true;
    *error = st.error();
    return false;
}

// The organisation: three departments (one under another), five posts, five
// staff (one has left, one post assignment has ended), three contract types
// and two suppliers.
std::vector<std::pair<const char*, std::vector<Columns>>> organisation()
{
    const QVariant none;
    const QDate since(2020, 1, 1);
    auto department = [&](const char* code, const char* name, const char* category) {
        return Columns{{"职能部门编号", code}, {"职能部门名称", name}, {"职能部门类别代号", category}, {"起始日期", since},
                       {"发票领用", 1}};
    };
    // The department's category as the expiry reminder reads it.
    auto within = [](Columns department, const char* appCategory) {
        department.push_back({"app部门类别", appCategory});
        return department;
    };
    auto post = [](const char* code, const char* name, const char* dept, const char* category, const char* staff,
                   int head) {
        return Columns{{"岗位代号", code}, {"岗位名称", name},   {"职能部门代号", dept},
                       {"岗位类别代号", category}, {"工号", staff}, {"部门主管", head},
                       {"起始日期", QDate(2020, 1, 1)}};
    };
    auto staff = [](const char* number, const char* name, const QVariant& left) {
        return Columns{{"工号", number}, {"姓名", name}, {"帐号密码", "123"}, {"离职日期", left}};
    };
    auto assignment = [](const char* staff, const char* post, int main, const QDate& from, const QVariant& until) {
        return Columns{{"员工代号", staff}, {"岗位代号", post}, {"主要岗位", main}, {"入岗日期", from}, {"离岗日期", until}};
    };
    auto type = [&](const char* code, const char* name, const char* category, const char* prefix, int shared,
                    const QVariant& subject, int singleLevel, int headApproves) {
        return Columns{{"合同类型编号", code}, {"合同类型", name},     {"合同类别", category},
                       {"字", prefix},         {"公用", shared},       {"对应科目", subject},
                       {"单级流转", singleLevel}, {"部门主管审批", headApproves}};
    };
    auto step = [](const char* type, const char* dept, const char* post, int decides, int order) {
        return Columns{{"合同类型编号", type}, {"部门编号", dept}, {"岗位编号", post}, {"决策权", decides},
                       {"环节序号", order},    {"单级流转", 0}};
    };
    return {
        {"职能部门类别", {{{"部门类别代号", "01"}, {"部门类别名称", "职能部门"}},
                          {{"部门类别代号", "02"}, {"部门类别名称", "管理处"}}}},
        {"职能部门new", {within(department("001", "总经理办公室", "01"), "职能部门"),
                         within(department("002", "财务部", "01"), "职能部门"),
                         within(department("003", "第一管理处", "02"), "管理项目"),
                         within(department("004", "华东分公司", "01"), "分公司区域"),
                         within(department("005", "翠湖项目部", "02"), "管理项目")}},
        {"上级部门new", {{{"职能部门编号", "003"}, {"上级部门编号", "001"}, {"起始日期", since}},
                         {{"职能部门编号", "005"}, {"上级部门编号", "004"}, {"起始日期", since}}}},
        // The branch's one managed project with its office set up.
        {"设置管理处", {{{"对应部门代号", "005"}, {"gyd_dh", "GL005"}, {"gyd_name", "翠湖项目管理处"}}}},
        {"岗位类别", {{{"岗位类别编号", "01"}, {"岗位类别名称", "管理岗位"}},
                      {{"岗位类别编号", "02"}, {"岗位类别名称", "业务岗位"}}}},
        {"岗位信息new", {post("G001", "总经理", "001", "01", "1001", 1), post("G002", "财务经理", "002", "01", "1002", 1),
                         post("G003", "会计", "002", "02", "1003", 0), post("G004", "管理处主任", "003", "01", "1004", 1),
                         post("G005", "合同管理员", "003", "02", "1002", 0)}},
        {"员工档案", {staff("1001", "张伟", none), staff("1002", "李娜", none), staff("1003", "王芳", none),
                      staff("1004", "刘洋", none), staff("1005", "陈静", QDate(2024, 6, 30))}},
        // 李娜 holds two posts; 王芳's time as 管理处主任 has ended.
        {"岗位员工new", {assignment("1001", "G001", 1, since, none), assignment("1002", "G002", 1, since, none),
                         assignment("1002", "G005", 0, since, none), assignment("1003", "G003", 1, since, none),
                         assignment("1003", "G004", 0, since, QDate(2023, 12, 31)),
                         assignment("1004", "G004", 1, QDate(2024, 1, 1), none),
                         assignment("1005", "G003", 1, since, QDate(2024, 6, 30))}},
        {"合同类型", {type("01", "物业服务合同", "收款合同", "WF", 1, none, 0, 1),
                      type("02", "采购合同", "付款合同", "CG", 1, "5501", 0, 1),
                      type("03", "租赁合同", "收款合同", "ZL", 0, none, 1, 0)}},
        {"合同使用部门设置", {{{"合同类型编号", "03"}, {"部门", "003"}}}},
        // 物业服务合同 goes to the head of the submitting department first and
        // then through three steps; 租赁合同 has no route at all.
        {"合同类型流转路径设置", {step("01", "003", "G005", 0, 1), step("01", "002", "G002", 0, 2),
                                  step("01", "001", "G001", 1, 3)}},
        {"供方信息", {{{"供应商编号", "S001"}, {"供应商名称", "恒达电梯维保有限公司"}, {"合格供方", 1}, {"结束日期", none}},
                      {{"供应商编号", "S002"}, {"供应商名称", "洁美保洁服务有限公司"}, {"合格供方", 0}, {"结束日期", none}}}},
        {"供方单位基本信息", {{{"供应商编号", "S001"}, {"开户行", "工商银行城东支行"}, {"帐号", "6222000011112222"},
                               {"税号", "91310000MA1K000001"}}}},
        {"供方对应部门", {{{"供应商编号", "S001"}, {"职能部门编号", "003"}},
                          {{"供应商编号", "S002"}, {"职能部门编号", "003"}}}},
        {"合同提醒设置", {{{"类型", "普通合同"}, {"部门代号", "003"}, {"岗位代号", "G005"}, {"提前天数", 30},
                           {"启用提醒", 1}}}},
        {"SystemSetup", {{{"Code", "合同同步"}, {"Value", "0"}}}},
        // The approval program's urgency names. No sign-off template is set,
        // so submissions take the countersign road.
        {"XZ紧急程度", {{{"紧急程度", "普通"}, {"序", 1}}, {{"紧急程度", "紧急"}, {"序", 2}}}},
    };
}

// Menu rights in three groups, so that every menu, both contract scopes and
// the way out can be tried: 总经理 and 合同管理员 hold every group, the other
// posts one or two, and every post can log off, quit and read the about box.
std::vector<std::pair<const char*, std::vector<Columns>>> rights()
{
    auto grant = [](const char* group, const char* post) {
        return Columns{{"组代号", group}, {"岗位代号", post}, {"授权", 1}};
    };
    auto menu = [](const char* group, const char* formName) {
        return Columns{{"GroupID", group}, {"FormName", formName}, {"Popedom", 1}};
    };
    return {
        {"GroupPrivilege", {menu("XT", "退出系统"), menu("XT", "关于软件"), menu("XT", "联系我们"),
                            menu("HT", "CorvaneC"), menu("HT", "合同信息"),
                            menu("TJ", "统计"), menu("TJ", "合同收付款统计"), menu("TJ", "合同到期提醒"),
                            menu("TJ", "合同汇总统计")}},
        {"岗位权限设置", {grant("XT", "G001"), grant("HT", "G001"), grant("TJ", "G001"),
                          grant("XT", "G002"), grant("TJ", "G002"),
                          grant("XT", "G003"),
                          grant("XT", "G004"), grant("HT", "G004"),
                          grant("XT", "G005"), grant("HT", "G005"), grant("TJ", "G005")}},
        // The contract list of 总经理 may cover the whole company.
        {"专项审核权限表", {{{"类型", "Corvane"}, {"部门代号", "001"}, {"岗位代号", "G001"}}}},
    };
}

// What the payment window needs: expense categories and subjects, a budget
// scheme for the management offices with an approved plan of 第一管理处 for
// the year, approval rules for its expenses below and above 100,000, a bank
// card of 李娜 for cash payments and the account of the green-keeping supplier.
std::vector<std::pair<const char*, std::vector<Columns>>> paymentSettings(const QDate& today)
{
    const QVariant none;
    auto subject = [&](const char* code, const char* name, const QVariant& parent, int budget, int other,
                       const char* category) {
        return Columns{{"科目代号", code}, {"科目名称", name}, {"上级科目代号", parent}, {"预算", budget},
                       {"非预算", other}, {"冲成本", 0}, {"向公司借款", 0}, {"其他", other}, {"支出项", 1},
                       {"费用类别", category}};
    };
    auto category = [](const char* name) { return Columns{{"类别", name}}; };
    auto mapped = [](const char* name, const char* code) { return Columns{{"类别", name}, {"科目代号", code}}; };
    const QString plan = QStringLiteral("YS%1-003").arg(today.year());
    auto line = [&](const char* code, const char* monthly) {
        Columns c{{"计划编号", plan}, {"科目代码", code}, {"数据来源", "支出预算"}};
        for (const char* m : {"一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"})
            c.push_back({m, monthly});
        return c;
    };
    auto rule = [](const char* code, const char* name, const char* low, const char* high) {
        return Columns{{"审批路径代号", code}, {"审批路径名称", name}, {"报销部门类别代号", "02"}, {"报销类别", "管理费用"},
                       {"金额下限", low}, {"金额上限", high}, {"本部门主管审批", 1}};
    };
    auto step = [](int rule, int order, const char* dept, const char* post) {
        return Columns{{"报销审批ID", rule}, {"审批环节序号", order}, {"部门代号", dept}, {"岗位代号", post}};
    };
    return {
        {"科目类别", {category("管理费用"), category("代收代付"), category("物资费用"), category("人事费用"), category("其他")}},
        {"财务科目", {subject("55", "管理费用", none, 0, 0, "管理费用"), subject("5501", "维修养护费", "55", 1, 0, "管理费用"),
                      subject("5502", "绿化养护费", "55", 1, 0, "管理费用"), subject("66", "其他支出", none, 0, 0, "其他"),
                      subject("6601", "差旅费", "66", 0, 1, "其他")}},
        {"科目类别对应科目", {mapped("管理费用", "5501"), mapped("管理费用", "5502"), mapped("其他", "6601")}},
        {"预算体系索引", {{{"部门类别代号", "02"}, {"起始日期", QDate(2020, 1, 1)}, {"终止日期", none}}}},
        {"预算体系明细表", {{{"体系ID", 1}, {"明细科目代号", "5501"}}, {{"体系ID", 1}, {"明细科目代号", "5502"}}}},
        {"预算计划", {{{"计划编号", plan}, {"部门代号", "003"}, {"年度", QString::number(today.year())}, {"审核通过", 1},
                       {"审核完成日期", QDate(today.year(), 1, 5)}}}},
        {"预算详细", {line("5501", "20000.00"), line("5502", "15000.00")}},
        {"报销审批路径设置", {rule("R01", "管理处费用（十万元以下）", "0", "100000.00"),
                              rule("R02", "管理处费用（十万元以上）", "100000.01", "99999999.00")}},
        {"报销审批路径", {step(1, 1, "002", "G002"), step(2, 1, "002", "G002"), step(2, 2, "001", "G001")}},
        {"银行卡设置", {{{"员工编号", "1002"}, {"银行", "招商银行"}, {"卡名", "一卡通"}, {"卡号", "6225880011112222"}}}},
        {"银行帐号", {{{"对方单位", "青禾园林绿化工程有限公司"}, {"开户银行", "农业银行青禾支行"}, {"银行帐号", "6228480011223344"}}}},
        {"票据科目转换", {{{"发票科目代号", "01"}, {"发票科目名称", "维修服务"}, {"会计科目代号", "5501"}, {"会计科目名称", "维修养护费"},
                           {"备注", "维修发票"}, {"CzyDH", "1002"}},
                          {{"发票科目代号", "02"}, {"发票科目名称", "绿化服务"}, {"会计科目代号", "5502"}, {"会计科目名称", "绿化养护费"},
                           {"备注", none}, {"CzyDH", "1002"}}}},
    };
}

// A contract's route through approval, signing and taking effect, as the
// program writes it: each step only after the one before.
struct Route {
    QVariant submitted, approvalEnded, approved, signedOn, effective;
};

Route notSubmitted() { return {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}; }
Route inApproval(const QDateTime& submitted) { return {submitted, QVariant(), QVariant(), QVariant(), QVariant()}; }
Route approvedOnly(const QDateTime& submitted, const QDateTime& ended)
{
    return {submitted, ended, 1, QVariant(), QVariant()};
}
Route signedOnly(const QDate& signedOn)
{
    return {QDateTime(signedOn.addDays(-15), QTime(9, 10)), QDateTime(signedOn.addDays(-8), QTime(16, 30)), 1, signedOn,
            QVariant()};
}
Route inForce(const QDate& effective)
{
    const QDate signedOn = effective.addDays(-5);
    return {QDateTime(signedOn.addDays(-15), QTime(9, 10)), QDateTime(signedOn.addDays(-8), QTime(16, 30)), 1, signedOn,
            effective};
}

struct DemoContract {
    const char* prefix;
    const char* type;
    const char* department;
    const char* state;
    const char* name;
    const char* counterparty;
    const char* bank;
    const char* account;
    const char* amount;
    QDate start, end;
    int months;  // 合同期限
    Route route;
    const char* signatory;
    const char* counterpartySignatory;
    const char* terms;
    Columns more;  // supplier, suspension, void, renewal and supplement columns
};

QString demoNumber(const char* prefix, int serial)
{
    return QString::fromUtf8(prefix) + QLatin1Char('-') + QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0'));
}

// What the receipt window offers: the 管理处 of 第一管理处, fee items in two
// categories (one with its 6 % settings, one without any), payment methods
// with the two scan-pay ones, bill types of each kind, a book of 20 free
// bills lent to 第一管理处 and one it shares with 总经理办公室.
std::vector<std::pair<const char*, std::vector<Columns>>> receiptsAndBills()
{
    const QVariant none;
    auto item = [](const char* code, const char* name, const char* subject, const char* category) {
        return Columns{{"DH", code}, {"XM", name}, {"对应科目", subject}, {"收费类别", category}, {"显示名称", name},
                       {"应税科目", "22210101"}};
    };
    auto taxSubject = [](const char* code, const char* name, const QVariant& superior) {
        return Columns{{"科目代号", code}, {"科目名称", name}, {"上级科目代号", superior}};
    };
    auto taxed = [](const char* code, const char* skdh, const char* skxm) {
        return Columns{{"管理处", "GL01"}, {"DH", code}, {"SKDH", skdh}, {"SKXM", skxm}, {"税率", "6"},
                       {"应税科目", "22210101"}};
    };
    auto method = [](const char* name) { return Columns{{"收款方式", name}}; };
    auto billType = [](const char* code, const char* name, int noNumber) {
        return Columns{{"票据类型代号", code}, {"票据类型", name}, {"无票据编号", noNumber}, {"定额", 0}, {"行数", 5}};
    };
    auto layout = [](const char* dept, const char* name, const char* prefix, int managed) {
        return Columns{{"部门编号", dept}, {"格式名称", name}, {"宽", "210"}, {"高", "99"}, {"编号字", prefix},
                       {"票据管理", managed}};
    };
    return {
        {"设置管理处", {{{"对应部门代号", "003"}, {"gyd_dh", "GL01"}, {"gyd_name", "翠湖管理处"}, {"编号字", 888},
                         {"起始编号", 1}}}},
        {"财务科目", {taxSubject("2221", "应交税费", none), taxSubject("222101", "应交增值税", "2221"),
                      taxSubject("22210101", "销项税额", "222101")}},
        {"系统设置表", {{{"名称", "扫码支付接口URL"}, {"值", "http://127.0.0.1/scanpay"}}}},
        {"收款方式列表", {method("现金"), method("银行转账"), method("微信"), method("支付宝")}},
        {"SETUPSFXM", {item("WY01", "物业服务费", "510101", "物业服务"), item("WY02", "公共能耗费", "510102", "物业服务"),
                       item("JY01", "场地租金", "510201", "经营收入"), item("JY02", "停车费", "510202", "经营收入")}},
        {"税控盘收费项目设置", {taxed("WY01", "3040801010000000000", "物业管理服务"),
                                 taxed("WY02", "3040801010000000000", "物业管理服务")}},
        {"票据类型", {billType("01", "增值税普通发票", 0), billType("02", "收款收据", 1), billType("03", "电子发票", 0)}},
        {"票据自定义格式", {layout("003", "管理处收据", "ZG", 1), layout("003", "物业收费单", "001", 0)}},
        {"票据入库单", {{{"入库单编号", "FP2026001"}, {"票据类型编号", "01"}, {"入库时间", QDateTime(QDate(2026, 1, 5), QTime(10, 0))}},
                        {{"入库单编号", "FP2026002"}, {"票据类型编号", "01"}, {"入库时间", QDateTime(QDate(2026, 1, 5), QTime(10, 5))}},
                        {{"入库单编号", "ZG2026001"}, {"票据类型编号", "ZG"}, {"入库时间", QDateTime(QDate(2026, 1, 6), QTime(9, 0))}}}},
        {"票据领用记录", {{{"票据领用记录编号", "LY001"}, {"领用部门代号", "003"}},
                          {{"票据领用记录编号", "LY002"}, {"领用部门代号", "001"}},
                          {{"票据领用记录编号", "LY003"}, {"领用部门代号", "003"}}}},
        {"票据领用清单", {{{"领用记录编号", "LY001"}, {"入库单编号", "FP2026001"}, {"核销日期", none}, {"归还日期", none}},
                          {{"领用记录编号", "LY002"}, {"入库单编号", "FP2026002"}, {"核销日期", none}, {"归还日期", none}},
                          {{"领用记录编号", "LY003"}, {"入库单编号", "ZG2026001"}, {"核销日期", none}, {"归还日期", none}}}},
        {"票据共用设置", {{{"共用部门编号", "003"}, {"领用部门编号", "001"}}}},
    };
}

// The bills of a demo book: `count` free numbers from `first`.
std::vector<Columns> freeBills(const char* book, int first, int count)
{
    std::vector<Columns> out;
    for (int n = first; n < first + count; ++n)
        out.push_back({{"入库单编号", book}, {"票据编号", QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'))}});
    return out;
}

// The page of a demo bill layout, 210 mm by 99 mm: a frame with a heading
// rule, five bill lines of the eight row fields, and the single fields the
// custom bill window fills.
std::vector<std::pair<const char*, std::vector<Columns>>> billLayoutElements(qint64 layout, const char* title)
{
    std::vector<Columns> lines, texts, fields;
    auto line = [&](double x1, double y1, double x2, double y2, int w) {
        lines.push_back({{"格式ID", layout}, {"X1", x1}, {"Y1", y1}, {"X2", x2}, {"Y2", y2}, {"W", w}});
    };
    auto text = [&](const char* caption, double l, double t, double size, int bold) {
        texts.push_back({{"格式ID", layout}, {"内容", caption}, {"L", l}, {"T", t}, {"字体", "宋体"}, {"字号", size},
                         {"粗体", bold}});
    };
    auto field = [&](const char* name, double l, double t, double w, const QVariant& row) {
        fields.push_back({{"格式ID", layout}, {"内容", name}, {"L", l}, {"T", t}, {"W", w}, {"行", row},
                          {"字体", "宋体"}, {"字号", 9}, {"粗体", 0}});
    };
    line(10, 20, 200, 20, 2);
    line(10, 20, 10, 76, 1);
    line(200, 20, 200, 76, 1);
    line(10, 28, 200, 28, 1);
    line(10, 68, 200, 68, 1);
    line(10, 76, 200, 76, 2);
    text(title, 85, 6, 16, 1);
    struct Column {
        const char* name;
        double left, width;
    };
    const Column columns[] = {{"项目", 12, 30}, {"摘要", 44, 50}, {"计量单位", 96, 14}, {"数量", 112, 14},
                              {"单价", 128, 18}, {"金额", 148, 20}, {"税率", 170, 10}, {"税额", 182, 16}};
    for (const Column& c : columns) text(c.name, c.left, 22.5, 9, 1);
    for (int row = 1; row <= 5; ++row)
        for (const Column& c : columns) field(c.name, c.left, 29.5 + 7.5 * (row - 1), c.width, row);
    const QVariant none;
    text("No.", 150, 13, 10, 0);
    field("票据编号", 158, 13, 40, none);
    text("付款人：", 12, 13, 10, 0);
    field("付款人", 30, 13, 70, none);
    text("开票日期：", 104, 13, 10, 0);
    field("开票日期", 124, 13, 24, none);
    text("合计（大写）：", 12, 70, 10, 0);
    field("大写", 40, 70, 90, none);
    text("￥", 140, 70, 10, 0);
    field("合计金额", 146, 70, 30, none);
    text("收款方式：", 12, 79, 10, 0);
    field("收款方式", 32, 79, 24, none);
    field("开票方式", 58, 79, 14, none);
    text("地址：", 76, 79, 10, 0);
    field("地址", 88, 79, 70, none);
    text("备注：", 12, 86, 10, 0);
    field("备注", 24, 86, 120, none);
    text("开票人：", 150, 86, 10, 0);
    field("开票人", 166, 86, 30, none);
    return {{"票据自定义格式线", lines}, {"票据自定义格式文字", texts}, {"票据自定义格式内容", fields}};
}

}  // namespace

bool fillDemo(const QSqlDatabase& db, const QDate& today, DbError* error)
{
    Transaction tx(db);
    if (!tx.isActive()) {
        *error = tx.error();
        return false;
    }
    for (const auto& part : {organisation(), rights(), paymentSettings(today), receiptsAndBills()})
        for (const auto& [table, rows] : part)
            for (const Columns& row : rows)
                if (!insertRow(db, table, row, error)) return false;

    const auto day = [&](int offset) { return today.addDays(offset); };
    const auto at = [&](int offset, int hour, int minute) { return QDateTime(day(offset), QTime(hour, minute)); };
    const QVariant none;
    // The last day of a term of whole months.
    const auto until = [](const QDate& start, int months) { return start.addMonths(months).addDays(-1); };
    const QDate greenStart = day(-180);
    const QDate greenEnd = until(greenStart, 12);
    const QDate cuihuStart = day(-15).addYears(-3).addDays(1);
    const QDate sunStart = day(20).addYears(-2).addDays(1);
    // In serial order: the numbers are the type's prefix and the serial.
    const std::vector<DemoContract> contracts = {
        {"WF", "01", "003", "未提交", "翠湖花园二期前期物业服务合同", "翠湖置业发展有限公司", "建设银行翠湖支行",
         "6217000010203040", "1280000.00", day(30), until(day(30), 36), 36, notSubmitted(), nullptr, nullptr,
         "前期物业服务，服务期三年；物业服务费按建筑面积每月每平方米2.80元计收。", {}},
        {"CG", "02", "003", "签约中", "电梯年度维保采购合同", "恒达电梯维保有限公司", "工商银行城东支行",
         "6222000011112222", "86400.00", day(10), until(day(10), 12), 12, approvedOnly(at(-20, 9, 15), at(-12, 16, 40)),
         nullptr, nullptr,
         "小区12台电梯的年度维护保养，每月保养两次，故障2小时内到场。",
         {{"对方税号", "91310000MA1K000001"}, {"是否是合格供方", 1}, {"合格供方代码", "S001"}}},
        {"WF", "01", "003", "签约完成", "锦绣苑写字楼物业服务合同", "锦绣苑资产管理有限公司", "招商银行锦绣支行",
         "6214830000123456", "960000.00", day(15), until(day(15), 24), 24, signedOnly(day(-30)), "刘洋", "周明",
         "写字楼公共区域保洁、安保、设备运行维护，服务期两年。", {}},
        {"CG", "02", "003", "履行中", "小区绿化养护采购合同", "青禾园林绿化工程有限公司", "农业银行青禾支行",
         "6228480011223344", "150000.00", greenStart, greenEnd, 12, inForce(greenStart), "刘洋", "孙立",
         "小区公共绿地的修剪、施肥、病虫害防治，按季度付款。", {}},
        {"WF", "01", "003", "履行中", "翠湖花园一期物业服务合同", "翠湖花园业主委员会", "建设银行翠湖支行",
         "6217000010205060", "2400000.00", cuihuStart, day(-15), 36, inForce(cuihuStart), "张伟", "赵刚",
         "一期住宅物业服务，服务期三年，期满前三个月协商续签。", {}},
        {"WF", "01", "003", "履行中", "阳光公寓物业服务合同", "阳光公寓业主委员会", "交通银行阳光支行",
         "6222600011002200", "720000.00", sunStart, day(20), 24, inForce(sunStart), "刘洋", "钱芳", "公寓楼物业服务，服务期两年。",
         {{"对应续约合同编号", demoNumber("WF", 7)}}},
        {"WF", "01", "003", "签约中", "阳光公寓物业服务合同（续签）", "阳光公寓业主委员会", "交通银行阳光支行",
         "6222600011002200", "756000.00", day(21), until(day(21), 24), 24, inApproval(at(-3, 10, 20)), nullptr, nullptr,
         "续签两年，物业服务费上调5%。", {}},
        {"CG", "02", "003", "履行中", "小区绿化养护采购合同补充协议（屋顶花园）", "青禾园林绿化工程有限公司",
         "农业银行青禾支行", "6228480011223344", "18000.00", day(-60), greenEnd, 8, inForce(day(-60)), "刘洋", "孙立",
         "增加3号楼屋顶花园的养护，至主合同期满为止。",
         {{"补充", 1}, {"主合同编号", demoNumber("CG", 4)}, {"收付款计划合并", 0}}},
        {"WF", "01", "003", "已中止", "滨江商业广场保洁服务合同", "滨江商业广场管理有限公司", "中国银行滨江支行",
         "6216610000334455", "360000.00", day(-120), until(day(-120), 12), 12, inForce(day(-120)), "刘洋", "吴磊",
         "商场公共区域日常保洁，按月结算。",
         {{"合同中止日期", day(0)}, {"中止原因", "商场停业装修，双方协商中止履行"}}},
        {"CG", "02", "003", "已作废", "保安服务外包采购合同", "盾安保安服务有限公司", "工商银行城西支行",
         "6222000033334444", "432000.00", day(-30), until(day(-30), 12), 12, notSubmitted(), nullptr, nullptr,
         "小区门岗及巡逻保安服务外包。", {{"作废日期", day(-40)}}},
        {"CG", "02", "001", "履行中", "总部办公家具采购合同", "宏远办公家具有限公司", "民生银行开发区支行",
         "6226220012345678", "46800.00", day(-30), until(day(-30), 12), 12, inForce(day(-30)), "张伟", "郑浩",
         "总部办公室桌椅及文件柜，验收合格后一次付款。", {}},
        {"CG", "02", "002", "未提交", "财务软件年度维护采购合同", "智账软件服务有限公司", "招商银行高新支行",
         "6214830000987654", "28000.00", day(20), until(day(20), 12), 12, notSubmitted(), nullptr, nullptr,
         "财务软件升级与年度远程维护。", {}},
        // In performance and ending soon or long ago, so the expiry reminder
        // lists something at the first login; the lease is never listed.
        {"CG", "02", "003", "履行中", "电梯配件年度采购合同", "恒达电梯维保有限公司", "工商银行城东支行",
         "6222000011112222", "64000.00", until(day(40), -12), day(40), 12, inForce(until(day(40), -12)), "刘洋", "孙立",
         "电梯易损配件按季度供货。", {}},
        {"WF", "01", "003", "履行中", "金桂园物业服务合同", "金桂园业主委员会", "建设银行翠湖支行", "6217000010207080",
         "540000.00", day(-900).addYears(-2).addDays(1), day(-900), 24, inForce(day(-900).addYears(-2).addDays(1)), "张伟",
         "冯军", "住宅物业服务，服务期两年，期满未办理终止。", {}},
        {"ZL", "03", "003", "履行中", "会所商铺租赁合同", "悦来餐饮管理有限公司", "工商银行城东支行", "6222000055556666",
         "120000.00", until(day(25), -12), day(25), 12, inForce(until(day(25), -12)), "刘洋", "蒋涛",
         "会所一层商铺出租，租期一年。", {}},
        {"WF", "01", "005", "履行中", "翠湖项目停车场管理服务合同", "翠湖置业发展有限公司", "建设银行翠湖支行",
         "6217000010203040", "96000.00", until(day(45), -12), day(45), 12, inForce(until(day(45), -12)), "张伟", "韩梅",
         "地面及地下停车场的秩序维护与收费管理。", {}},
    };
    int serial = 0;
    for (const DemoContract& c : contracts) {
        ++serial;
        Columns row{{"合同编号", demoNumber(c.prefix, serial)},
                    {"流水号", serial},
                    {"字", c.prefix},
                    {"合同名称", c.name},
                    {"合同类型", c.type},
                    {"对应部门", c.department},
                    {"对方单位", c.counterparty},
                    {"对方开户行", c.bank},
                    {"对方帐号", c.account},
                    {"合同金额", c.amount},
                    {"合同起始日期", c.start},
                    {"合同终止日期", c.end},
                    {"合同期限", c.months},
                    {"主要条款", c.terms},
                    {"签约人", c.signatory ? QVariant(QString::fromUtf8(c.signatory)) : none},
                    {"对方签约人", c.counterpartySignatory ? QVariant(QString::fromUtf8(c.counterpartySignatory)) : none},
                    {"合同状态", c.state},
                    {"提交日期", c.route.submitted},
                    {"流转结束日期", c.route.approvalEnded},
                    {"流转通过", c.route.approved},
                    {"合同签订日期", c.route.signedOn},
                    {"合同生效日期", c.route.effective},
                    {"CzyDH", "1002"}};
        for (const auto& more : c.more) row.push_back(more);
        if (!insertRow(db, "合同信息", row, error)) return false;
    }

    // Instalments: some paid, some due soon, one overdue, so the lists of
    // payments and receipts due have something to show.
    auto instalment = [](const char* dateColumn, const char* amountColumn, const QString& number, const QDate& date,
                         const char* amount, const char* balance) {
        return Columns{{"合同编号", number}, {dateColumn, date}, {amountColumn, amount}, {"余额", balance}};
    };
    const std::vector<Columns> payments = {
        instalment("付款日期", "付款金额", demoNumber("CG", 4), greenStart.addMonths(3), "37500.00", "0.00"),
        instalment("付款日期", "付款金额", demoNumber("CG", 4), greenStart.addMonths(6), "37500.00", "37500.00"),
        instalment("付款日期", "付款金额", demoNumber("CG", 4), greenStart.addMonths(9), "37500.00", "37500.00"),
        instalment("付款日期", "付款金额", demoNumber("CG", 4), greenStart.addMonths(12), "37500.00", "37500.00"),
        instalment("付款日期", "付款金额", demoNumber("CG", 11), day(-5), "46800.00", "46800.00"),
    };
    const std::vector<Columns> receipts = {
        instalment("收款日期", "收款金额", demoNumber("WF", 5), day(-20), "200000.00", "200000.00"),
        instalment("收款日期", "收款金额", demoNumber("WF", 6), day(-25), "30000.00", "0.00"),
        instalment("收款日期", "收款金额", demoNumber("WF", 6), day(5), "30000.00", "30000.00"),
    };
    // The green-keeping purchase is paid by its performance nodes; the office
    // building's service fee is received in four instalments.
    const QDate jinxiuStart = day(15);
    const std::vector<Columns> nodes = {
        {{"合同编号", demoNumber("CG", 4)}, {"阶段", "进场养护"}, {"要求", "完成苗木普查，提交养护方案"}, {"时间节点", greenStart.addMonths(3)},
         {"完成情况", "按方案完成普查"}, {"检查人", "刘洋"}, {"检查日期", greenStart.addMonths(3).addDays(2)}},
        {{"合同编号", demoNumber("CG", 4)}, {"阶段", "中期检查"}, {"要求", "草坪覆盖率不低于95%"}, {"时间节点", greenStart.addMonths(6)}},
        {{"合同编号", demoNumber("CG", 4)}, {"阶段", "年终验收"}, {"要求", none}, {"时间节点", greenEnd}},
    };
    std::vector<Columns> quarterly;
    for (int q = 0; q < 4; ++q) {
        Columns row = instalment("收款日期", "收款金额", demoNumber("WF", 3), jinxiuStart.addMonths(6 * q), "240000.00", "240000.00");
        row.push_back({"收款条件", q == 0 ? QVariant(QStringLiteral("合同生效后十日内")) : QVariant(QStringLiteral("上期服务考核合格"))});
        quarterly.push_back(row);
    }
    for (const Columns& row : nodes)
        if (!insertRow(db, "合同履行计划表", row, error)) return false;
    for (const Columns& row : quarterly)
        if (!insertRow(db, "合同收款计划表", row, error)) return false;
    for (const Columns& row : payments)
        if (!insertRow(db, "合同付款计划表", row, error)) return false;
    // The green-keeping purchase's first instalment (the first row above) is paid.
    // It was paid by an approved reimbursement form that the cashier confirmed.
    const QDate paidOn = greenStart.addMonths(3);
    const QString formNumber = QString::number(paidOn.year()) + QStringLiteral("-003-000001");
    if (!insertRow(db, "合同付款记录",
                   {{"合同付款计划ID", 1}, {"付款日期", paidOn}, {"付款金额", "37500.00"}, {"科目代号", "5502"},
                    {"凭证编号", formNumber}, {"支付确认单编号", "ZF-0001"}, {"作废", 0}},
                   error))
        return false;
    if (!insertRow(db, "报销单表",
                   {{"报销单编号", formNumber}, {"流水号", 1}, {"部门类别编号", "02"}, {"部门代号", "003"},
                    {"报销费用类别", "管理费用"}, {"报销类型", "预算"}, {"报销日期", paidOn}, {"付款方式", "银行-网上银行"},
                    {"对方单位名称", "青禾园林绿化工程有限公司"}, {"对方帐号", "6228480011223344"}, {"对方银行", "农业银行青禾支行"},
                    {"报销单类型", "合同付款"}, {"制单人", "刘洋"}, {"报销人", "刘洋"}, {"报批日期", paidOn},
                    {"审批通过", 1}, {"审批日期", paidOn.addDays(2)}, {"出纳退回", 0}, {"CzyDH", "1002"}},
                   error))
        return false;
    if (!insertRow(db, "报销单明细",
                   {{"报销单ID", 1}, {"科目代号", "5502"}, {"摘要", "绿化养护第一期"}, {"金额", "37500.00"}, {"CzyDH", "1002"}},
                   error))
        return false;
    if (!insertRow(db, "报销附件", {{"报销单明细ID", 1}, {"附件类型", "合同"}, {"附件数量", 1}, {"CzyDH", "1002"}}, error))
        return false;
    if (!insertRow(db, "报销单审批",
                   {{"报销单ID", 1}, {"部门代号", "002"}, {"岗位代号", "G002"}, {"审批环节序号", 1}, {"同意", 1},
                    {"审批意见", "同意支付"}, {"审批日期", paidOn.addDays(1)}, {"审批人", "李娜"}},
                   error))
        return false;
    if (!insertRow(db, "报销单审批",
                   {{"报销单ID", 1}, {"部门代号", "001"}, {"岗位代号", "G001"}, {"审批环节序号", 2}, {"同意", 1},
                    {"审批日期", paidOn.addDays(2)}},
                   error))
        return false;
    if (!insertRow(db, "报销支付确认单", {{"报销支付单编号", "ZF-0001"}, {"支付日期", paidOn.addDays(3)}}, error))
        return false;
    for (const Columns& row : receipts)
        if (!insertRow(db, "合同收款计划表", row, error)) return false;
    // The sunny flats' first instalment, settled above, has its receipt, so
    // what the windows sum from the receipts agrees with its balance.
    const auto settled = selectRowsQuiet(db, QStringLiteral("SELECT ID FROM 合同收款计划表 WHERE 合同编号 = ? AND 余额 = 0"),
                                         {demoNumber("WF", 6)});
    if (!settled) {
        *error = settled.error();
        return false;
    }
    for (const Row& r : *settled)
        if (!insertRow(db, "合同收款记录",
                       {{"合同收款计划ID", r.value(0)}, {"收款日期", day(-25)}, {"科目代号", "510101"}, {"收款金额", "30000.00"}},
                       error))
            return false;
    for (const auto& [book, first, count] : {std::tuple{"FP2026001", 100001, 20}, std::tuple{"FP2026002", 200001, 10},
                                             std::tuple{"ZG2026001", 300001, 20}})
        for (const Columns& row : freeBills(book, first, count))
            if (!insertRow(db, "票据", row, error)) return false;
    auto layouts = selectRowsQuiet(db, QStringLiteral("SELECT ID, 格式名称 FROM 票据自定义格式 ORDER BY ID"));
    if (!layouts) {
        *error = layouts.error();
        return false;
    }
    for (const Row& l : *layouts) {
        const QByteArray title = l.text(1).toUtf8();
        for (const auto& [table, rows] : billLayoutElements(l.value(0).toLongLong(), title.constData()))
            for (const Columns& row : rows)
                if (!insertRow(db, table, row, error)) return false;
    }

    if (!tx.commit()) {
        *error = tx.error();
        return false;
    }
    return true;
}

}  // namespace corvane::provision
