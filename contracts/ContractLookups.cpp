#include "contracts/ContractLookups.h"

#include <QHash>
#include <QSet>

namespace corvane::contract {

namespace {

std::vector<ContractType> typesOf(const Rows& rows)
{
    std::vector<ContractType> out;
    out.reserve(rows.size());
    for (const Row& r : rows) out.push_back({r.text(0), r.text(1), r.text(2)});
    return out;
}

std::vector<Supplier> suppliersOf(const Rows& rows)
{
    std::vector<Supplier> out;
    out.reserve(rows.size());
    for (const Row& r : rows) out.push_back({r.text(0), r.text(1), !r.value(2).isNull() && r.value(2).toInt() != 0});
    return out;
}

}  // namespace

DbResult<bool> hasCompanyScope(const QString& department, const QString& post)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 类型 FROM 专项审核权限表 WHERE 类型 = ? AND 部门代号 = ? AND 岗位代号 = ?"),
        {QStringLiteral("Corvane"), department, post});
    if (!rows) return rows.error();
    return !rows->empty();
}

DbResult<std::vector<ContractType>> allContractTypes()
{
    const auto rows =
        selectRowsQuiet(QStringLiteral("SELECT 合同类型编号, 合同类型, 合同类别 FROM 合同类型 ORDER BY 合同类型编号"));
    if (!rows) return rows.error();
    return typesOf(*rows);
}

DbResult<std::vector<ContractType>> contractTypesFor(bool companyScope, const QString& department)
{
    const auto all = selectRowsQuiet(
        QStringLiteral("SELECT 合同类型编号, 合同类型, 合同类别, 公用 FROM 合同类型 ORDER BY 合同类型编号"));
    if (!all) return all.error();
    std::vector<ContractType> out;
    for (const Row& r : *all) {
        const bool shared = !r.isNull(QStringLiteral("公用")) && r.value(QStringLiteral("公用")).toInt() != 0;
        if (companyScope || shared) out.push_back({r.text(0), r.text(1), r.text(2)});
    }
    if (companyScope) return out;
    const auto own = selectRowsQuiet(
        QStringLiteral("SELECT 合同类型.合同类型编号, 合同类型.合同类型, 合同类型.合同类别 FROM 合同使用部门设置 "
                       "INNER JOIN 合同类型 ON 合同使用部门设置.合同类型编号 = 合同类型.合同类型编号 "
                       "WHERE 合同使用部门设置.部门 = ? AND 合同类型.公用 = 0 "
                       "GROUP BY 合同类型.合同类型编号, 合同类型.合同类型, 合同类型.合同类别 ORDER BY 合同类型.合同类型编号"),
        {department});
    if (!own) return own.error();
    for (ContractType& t : typesOf(*own)) out.push_back(std::move(t));
    return out;
}

DbResult<QString> typePrefix(const QString& typeName)
{
    const auto row = selectFirstQuiet(QStringLiteral("SELECT 字 FROM 合同类型 WHERE 合同类型 = ?"), {typeName});
    if (!row) return row.error();
    return row->count() ? row->text(0) : QString();
}

DbResult<std::vector<Supplier>> activeSuppliers(bool byName)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 供方信息.供应商编号, 供方信息.供应商名称, 合格供方 FROM 供方信息 WHERE 供方信息.结束日期 IS NULL "
                       "ORDER BY ") +
        (byName ? QStringLiteral("供应商名称") : QStringLiteral("供应商编号")));
    if (!rows) return rows.error();
    return suppliersOf(*rows);
}

DbResult<std::vector<Supplier>> suppliersOfDepartment(const QString& department)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 供方信息.供应商编号, 供方信息.供应商名称, 供方信息.合格供方 FROM 供方信息 INNER JOIN 供方对应部门 "
                       "ON 供方信息.供应商编号 = 供方对应部门.供应商编号 "
                       "WHERE 供方对应部门.职能部门编号 = ? AND 供方信息.结束日期 IS NULL ORDER BY 供方信息.供应商编号"),
        {department});
    if (!rows) return rows.error();
    return suppliersOf(*rows);
}

DbResult<SupplierBank> supplierBank(const QString& supplierCode)
{
    const auto row = selectFirstQuiet(QStringLiteral("SELECT 开户行, 帐号, 税号 FROM 供方单位基本信息 WHERE 供应商编号 = ?"),
                                      {supplierCode});
    if (!row) return row.error();
    if (row->count() == 0) return SupplierBank();
    return SupplierBank{row->text(0), row->text(1), row->text(2)};
}

DbResult<std::vector<Department>> departmentsInForce()
{
    const auto departments = selectRowsQuiet(QStringLiteral(
        "SELECT 职能部门编号, 职能部门名称 FROM 职能部门new WHERE 终止日期 IS NULL ORDER BY 职能部门编号"));
    if (!departments) return departments.error();
    const auto links = selectRowsQuiet(QStringLiteral(
        "SELECT 职能部门编号, 上级部门编号 FROM 上级部门new WHERE 起始日期 IS NOT NULL "
        "ORDER BY 职能部门编号, 起始日期 DESC, ID"));
    if (!links) return links.error();
    QHash<QString, QString> superior;
    for (const Row& r : *links) {
        const QString code = r.text(0);
        if (!superior.contains(code)) superior.insert(code, r.text(1));
    }
    std::vector<Department> out;
    out.reserve(departments->size());
    for (const Row& r : *departments) out.push_back({r.text(0), r.text(1), superior.value(r.text(0))});
    return out;
}

DbResult<std::vector<Department>> managedProjectDepartments(const QString& ownDepartment)
{
    const auto rows = selectRowsQuiet(
        QStringLiteral("SELECT 职能部门new.职能部门编号, 职能部门new.职能部门名称 FROM 上级部门new "
                       "INNER JOIN 职能部门new ON 上级部门new.职能部门编号 = 职能部门new.职能部门编号 "
                       "INNER JOIN 设置管理处 ON 设置管理处.对应部门代号 = 上级部门new.职能部门编号 "
                       "WHERE (上级部门new.上级部门编号 = ? OR 上级部门new.上级部门编号 IS NULL) "
                       "AND 上级部门new.终止日期 IS NULL AND 职能部门new.职能部门编号 <> ? "
                       "AND 设置管理处.gyd_dh IS NOT NULL AND 职能部门new.app部门类别 = ? "
                       "ORDER BY 职能部门new.职能部门编号"),
        {ownDepartment, ownDepartment, QStringLiteral("管理项目")});
    if (!rows) return rows.error();
    std::vector<Department> out;
    QSet<QString> seen;
    for (const Row& r : *rows) {
        const QString code = r.text(0).trimmed();
        // Two offices, or two current links, give a project more than one row.
        if (seen.contains(code)) continue;
        seen.insert(code);
        out.push_back({code, r.text(1).trimmed(), QString()});
    }
    return out;
}

}  // namespace corvane::contract
