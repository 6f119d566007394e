#include "db/Schema.h"

#include <QStringBuilder>

namespace corvane::schema {

Table& Table::add(const QString& column, ColumnType type, int length)
{
    m_columns.push_back({column, type, length, type == ColumnType::Identity});
    return *this;
}

Table& Table::notNull()
{
    if (!m_columns.empty()) m_columns.back().notNull = true;
    return *this;
}

Table& Table::key(const QStringList& columns)
{
    m_key = columns;
    return *this;
}

Table& Table::unique(const QStringList& columns)
{
    m_unique.push_back(columns);
    return *this;
}

Table& Table::index(const QString& name, const QStringList& columns)
{
    m_indexes.push_back({name, columns});
    return *this;
}

// The three engines spell a plain index alike.
QStringList Table::indexStatements(Dialect) const
{
    QStringList out;
    for (const Index& i : m_indexes)
        out << QStringLiteral("CREATE INDEX ") + i.name + QStringLiteral(" ON ") + m_name + QStringLiteral(" (") +
                   i.columns.join(QStringLiteral(", ")) + QLatin1Char(')');
    return out;
}

const Column* Table::column(const QString& name) const
{
    for (const Column& c : m_columns)
        if (c.name == name) return &c;
    return nullptr;
}

QString Table::createStatement(Dialect d) const
{
    QStringList parts;
    for (const Column& c : m_columns) {
        QString line = c.name + QLatin1Char(' ') + dialect::ddlType(d, c.type, c.length);
        if (c.notNull && c.type != ColumnType::Identity) line += QStringLiteral(" NOT NULL");
        parts << line;
    }
    if (!m_key.isEmpty()) parts << QStringLiteral("PRIMARY KEY (") + m_key.join(QStringLiteral(", ")) + QLatin1Char(')');
    for (const QStringList& u : m_unique) parts << QStringLiteral("UNIQUE (") + u.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringLiteral("CREATE TABLE ") + m_name + QStringLiteral(" (\n    ") + parts.join(QStringLiteral(",\n    ")) +
           QStringLiteral("\n)");
}

namespace {

std::vector<Table> describeTables()
{
    std::vector<Table> t;

    // ---- Organisation and login

    t.push_back(Table("职能部门类别")
                    .text("部门类别代号", 20).notNull()
                    .text("部门类别名称", 50)
                    .key({"部门类别代号"}));

    // A department is active while 终止日期 is empty.
    t.push_back(Table("职能部门new")
                    .text("职能部门编号", 20).notNull()
                    .text("职能部门名称", 100)
                    .text("职能部门类别代号", 20)
                    .date("起始日期")
                    .date("终止日期")
                    .flag("发票领用")
                    .text("app部门类别", 20)  // "职能部门", "分公司区域", "管理项目"
                    .key({"职能部门编号"}));

    // The superior in force is the row with the latest 起始日期.
    t.push_back(Table("上级部门new")
                    .identity("ID")
                    .text("职能部门编号", 20).notNull()
                    .text("上级部门编号", 20)
                    .date("起始日期")
                    .date("终止日期")  // empty while the link is open
                    .unique({"职能部门编号", "起始日期"}));

    t.push_back(Table("岗位类别")
                    .text("岗位类别编号", 20).notNull()
                    .text("岗位类别名称", 50)
                    .key({"岗位类别编号"}));

    t.push_back(Table("岗位信息new")
                    .text("岗位代号", 20).notNull()
                    .text("岗位名称", 100)
                    .text("职能部门代号", 20)
                    .text("岗位类别代号", 20)
                    .text("工号", 20)
                    .flag("部门主管")
                    .date("起始日期")
                    .date("终止日期")
                    .text("终止原因", 200)
                    .key({"岗位代号"}));

    // Passwords are kept as plain text: the product family's other programs read them so.
    t.push_back(Table("员工档案")
                    .text("工号", 20).notNull()
                    .text("姓名", 50)
                    .text("英文名", 50)
                    .text("帐号密码", 50)
                    .date("离职日期")
                    .key({"工号"}));

    // An assignment is current while 离岗日期 is empty.
    t.push_back(Table("岗位员工new")
                    .identity("ID")
                    .text("员工代号", 20).notNull()
                    .text("岗位代号", 20).notNull()
                    .flag("主要岗位")
                    .date("入岗日期")
                    .date("离岗日期"));

    // A managed project's 管理处 (management office). 编号字 and 起始编号 number the
    // VAT interface files of the office; both stay NULL until set.
    t.push_back(Table("设置管理处")
                    .text("对应部门代号", 20)
                    .text("gyd_dh", 20)  // empty on a row whose office is not set up yet
                    .text("gyd_name", 100)
                    .integer("编号字")
                    .integer("起始编号"));

    // ---- Rights and settings

    t.push_back(Table("岗位权限设置")
                    .identity("ID")
                    .text("组代号", 20)
                    .text("岗位代号", 20)
                    .flag("授权"));

    t.push_back(Table("GroupPrivilege")
                    .identity("ID")
                    .text("GroupID", 20)
                    .text("FormName", 50)
                    .flag("Popedom"));

    t.push_back(Table("专项审核权限表")
                    .identity("ID")
                    .text("类型", 50)
                    .text("部门代号", 20)
                    .text("岗位代号", 20));

    t.push_back(Table("SystemSetup")
                    .text("Code", 50).notNull()
                    .longText("Value")
                    .key({"Code"}));

    t.push_back(Table("合同提醒设置")
                    .identity("ID")
                    .text("类型", 20)
                    .text("部门代号", 20)
                    .text("岗位代号", 20)
                    .integer("提前天数")
                    .flag("启用提醒"));

    // ---- Contract types and counterparties

    t.push_back(Table("合同类型")
                    .text("合同类型编号", 20).notNull()
                    .text("合同类型", 50)
                    .text("合同类别", 20)  // "收款合同" or "付款合同"
                    .text("字", 20)        // number prefix
                    .flag("公用")
                    .text("对应科目", 50)
                    .flag("单级流转")
                    .flag("部门主管审批")
                    .key({"合同类型编号"}));

    t.push_back(Table("合同使用部门设置")
                    .identity("ID")
                    .text("合同类型编号", 20).notNull()
                    .text("部门", 20).notNull()
                    .unique({"合同类型编号", "部门"}));

    t.push_back(Table("供方信息")
                    .text("供应商编号", 20).notNull()
                    .text("供应商名称", 200)
                    .flag("合格供方")
                    .date("结束日期")
                    .key({"供应商编号"}));

    t.push_back(Table("供方单位基本信息")
                    .text("供应商编号", 20).notNull()
                    .text("开户行", 100)
                    .text("帐号", 50)
                    .text("税号", 50)
                    .key({"供应商编号"}));

    t.push_back(Table("供方对应部门")
                    .identity("ID")
                    .text("供应商编号", 20).notNull()
                    .text("职能部门编号", 20).notNull());

    // ---- Contracts

    t.push_back(Table("合同信息")
                    .identity("id")
                    .text("合同编号", 50).notNull()
                    .integer("流水号")
                    .integer("年份")
                    .text("字", 10)
                    .text("合同名称", 200)
                    .text("合同类型", 20)
                    .text("对应部门", 20)
                    .text("对方单位", 200)
                    .text("对方开户行", 100)
                    .text("对方帐号", 50)
                    .text("对方税号", 50)
                    .flag("是否是合格供方")
                    .text("合格供方代码", 20)
                    .money("合同金额")
                    .date("合同起始日期")
                    .date("合同终止日期")
                    .date("合同签订日期")
                    .date("合同生效日期")
                    .integer("合同期限")
                    .longText("主要条款")
                    .text("签约人", 50)
                    .text("对方签约人", 50)
                    .text("合同状态", 20)
                    .dateTime("提交日期")
                    .text("行政审批编号", 50)
                    .dateTime("流转结束日期")
                    .flag("流转通过")
                    .date("作废日期")
                    .text("作废人", 20)
                    .date("合同中止日期")
                    .text("中止原因", 500)
                    .text("中止类别", 50)
                    .text("违约金处理方式", 100)
                    .money("违约金")
                    .date("违约金收付日期")
                    .flag("余款勾销")
                    .flag("合同续签")
                    .text("对应续约合同编号", 50)
                    .flag("补充")
                    .text("主合同编号", 50)
                    .flag("收付款计划合并")
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .unique({"合同编号"})
                    // The next serial number is MAX(流水号) + 1 on every numbered save.
                    .index("ix_合同信息_流水号", {"流水号"})
                    // Renewal numbers run per year; a renewal names the contract it renews.
                    .index("ix_合同信息_年份", {"年份", "流水号"})
                    .index("ix_合同信息_对应续约合同编号", {"对应续约合同编号"})
                    // The receipt and payment windows list the merged supplements' instalments.
                    .index("ix_合同信息_主合同编号", {"主合同编号"})
                    // The expiry reminder reads contracts in performance by end date; its
                    // counts read the index alone, its lists only their category's rows.
                    .index("ix_合同信息_合同状态", {"合同状态", "合同终止日期", "合同类型", "对应部门"})
                    // The start-up synchronisation looks for the few contracts still waiting.
                    .index("ix_合同信息_流转结束日期", {"流转结束日期", "行政审批编号"})
                    // The statistics select contracts by department.
                    .index("ix_合同信息_对应部门", {"对应部门"}));

    // Units covered by a contract; other programs of the family fill them.
    t.push_back(Table("合同单元信息")
                    .identity("ID")
                    .integer("合同ID").notNull());

    t.push_back(Table("合同信息附件")
                    .identity("ID")
                    .integer("合同ID").notNull()
                    .text("名称", 255)
                    .text("类别", 20)
                    .blob("附件")
                    // A contract's attachments: its window, its sign-off, and the
                    // synchronisation's check for a file it has already.
                    .index("ix_合同信息附件_合同id", {"合同ID"}));

    // ---- Approval route of a contract

    t.push_back(Table("合同实际流转路径设置")
                    .identity("ID")
                    .text("合同编号", 50).notNull()
                    .text("部门编号", 20)
                    .text("岗位编号", 20)
                    .flag("决策权")
                    .integer("环节序号")
                    .flag("单级流转"));

    t.push_back(Table("合同流转信息表")
                    .identity("ID")
                    .text("合同编号", 50).notNull()
                    .integer("环节序号")
                    .text("部门编号", 20)
                    .text("岗位编号", 20)
                    .flag("决策权")
                    .text("审批人", 50)
                    .longText("意见")
                    .flag("同意")
                    .dateTime("日期"));

    // The route template of a contract type.
    t.push_back(Table("合同类型流转路径设置")
                    .identity("ID")
                    .text("合同类型编号", 20).notNull()
                    .text("部门编号", 20)
                    .text("岗位编号", 20)
                    .flag("决策权")
                    .integer("环节序号")
                    .flag("单级流转"));

    // Sign-off documents of the administrative-document program, and their
    // deliveries with the replies that program records.
    t.push_back(Table("XZ文件记录")
                    .identity("UniqueID")
                    .text("文头", 20)
                    .integer("年")
                    .integer("月")
                    .integer("日")
                    .text("编号", 50)
                    .integer("流水号")
                    .text("文件类型", 50)
                    .flag("审批文件")
                    .flag("是否通知")
                    .flag("是否公告")
                    .integer("关联文件ID")
                    .text("文件标题", 200)
                    .text("模板类型", 20)
                    .blob("文件内容")
                    .text("部门", 20)
                    .text("岗位", 20)
                    .flag("是否回复")
                    .flag("是否发送")
                    .flag("是否作废")
                    .flag("是否结束")
                    .text("拟稿人", 20)
                    .date("拟稿日期")
                    .text("紧急程度", 20)
                    .date("到期日期")
                    .text("流转类型", 20)
                    .flag("允许修改")
                    .text("对应合同编号", 50)
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .dateTime("发送日期")
                    .dateTime("结束日期")
                    .flag("是否同意")
                    .unique({"编号"})
                    // The synchronisation joins finished documents to waiting contracts by number.
                    .index("ix_XZ文件记录_对应合同编号", {"对应合同编号"}));

    // A document's attachments: the contract's, sent with it, and those the
    // program adds during the approval.
    t.push_back(Table("XZ文件附件")
                    .identity("UniqueID")
                    .integer("行政文件ID").notNull()
                    .text("附件标题", 255)
                    .text("扩展名", 50)
                    .blob("附件内容")
                    .flag("模板附件")
                    .text("编辑人", 20)
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .index("ix_XZ文件附件_行政文件ID", {"行政文件ID"}));

    // A document's route, one row per step.
    t.push_back(Table("XZ文件流转路径")
                    .identity("ID")
                    .integer("文件ID").notNull()
                    .text("部门", 20)
                    .text("岗位", 20)
                    .integer("顺序")
                    .flag("是否主送"));

    // The program's urgency names; the lowest 序 is the default.
    t.push_back(Table("XZ紧急程度")
                    .text("紧急程度", 20)
                    .integer("序"));

    t.push_back(Table("XZ文件流转情况")
                    .identity("UniqueID")
                    .integer("文件ID").notNull()
                    .text("部门", 20)
                    .text("岗位", 20)
                    .integer("顺序")
                    .longText("回复内容")
                    .dateTime("回复日期")
                    .flag("是否主送")
                    .flag("是否查阅")
                    .integer("附加顺序")
                    .flag("盖章环节")
                    .flag("公开")
                    .text("拒绝原因", 500)
                    .flag("拒绝盖章")
                    .flag("是否同意")
                    .text("查阅人", 20)
                    .text("备注", 500)
                    .text("CZYDH", 20)
                    .flag("统一回复")
                    .date("送达时间")
                    .date("updatedate"));

    // ---- Instalments, performance nodes and their settlement

    // A contract's instalments, records and nodes are read by its number
    // (the read-only view, the due filters of the list), a record by its instalment.
    t.push_back(Table("合同收款计划表")
                    .identity("ID")
                    .text("合同编号", 50).notNull()
                    .date("收款日期")
                    .money("收款金额")
                    .money("余额")
                    .longText("收款条件")
                    .index("ix_合同收款计划表_合同编号", {"合同编号"})
                    // The instalment statistics select a year of instalments by
                    // date and read these columns from the index alone.
                    .index("ix_合同收款计划表_收款日期", {"收款日期", "合同编号", "收款金额", "余额"}));

    t.push_back(Table("合同付款计划表")
                    .identity("ID")
                    .text("合同编号", 50).notNull()
                    .date("付款日期")
                    .money("付款金额")
                    .money("余额")
                    .longText("付款条件")
                    .index("ix_合同付款计划表_合同编号", {"合同编号"})
                    // The instalment statistics select a year of instalments by
                    // date and read these columns from the index alone.
                    .index("ix_合同付款计划表_付款日期", {"付款日期", "合同编号", "付款金额", "余额"}));

    // One amount received against one instalment, with the bill that covers it.
    t.push_back(Table("合同收款记录")
                    .identity("ID")
                    .integer("合同收款计划ID")
                    .dateTime("收款日期")
                    .text("科目代号", 50)
                    .money("收款金额")
                    .text("票据编号", 50)
                    .text("入库单编号", 50)
                    // The settled sum of an instalment from the index alone.
                    .index("ix_合同收款记录_合同收款计划id", {"合同收款计划ID", "收款金额"}));

    t.push_back(Table("合同付款记录")
                    .identity("ID")
                    .integer("合同付款计划ID")
                    .text("科目代号", 50)
                    .money("付款金额")
                    .date("付款日期")
                    .text("凭证编号", 50)        // 报销单编号 of the form that paid it
                    .text("支付确认单编号", 50)  // filled by the cashier's program
                    .text("备注", 500)
                    // A void payment (NULL counts as not void) no longer holds its instalment.
                    .flag("作废")
                    // The paid sum of an instalment, void ones left out, from the index alone.
                    .index("ix_合同付款记录_合同付款计划id", {"合同付款计划ID", "作废", "付款金额"})
                    .index("ix_合同付款记录_凭证编号", {"凭证编号"}));

    // Payment confirmations of the cashier's program; read by the payment history.
    t.push_back(Table("报销支付确认单")
                    .identity("ID")
                    .text("报销支付单编号", 50).notNull()
                    .date("支付日期")
                    .unique({"报销支付单编号"}));

    t.push_back(Table("合同履行计划表")
                    .identity("ID")
                    .text("合同编号", 50).notNull()
                    .text("阶段", 100)
                    .longText("要求")
                    .date("时间节点")
                    .longText("完成情况")
                    .text("检查人", 50)
                    .date("检查日期")
                    .index("ix_合同履行计划表_合同编号", {"合同编号"}));

    // ---- Reimbursement forms (the payment window writes those of type
    // "合同付款"; other programs approve, pay, return and void them)

    t.push_back(Table("报销单表")
                    .identity("报销单ID")
                    .text("报销单编号", 40).notNull()
                    .integer("流水号")
                    .text("部门类别编号", 20)
                    .text("部门代号", 20)
                    .text("报销费用类别", 50)
                    .text("报销类型", 20)
                    .date("报销日期")
                    .text("付款方式", 50)
                    .text("发卡银行", 100)
                    .text("银行卡种类", 50)
                    .text("银行卡号", 50)
                    .text("对方单位名称", 200)
                    .text("对方帐号", 50)
                    .text("对方银行", 100)
                    .text("报销单类型", 20)
                    .text("制单人", 50)
                    .text("报销人", 50)
                    .text("备注", 500)
                    .flag("一事一报")
                    .text("审批路径编号", 50)
                    .date("报批日期")  // NULL until the form is submitted
                    .integer("审批环节序号")
                    .flag("审批通过")
                    .date("审批日期")
                    .date("作废日期")
                    .flag("出纳退回")
                    .date("出纳退回日期")
                    .text("出纳退回原因", 500)
                    .text("出纳", 50)
                    .date("财务支付确认日期")
                    .integer("凭证流水号")
                    .text("凭证编号", 50)
                    .date("凭证打印日期")
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .unique({"报销单编号"})
                    // The next serial is MAX(流水号) + 1; the budget sums a
                    // department's forms by submission date.
                    .index("ix_报销单表_流水号", {"流水号"})
                    .index("ix_报销单表_部门代号_报批日期", {"部门代号", "报批日期"}));

    t.push_back(Table("报销单明细")
                    .identity("ID")
                    .integer("报销单ID").notNull()
                    .text("科目代号", 50)
                    .text("摘要", 500)
                    .money("金额")
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .index("ix_报销单明细_报销单id", {"报销单ID"}));

    t.push_back(Table("报销附件")
                    .identity("ID")
                    .integer("报销单明细ID").notNull()
                    .text("附件类型", 20)
                    .text("项目", 300)
                    .money("金额")
                    .integer("附件数量")
                    .text("票据编号", 100)
                    .text("合同编号", 50)
                    .text("出票单位", 200)
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .index("ix_报销附件_报销单明细id", {"报销单明细ID"}));

    t.push_back(Table("报销附件图片")
                    .identity("ID")
                    .integer("附件ID").notNull()
                    .text("后缀", 50)
                    .blob("J图片")
                    .blob("J图标")
                    .index("ix_报销附件图片_附件id", {"附件ID"}));

    // Approval rules of reimbursement forms and their steps.
    t.push_back(Table("报销审批路径设置")
                    .identity("ID")
                    .text("审批路径代号", 20)
                    .text("审批路径名称", 100)
                    .text("报销部门类别代号", 20)
                    .text("报销类别", 50)
                    .money("金额下限")
                    .money("金额上限")
                    .flag("本部门主管审批")
                    .text("本部门审批岗位", 20));

    t.push_back(Table("报销审批路径")
                    .identity("ID")
                    .integer("报销审批ID").notNull()
                    .integer("审批环节序号")
                    .text("部门代号", 20)
                    .text("岗位代号", 20)
                    .index("ix_报销审批路径_报销审批id", {"报销审批ID"}));

    t.push_back(Table("报销单审批路径")
                    .identity("ID")
                    .integer("报销单ID").notNull()
                    .integer("序号")
                    .text("部门代号", 20)
                    .text("岗位代号", 20)
                    .index("ix_报销单审批路径_报销单id", {"报销单ID"}));

    t.push_back(Table("报销单审批")
                    .identity("ID")
                    .integer("报销单ID").notNull()
                    .text("部门代号", 20)
                    .text("岗位代号", 20)
                    .integer("审批环节序号")
                    .flag("同意")
                    .longText("审批意见")
                    .date("审批日期")
                    .text("审批人", 50)
                    .index("ix_报销单审批_报销单id", {"报销单ID"}));

    // Bill subjects mapped to accounting subjects; kept by the conversion window.
    t.push_back(Table("票据科目转换")
                    .text("发票科目代号", 50).notNull()
                    .text("发票科目名称", 100)
                    .text("会计科目代号", 50)
                    .text("会计科目名称", 100)
                    .text("备注", 500)
                    .text("CzyDH", 20)
                    .dateTime("updatedate")
                    .unique({"发票科目代号"}));

    // ---- Budgets (kept by the budgeting program; read here)

    t.push_back(Table("预算计划")
                    .text("计划编号", 30).notNull()
                    .text("部门代号", 20)
                    .text("年度", 10)
                    .flag("审核通过")
                    .date("审核完成日期")
                    .key({"计划编号"})
                    .index("ix_预算计划_部门代号_年度", {"部门代号", "年度"}));

    t.push_back(Table("预算详细")
                    .identity("ID")
                    .text("计划编号", 30).notNull()
                    .text("科目代码", 50)
                    .money("一月").money("二月").money("三月").money("四月").money("五月").money("六月")
                    .money("七月").money("八月").money("九月").money("十月").money("十一月").money("十二月")
                    .text("数据来源", 20)  // "收入预算", "支出预算" or "代收代付"
                    .text("公式", 500)
                    .text("数据代号", 50)
                    .index("ix_预算详细_计划编号_科目代码", {"计划编号", "科目代码"}));

    t.push_back(Table("预算调整审批单")
                    .identity("ID")
                    .text("预算计划编号", 30)
                    .flag("是否通过")
                    .index("ix_预算调整审批单_预算计划编号", {"预算计划编号"}));

    t.push_back(Table("预算调整详细")
                    .identity("ID")
                    .integer("预算调整ID").notNull()
                    .text("科目代码", 50)
                    .text("月份", 10)  // "一月" … "十二月"
                    .money("拟调整预算额")
                    .money("原预算金额")
                    .index("ix_预算调整详细_预算调整id", {"预算调整ID"}));

    t.push_back(Table("收入凭证")
                    .identity("ID")
                    .text("收款部门编号", 20)
                    .date("凭证日期")
                    .date("交审日期")
                    .date("作废日期")
                    .date("审批日期")
                    .flag("审批同意")
                    .index("ix_收入凭证_收款部门编号_凭证日期", {"收款部门编号", "凭证日期"}));

    t.push_back(Table("收入凭证明细")
                    .identity("ID")
                    .integer("凭证ID").notNull()
                    .text("科目代号", 50)
                    .text("科目名称", 100)
                    .money("贷方金额")
                    .money("借方金额")
                    .index("ix_收入凭证明细_凭证id_科目代号", {"凭证ID", "科目代号"}));

    // ---- Accounting subjects, expense categories and budget schemes

    t.push_back(Table("财务科目")
                    .text("科目代号", 50).notNull()
                    .text("科目名称", 100)
                    .text("上级科目代号", 50)  // NULL for a top-level subject
                    .flag("预算")
                    .flag("非预算")
                    .flag("冲成本")
                    .flag("向公司借款")
                    .flag("其他")
                    .flag("支出项")
                    .text("科目属性", 20)
                    .text("费用类别", 50)
                    .unique({"科目代号"}));

    t.push_back(Table("科目类别")
                    .identity("id")
                    .text("类别", 50));

    t.push_back(Table("科目类别对应科目")
                    .identity("ID")
                    .text("类别", 50)
                    .text("科目代号", 50)
                    .index("ix_科目类别对应科目_科目代号", {"科目代号"}));

    t.push_back(Table("预算体系索引")
                    .identity("ID")
                    .text("部门类别代号", 20)
                    .date("起始日期")
                    .date("终止日期"));  // NULL: open-ended

    t.push_back(Table("预算体系明细表")
                    .identity("ID")
                    .integer("体系ID").notNull()
                    .text("明细科目代号", 50)
                    .index("ix_预算体系明细表_体系id", {"体系ID"}));

    // ---- Bank cards of staff and accounts of payees

    t.push_back(Table("银行卡设置")
                    .identity("ID")
                    .text("员工编号", 20)
                    .text("银行", 100)
                    .text("卡名", 50)
                    .text("卡号", 50));

    t.push_back(Table("银行帐号")
                    .identity("ID")
                    .text("对方单位", 200)
                    .text("开户银行", 100)
                    .text("银行帐号", 50));
    // ---- Receipts and bills

    // Settings rows by name: '电子发票接口URL', '扫码支付接口URL'.
    t.push_back(Table("系统设置表")
                    .text("名称", 50).notNull()
                    .longText("值")
                    .key({"名称"}));

    t.push_back(Table("收款方式列表")
                    .identity("id")
                    .text("收款方式", 50));

    // The company's fee items; an item is in use while 终止日期 is empty.
    t.push_back(Table("SETUPSFXM")
                    .text("DH", 20).notNull()
                    .text("XM", 100)
                    .text("对应科目", 50)
                    .text("收费类别", 50)
                    .date("终止日期")
                    .text("显示名称", 100)
                    .text("应税科目", 50)  // the item's default taxable subject
                    .key({"DH"}));

    // The tax settings of a fee item for one 管理处; 税率 is a percentage (6 for 6 %).
    t.push_back(Table("税控盘收费项目设置")
                    .identity("ID")
                    .text("管理处", 20).notNull()
                    .text("DH", 20).notNull()
                    .text("SKDH", 50)
                    .text("SKXM", 100)
                    .rate("税率")
                    .text("应税科目", 50)
                    .unique({"管理处", "DH"}));

    t.push_back(Table("票据类型")
                    .identity("ID")
                    .text("票据类型代号", 20).notNull()
                    .text("票据类型", 50)
                    .flag("无票据编号")
                    .flag("定额")
                    .integer("行数"));

    // A department's own bill layout. With 票据管理 set its bills come from
    // lent books; otherwise they are numbered under 编号字.
    t.push_back(Table("票据自定义格式")
                    .identity("ID")
                    .text("部门编号", 20)
                    .text("格式名称", 50)
                    .single("宽")
                    .single("高")
                    .text("编号字", 20)
                    .flag("票据管理"));

    // The ruled lines, fixed texts and field boxes of a layout, in
    // millimetres from the page's top left corner.
    t.push_back(Table("票据自定义格式线")
                    .identity("ID")
                    .integer("格式ID")
                    .single("X1")
                    .single("Y1")
                    .single("X2")
                    .single("Y2")
                    .single("W"));

    t.push_back(Table("票据自定义格式文字")
                    .identity("ID")
                    .integer("格式ID")
                    .text("内容", 200)
                    .single("L")
                    .single("T")
                    .text("字体", 50)
                    .single("字号")
                    .flag("粗体"));

    t.push_back(Table("票据自定义格式内容")
                    .identity("ID")
                    .integer("格式ID")
                    .text("内容", 50)
                    .single("L")
                    .single("T")
                    .single("W")
                    .integer("行")
                    .text("字体", 50)
                    .single("字号")
                    .flag("粗体"));

    // A bill book in stock; its bills are rows of 票据.
    t.push_back(Table("票据入库单")
                    .text("入库单编号", 50).notNull()
                    .text("票据类型编号", 20)
                    .dateTime("入库时间")
                    .key({"入库单编号"}));

    t.push_back(Table("票据领用记录")
                    .text("票据领用记录编号", 50).notNull()
                    .text("领用部门代号", 20)
                    .key({"票据领用记录编号"}));

    // A book in a lending; usable while neither written off nor returned.
    t.push_back(Table("票据领用清单")
                    .identity("ID")
                    .text("领用记录编号", 50).notNull()
                    .text("入库单编号", 50).notNull()
                    .date("核销日期")
                    .date("归还日期"));

    // 共用部门编号 may use the books lent to 领用部门编号.
    t.push_back(Table("票据共用设置")
                    .identity("ID")
                    .text("共用部门编号", 20)
                    .text("领用部门编号", 20));

    // One bill number of a book; free while 开票日期 and 作废日期 are empty.
    t.push_back(Table("票据")
                    .identity("ID")
                    .text("入库单编号", 50).notNull()
                    .text("票据编号", 50).notNull()
                    .integer("流水号")
                    .text("开票部门编号", 20)
                    .dateTime("开票日期")
                    .text("付款人", 200)
                    .money("金额")
                    .money("税额")
                    .flag("预开")
                    .dateTime("收款日期")
                    .text("收款人", 50)
                    .text("收款方式", 50)
                    .text("开票人", 50)
                    .text("管理处", 20)
                    .text("合同编号", 50)
                    .text("税号", 50)
                    .text("地址", 200)
                    .text("账号", 200)
                    .text("备注", 500)
                    .flag("无需打印票据")
                    .text("手机号码", 50)
                    .text("邮箱地址", 100)
                    .text("PDFURL", 500)
                    .text("SPURL", 500)
                    .integer("DJ_ID")
                    .integer("ZH_ID")
                    .integer("CW_ID")
                    .dateTime("作废日期")
                    .text("作废原因", 100)
                    .text("作废人", 50)
                    .dateTime("核销日期")
                    .text("核销人", 50)
                    .text("实际票据编号", 50)
                    .text("学号", 50)
                    .text("收款凭证编号", 50)
                    .text("被换票入库单编号", 50)
                    .dateTime("退票日期")
                    .text("被换票票据编号", 50)
                    .text("退票凭证编号", 50)
                    .dateTime("内换日期")
                    .text("内换票据编号", 50)
                    .text("内换凭证编号", 50)
                    .text("对应调换票据入库单", 50)
                    .text("对应调换票据编号", 50)
                    .dateTime("退款日期")
                    .text("退款原因", 200)
                    .unique({"入库单编号", "票据编号"}));

    // One line of a bill; 税率 is a fraction (0.06 for 6 %).
    t.push_back(Table("票据开票数据")
                    .identity("ID")
                    .text("票据编号", 50)
                    .text("入库单编号", 50)
                    .integer("票据ID")
                    .text("项目", 100)
                    .text("摘要", 200)
                    .text("单位", 20)
                    .price("数量")
                    .price("单价")
                    .money("金额")
                    .rate("税率")
                    .money("税额")
                    .text("科目代号", 50)
                    .text("收费项目代号", 20)
                    .text("应税科目", 50)
                    .price("不含税单价")
                    .money("不含税金额")
                    .flag("非日常")
                    .text("品名", 100)
                    .text("规格", 100)
                    .index("ix_票据开票数据_票据id", {"票据ID"}));

    return t;
}

}  // namespace

const std::vector<Table>& tables()
{
    static const std::vector<Table> all = describeTables();
    return all;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables())
        if (t.name() == name) return &t;
    return nullptr;
}

int textLength(const QString& tableName, const QString& columnName)
{
    const Table* t = table(tableName);
    const Column* c = t ? t->column(columnName) : nullptr;
    return c && c->type == ColumnType::Text ? c->length : 0;
}

QStringList createStatements(Dialect d)
{
    QStringList out;
    for (const Table& t : tables()) out << t.createStatement(d);
    for (const Table& t : tables()) out << t.indexStatements(d);
    return out;
}

bool createSchema(const QSqlDatabase& db, DbError* error)
{
    Transaction tx(db);
    if (!tx.isActive()) {
        if (error) *error = tx.error();
        return false;
    }
    for (const QString& sql : createStatements(dialectOf(db))) {
        Statement st(db, sql);
        if (!st.exec()) {
            if (error) *error = st.error();
            return false;
        }
    }
    if (!tx.commit()) {
        if (error) *error = tx.error();
        return false;
    }
    return true;
}

bool schemaExists(const QSqlDatabase& db)
{
    return db.isOpen() && db.tables().contains(tables().front().name(), Qt::CaseInsensitive);
}

}  // namespace corvane::schema
