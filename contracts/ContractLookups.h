#pragma once
// The reference data the contract windows offer for choice: contract types,
// suppliers, departments and the company-wide right. Read-only.

#include <QString>
#include <vector>

#include "db/Sql.h"

namespace corvane::contract {

// True when the post holds the company-wide right of the contract windows
// (a 专项审核权限表 row of type "Corvane" for its department and post).
DbResult<bool> hasCompanyScope(const QString& department, const QString& post);

struct ContractType {
    QString code;      // 合同类型编号
    QString name;      // 合同类型
    QString category;  // 合同类别; "" when empty
};
// Every type, by code.
DbResult<std::vector<ContractType>> allContractTypes();
// The types a post may register: every shared type (公用), or all of them
// with the company-wide right; then, without that right, the types set up
// for the department (合同使用部门设置) that are not shared.
DbResult<std::vector<ContractType>> contractTypesFor(bool companyScope, const QString& department);
// 合同类型.字 of the type with this name: the first row's, "" when there is
// none or it is empty.
DbResult<QString> typePrefix(const QString& typeName);

struct Supplier {
    QString code;  // 供应商编号
    QString name;  // 供应商名称
    bool qualified = false;
};
// Suppliers still in business, by code or by name.
DbResult<std::vector<Supplier>> activeSuppliers(bool byName);
// Suppliers still in business that serve the department, by code.
DbResult<std::vector<Supplier>> suppliersOfDepartment(const QString& department);

struct SupplierBank {
    QString bank, account, taxNumber;  // all "" when the supplier has no row
};
DbResult<SupplierBank> supplierBank(const QString& supplierCode);

struct Department {
    QString code, name;
    QString superior;  // the superior in force, "" for a top department
};
// Departments in force, by code, each with its superior in force: the link
// with the latest 起始日期; of two on the same date the one entered first.
DbResult<std::vector<Department>> departmentsInForce();

// The managed projects a branch or region oversees: departments of category
// "管理项目" that own a managed office (设置管理处 with gyd_dh set) and whose
// current superior link (终止日期 empty) names `ownDepartment` or no superior,
// `ownDepartment` itself excepted; by code, each once (its first row). The
// department's own 终止日期 is not looked at. `superior` is left empty.
DbResult<std::vector<Department>> managedProjectDepartments(const QString& ownDepartment);

}  // namespace corvane::contract
