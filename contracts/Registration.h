#pragma once
// Hands the contract list to the main window's menu, and the record window
// to the list's 新增 and 修改/查看.

namespace corvane::contract {

void registerContractWindows();

}  // namespace corvane::contract
